#!/usr/bin/env bash
# Runs screens_settings.zscript and reads the settings written at the end:
# the flipped switches and the finger offset (-40, 0) (the offset screen's
# centre is at (160, 250) in the window). Usage: screens_settings.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; fail "run failed"; }
python3 - home/config/defaults.json <<'PY' || fail "the stored settings are not the ones set"
import json, sys
s = json.load(open(sys.argv[1]))
assert s["SmartFlag"] is True, s.get("SmartFlag")
assert s["CropFlag"] is True, s.get("CropFlag")
assert s["ShakeCheck"] is False, s.get("ShakeCheck")
assert s["CursorDisplay"] is True, s.get("CursorDisplay")
assert abs(s["FingerX"] + 40) < 0.01 and abs(s["FingerY"]) < 0.01, (s["FingerX"], s["FingerY"])
PY
python3 "$here/png_pixels.py" offset.png "200 250 dark" "160 250 dark" "180 250 white"
echo "screens_settings: ok"
