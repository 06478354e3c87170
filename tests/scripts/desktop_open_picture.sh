#!/usr/bin/env bash
# `zorbel --headless PICTURE` starts a new document from the picture; a file
# that is no picture is refused with a line on standard error and the picture
# restored from the last run stays, as does the file itself.
# Usage: desktop_open_picture.sh ZORBEL SCRIPT
set -euo pipefail
zorbel=$1
script=$2
pixels=$(cd "$(dirname "$0")" && pwd)/png_pixels.py
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "desktop_open_picture: $*" >&2; exit 1; }

python3 "$pixels" --write-square square.png 100 330 220 420
status=0
timeout 60 "$zorbel" --headless --home home --script "$script" square.png 2>log.txt || status=$?
[ "$status" -eq 0 ] || { cat log.txt >&2; fail "the good picture's run failed (status $status)"; }
python3 "$pixels" shot.png "160 380 dark" "50 380 white" "160 300 white" ||
    fail "the square picture is not shown"

printf 'no picture here' > words.png
timeout 60 "$zorbel" --headless --home home --script "$script" words.png 2>log.txt || status=$?
[ "$status" -eq 0 ] || { cat log.txt >&2; fail "the refused picture's run failed (status $status)"; }
grep -qF "Cannot open words.png" log.txt || { cat log.txt >&2; fail "no refusal on standard error"; }
[ "$(cat words.png)" = "no picture here" ] || fail "the refused file changed"
# Under the alert the square picture of the last run is still there.
python3 "$pixels" shot.png "160 380 dark" "50 380 grey" ||
    fail "the last run's picture did not stay"

# Only one picture at a time, and nothing but a picture after the options.
timeout 60 "$zorbel" --headless --home home square.png words.png 2>log.txt && fail "two pictures accepted"
grep -qF "only one PICTURE" log.txt || fail "no reason given for two pictures"
echo "desktop_open_picture: ok"
