#!/usr/bin/env bash
# Shaking the device asks "Erase Image?": "Cancel" keeps the picture, "Yes"
# erases it back to the original and marks it unchanged; one shake asks once
# (its strong samples after the answer are the same shake); the erased
# painting is in the undo copy, so undo brings it back.
# Usage: app_shake_erase.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; fail "the run failed"; }

pixels stroke.png "160 240 dark" "300 100 white" || fail "no stroke to erase"
pixels asked.png "300 100 grey" || fail "the shake did not ask"
pixels --same stroke.png kept.png || fail "Cancel did not keep the picture as it was"
pixels erased.png "160 240 white" "40 120 white" "280 360 white" "60 40 dark" ||
  fail "Yes did not erase the picture (or a second sheet came up)"
pixels --same stroke.png undone.png || fail "undo did not bring the erased painting back"
pixels home/Documents/zorbel.png "160 240 dark" "300 100 white" || fail "the painting written at the end is not the one shown"
python3 -c 'import json, sys; assert json.load(open(sys.argv[1]))["DirtyFlag"] is False' \
  home/config/defaults.json || fail "the erased picture is still marked changed"
echo "app_shake_erase: ok"
