#!/usr/bin/env bash
# The mouse wheel on an overlay picture: under the paint brush it changes
# nothing; under the shape tool each notch scales the picture by 1.1 about the
# pointer and each sideways (Shift) notch turns it by a twelfth of a half
# turn, as a pinch would; the document is then marked changed.
# Usage: layers_wheel.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

# A hat at half size centred on (160, 240): its picture (600 x 360 pixels,
# drawn 300 x 180) lies in x 85..235, y 195..285, its ink in x 88..231,
# y 203..282.
mkdir -p home/Documents home/config
cat > home/Documents/Layers.archive <<'J'
{"archiver": "ZorbelKeyedArchive", "version": 1, "top": {"root": [
 {"$class": "TouchImageView", "ImageFileName": "pinkhat.png", "OrgFrame": [0, 0, 700, 180],
  "CurrentFrame": [0, 0, 0, 0], "Center": [160, 240], "OriginalTransform": "[0.5, 0, 0, 0.5, 0, 0]"}
]}}
J
cat > home/config/defaults.json <<'J'
{"ToolID": 1, "DirtyFlag": false}
J

# The box of the ink (anything not white) between the bars, "x0 y0 x1 y1".
box() { pixels --ink-box "$1" 230; }
# near BOX "X0 Y0 X1 Y1" S TURNED: BOX is the box X0..Y1 scaled by S about
# (160, 240), turned a quarter clockwise when TURNED is 1, each side within 3.
near() {
  python3 - "$@" <<'PY'
import sys
got = [int(v) for v in sys.argv[1].split()]
x0, y0, x1, y1 = (int(v) for v in sys.argv[2].split())
s, turned = float(sys.argv[3]), sys.argv[4] == "1"
if turned:
    want = [160 - (y1 - 240) * s, 240 + (x0 - 160) * s, 160 - (y0 - 240) * s, 240 + (x1 - 160) * s]
else:
    want = [160 + (x0 - 160) * s, 240 + (y0 - 240) * s, 160 + (x1 - 160) * s, 240 + (y1 - 240) * s]
sys.exit(0 if all(abs(g - w) <= 3 for g, w in zip(got, want)) else 1)
PY
}

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; fail "the run failed"; }

before=$(box before.png)
near "$before" "88 203 231 282" 1 0 || fail "the hat is not where it was kept: $before"
pixels --same before.png paint_tool.png || fail "the wheel moved the hat under the paint brush"
near "$(box scaled.png)" "$before" 1.21 0 || fail "two notches did not scale the hat by 1.21 about the pointer: $before -> $(box scaled.png)"
near "$(box turned.png)" "$before" 1.21 1 || fail "six sideways notches did not turn it a quarter: $before -> $(box turned.png)"
near "$(box turned_back.png)" "$before" 1 1 || fail "two notches back did not undo the scale: $before -> $(box turned_back.png)"
grep -q '"DirtyFlag": *true' home/config/defaults.json || fail "the wheel left the document unchanged: $(cat home/config/defaults.json)"
echo "layers_wheel: ok"
