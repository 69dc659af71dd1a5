#!/usr/bin/env bash
# The Debian package as a user meets it: built from this build folder,
# installed into the machine, used by a user who is not root with a fresh
# home, and removed again. Needs root and dpkg (CI has both); skips otherwise.
#   package_test.sh BUILD-DIR SETTINGS-PROBE
set -euo pipefail
build=$1
probe=$2
if [ "$(id -u)" != 0 ] || ! command -v dpkg >/dev/null || ! command -v setpriv >/dev/null; then
  echo "skipped: needs root, dpkg and setpriv"; exit 77
fi
# A package removed earlier keeps its postrm until purged; only one that is
# installed is the user's.
if dpkg-query -W -f='${Status}' tpworm 2>/dev/null | grep -q ' installed$'; then
  echo "skipped: a tpworm package is installed on this machine already"; exit 77
fi
work=$(mktemp -d)
chmod 755 "$work"
cleanup() { dpkg -P tpworm >/dev/null 2>&1 || true; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/pkg/tpworm_*.deb)
fields=$(dpkg-deb -f "$deb" Depends Recommends)
echo "$fields"
grep -q 'libqt6core6' <<<"$fields" || fail "Depends does not name the Qt libraries"
grep -q 'Recommends:.*libreoffice' <<<"$fields" || fail "LibreOffice is not recommended"
grep -q 'Depends:.*libreoffice' <<<"$(dpkg-deb -f "$deb" Depends | sed 's/^/Depends: /')" && fail "LibreOffice must not be a dependency"

dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i"; }
[ -x /usr/bin/tpworm ] && [ -x /usr/bin/tpworm-cli ] && [ -x /usr/bin/tpworm-cli-gui ] || fail "programs not in /usr/bin"
# The modules the programs load on first use (the workbook reader; the
# LibreOffice backend where the build has it).
[ -f /usr/lib/tpworm/tpworm-libgsf.so ] || fail "the workbook reader's module is not in /usr/lib/tpworm"
if [ -f "$build/tpworm-libreoffice.so" ]; then
  [ -f /usr/lib/tpworm/tpworm-libreoffice.so ] || fail "the LibreOffice module is not in /usr/lib/tpworm"
fi
[ -f /usr/share/tpworm/db1.mdb ] && [ -f /usr/share/tpworm/111.xls ] || fail "data not in /usr/share/tpworm"
desktop-file-validate /usr/share/applications/tpworm.desktop || fail "desktop-file-validate"

# A user who is not root, with a home of their own.
home="$work/home"
mkdir -p "$home"
chown nobody "$home"
as_user() { setpriv --reuid=nobody --regid=nogroup --clear-groups env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"; }
shipped_sum=$(sha256sum /usr/share/tpworm/db1.mdb | cut -d' ' -f1)

args=(design --centre-distance 250 --teeth 45 --starts 2 --json)
as_user /usr/bin/tpworm-cli "${args[@]}" >"$work/installed.json" || fail "installed tpworm-cli design"
"$build/tpworm-cli" "${args[@]}" >"$work/build.json" || fail "build folder tpworm-cli design"
cmp "$work/installed.json" "$work/build.json" || { diff "$work/installed.json" "$work/build.json" | head; fail "installed and build folder programs differ"; }
[ -f "$home/.local/share/tpworm/db1.mdb" ] || fail "the rules database was not copied to the user's data folder"

cp "$probe" "$work/probe"
chmod 755 "$work/probe"
as_user "$work/probe" /usr/bin 1.3 || fail "settings dialog of the installed program"
[ "$(sha256sum /usr/share/tpworm/db1.mdb | cut -d' ' -f1)" = "$shipped_sum" ] || fail "the installed db1.mdb changed"
cmp -s "$home/.local/share/tpworm/db1.mdb" /usr/share/tpworm/db1.mdb && fail "the change did not land in the user's folder"
# The user's rules now differ from the shipped ones, and the command line sees them too.
as_user /usr/bin/tpworm-cli "${args[@]}" | grep -q '"rulesModified": true' || fail "the command line does not read the user's rules"

# The many-design commands find the rules and the centre-distance series in
# the installed layout too (not beside the executable in /usr/bin).
printf 'centre_distance,teeth,starts\n250,45,2\n' >"$work/one.csv"
chmod 644 "$work/one.csv"
as_user /usr/bin/tpworm-cli batch "$work/one.csv" >"$work/batch.jsonl" || { cat "$work/batch.jsonl"; fail "installed tpworm-cli batch"; }
grep -q '"calculated":true' "$work/batch.jsonl" || { head -c 600 "$work/batch.jsonl"; fail "the installed batch did not calculate"; }
as_user /usr/bin/tpworm-cli sweep --teeth 45 --starts 2 --grades 7 --format csv >"$work/sweep.csv" \
  || fail "installed tpworm-cli sweep"
[ "$(wc -l <"$work/sweep.csv")" -gt 2 ] || fail "the installed sweep wrote no designs"
as_user /usr/bin/tpworm-cli rate --centre-distance 250 --teeth 45 --starts 2 --power 10 --speed 1450 --json \
  | grep -q '"efficiency"' || fail "the installed rate found no rating tables"

# The painting commands run in the installed tpworm-cli-gui.
as_user /usr/bin/tpworm-cli drawing worm --centre-distance 250 --teeth 45 "$home/worm.svg" || fail "installed tpworm-cli drawing"
[ -s "$home/worm.svg" ] || fail "the installed drawing command wrote nothing"

# A design file is recognised as ours.
as_user /usr/bin/tpworm-cli workbook set /usr/share/tpworm/111.xls "$home/design.wpx" A1=250 >/dev/null || fail "making a design file"
type=$(as_user xdg-mime query filetype "$home/design.wpx")
[ "$type" = application/x-tpworm-design ] || fail "xdg-mime says $type for a design file"

dpkg -r tpworm >"$work/dpkg-r.log" 2>&1 || { cat "$work/dpkg-r.log"; fail "dpkg -r"; }
[ ! -e /usr/share/tpworm ] || { find /usr/share/tpworm; fail "files left under /usr/share/tpworm"; }
[ ! -e /usr/bin/tpworm-cli ] || fail "/usr/bin/tpworm-cli left behind"
[ ! -e /usr/lib/tpworm ] || { find /usr/lib/tpworm; fail "files left under /usr/lib/tpworm"; }
dpkg -P tpworm >/dev/null 2>&1 || fail "dpkg -P"
echo "package test passed"
