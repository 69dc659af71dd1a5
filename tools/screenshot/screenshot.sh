#!/bin/sh
# Shows the main window on a virtual X display and saves a picture of the
# screen, for checking the layout by eye on a real display server.
#   tools/screenshot/screenshot.sh <program dir> <output.png> [seconds] [program arguments...]
# Needs xvfb, x11-apps and imagemagick (not needed by the build or the tests).
set -eu
dir=${1:?program directory}
out=${2:?output picture}
wait=${3:-4}
shift 3 2>/dev/null || shift $#
display=:97
Xvfb $display -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
# Point the update check at nothing so that it fails at once.
DISPLAY=$display QT_QPA_PLATFORM=xcb TPWORM_UPDATE_ADDRESS=http://127.0.0.1:1 "$dir/tpworm" ${TPWORM_STYLE:+-style "$TPWORM_STYLE"} "$@" &
program=$!
sleep "$wait"
DISPLAY=$display import -window root "$out"
kill $program 2>/dev/null || true
wait $program 2>/dev/null || true
