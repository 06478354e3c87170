#!/usr/bin/env bash
# The toolbar's buttons, each checked by what it does: "add" asks before a
# changed picture is replaced and asks nothing once it is saved; Save writes
# one picture to the album and leaves the picture clean (also for the next
# launch); undo takes the stroke back and a second undo brings it again; the
# buttons whose screens are still to come change nothing.
# Usage: app_toolbar.sh ZORBEL SCRIPT
set -euo pipefail
zorbel=$1
script=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "app_toolbar: $*" >&2; exit 1; }
pixels() { python3 "$here/png_pixels.py" "$@"; }

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; fail "the run failed"; }

# The stroke across the picture, the chrome over it.
pixels stroke.png "160 240 dark" "300 100 white" "60 40 dark" "5 470 dark" || fail "no stroke under the chrome"
pixels add-dirty.png "300 100 grey" || fail "add did not ask about the changed picture"
count=$(find home/Pictures -name '*.png' | wc -l)
[ "$count" -eq 1 ] || fail "expected one picture in the album, found $count"
pixels new-document.png "75 150 white" "160 400 grey" || fail "add did not open the new-document screen at once"
pixels --same stroke.png new-document.png && fail "add did not open the new-document screen"
pixels --same stroke.png add-clean.png || fail "add asked (or changed something) for a saved picture"
pixels --same stroke.png settings.png && fail "settings did not open its screen"
pixels undo1.png "160 240 white" "60 40 dark" || fail "undo did not take the stroke back"
pixels --same stroke.png undo2.png || fail "the second undo did not bring the stroke back"
pixels --same stroke.png text-input.png && fail "the text button did not open its screen"
pixels --same stroke.png others.png || fail "a button whose screen is not there changed something"
python3 -c 'import json, sys; assert json.load(open(sys.argv[1]))["DirtyFlag"] is False' \
  home/config/defaults.json || fail "the saved picture is still marked changed"
echo "app_toolbar: ok"
