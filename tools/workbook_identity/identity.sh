#!/bin/bash
# Builds edit_outputs.cpp against the workbook engine of an earlier revision
# and against this tree's, runs both on the real-workbook corpus (good and
# damaged files), the fuzz regressions and the bench's generated workbooks,
# and compares: every load error, every cell listing and every saved byte
# must be the same.
#
#   tools/workbook_identity/identity.sh BASE-REV [BUILD-DIR] [MORE-FILES...]
#
# BUILD-DIR (default build) supplies bench/workbook_bench for the generated
# workbooks of 1,000, 10,000 and 100,000 cells; without it they are left out.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
base=${1:?usage: identity.sh BASE-REV [BUILD-DIR] [MORE-FILES...]}
build=${2:-$here/build}
shift $(( $# >= 2 ? 2 : 1 ))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/old"
git -C "$here" archive "$base" workbook core | tar -x -C "$work/old"

compile() {
    local src=$1 exe=$2
    local sources=()
    for f in "$src"/workbook/*.cpp; do sources+=("$f"); done
    sources+=("$src/core/cell_address.cpp" "$src/core/numeric.cpp" "$src/core/safe_file.cpp")
    # shellcheck disable=SC2046
    nice c++ -std=c++20 -O2 -fPIC -I"$src" $(pkg-config --cflags Qt6Core libgsf-1) \
        "$here/tools/workbook_identity/edit_outputs.cpp" "${sources[@]}" -o "$exe" \
        $(pkg-config --libs Qt6Core libgsf-1)
}
compile "$work/old" "$work/edit_outputs_old" &
compile "$here" "$work/edit_outputs_new"
wait $!

inputs=("$here"/tests/data/xls-corpus/*.xls "$here"/tests/data/xls-corpus/bad/* "$here"/workbook/fuzz/regressions/workbook/*)
if [ -x "$build/bench/workbook_bench" ]; then
    "$build/bench/workbook_bench" --write-inputs "$work/generated" >/dev/null
    inputs+=("$work"/generated/*.xls)
fi
inputs+=("$@")

"$work/edit_outputs_old" "$work/out-old" "${inputs[@]}"
"$work/edit_outputs_new" "$work/out-new" "${inputs[@]}"
outputs=$(ls "$work/out-new" | wc -l)
if diff -r -q "$work/out-old" "$work/out-new"; then
    echo "identical: ${#inputs[@]} files, $outputs outputs (engine of $base against this tree)"
else
    echo "DIFFERENT (engine of $base against this tree)" >&2
    exit 1
fi
