#!/usr/bin/env bash
# The toolbar's buttons, each checked by what it does: "add" asks before a
# changed picture is replaced and asks nothing once it is saved; Save writes
# one picture to the album and leaves the picture clean (also for the next
# launch); undo takes the stroke back and a second undo brings it again; the
# brush, colour and text buttons open their screens and Cancel changes nothing.
# Usage: app_toolbar.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

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
pixels brushes.png "96 160 dark" "160 350 white" || fail "the brush button did not open the brush picker"
pixels colours.png "230 50 dark" "25 50 white" "160 175 dark" || fail "the colour button did not open the colour picker"
pixels --same stroke.png pickers-closed.png || fail "cancelling a picker changed something"
pixels undo1.png "160 240 white" "60 40 dark" || fail "undo did not take the stroke back"
pixels --same stroke.png undo2.png || fail "the second undo did not bring the stroke back"
pixels text.png "160 300 dark" "160 120 white" || fail "the text button did not open the text screen"
pixels --same stroke.png others.png || fail "cancelling the text screen changed something"
python3 -c 'import json, sys; assert json.load(open(sys.argv[1]))["DirtyFlag"] is False' \
  home/config/defaults.json || fail "the saved picture is still marked changed"
echo "app_toolbar: ok"
