#!/usr/bin/env bash
# Save from the toolbar: a painted picture lands once in the album folder
# (<home>/Pictures) as an upright 320 x 480 PNG, pixel for pixel the painting
# kept in Documents; Save with nothing changed writes nothing; a landscape
# document is saved as a 480 x 320 landscape picture.
# Usage: app_save.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

# The checks below read pictures with the PNG reader beside this script.
export PYTHONPATH="$here"

# 1. Portrait: one stroke, two presses of Save.
"$zorbel" --headless --home portrait --script "$script" 2>log1.txt || { cat log1.txt >&2; fail "portrait run failed"; }
count=$(find portrait/Pictures -name '*.png' | wc -l)
[ "$count" -eq 1 ] || fail "expected one picture in the album, found $count"
python3 - portrait/Pictures/*.png portrait/Documents/zorbel.png <<'PY' || fail "the saved picture is not the painting"
import sys
from png_pixels import read_png
saved, painting = read_png(sys.argv[1]), read_png(sys.argv[2])
assert saved[:2] == (320, 480), f"album picture is {saved[:2]}"
assert painting[:2] == (320, 480)
def rgba(shot, x, y):
    w, h, ch, rows = shot
    p = tuple(rows[y][x * ch:(x + 1) * ch])
    return p[:3] + ((p[3],) if ch == 4 else (255,))
diffs = sum(rgba(saved, x, y) != rgba(painting, x, y) for y in range(0, 480, 3) for x in range(0, 320, 3))
assert diffs == 0, f"{diffs} sampled pixels differ from the painting"
assert rgba(saved, 5, 5) == (255, 255, 255, 255), "the corner is not white"
painted = sum(rgba(saved, x, y) != (255, 255, 255, 255) for y in range(0, 480, 3) for x in range(0, 320, 3))
assert painted > 50, "the stroke is missing"
PY

# 2. A landscape document: sky over a green strip along its bottom edge.
source "$here/landscape_home.sh"
make_landscape_home landscape
cat > land.zscript <<'Z'
wait 1
drag 100 200 200 260 5
wait 2
press save
wait
quit
Z
"$zorbel" --headless --home landscape --script land.zscript 2>log2.txt || { cat log2.txt >&2; fail "landscape run failed"; }
count=$(find landscape/Pictures -name '*.png' | wc -l)
[ "$count" -eq 1 ] || fail "expected one landscape picture in the album, found $count"
python3 - landscape/Pictures/*.png <<'PY' || fail "the landscape picture is not upright"
import sys
from png_pixels import read_png
shot = read_png(sys.argv[1])
assert shot[:2] == (480, 320), f"album picture is {shot[:2]}"
w, h, ch, rows = shot
def rgb(x, y): return tuple(rows[y][x * ch:x * ch + 3])
assert rgb(400, 60) == (0x99, 0xcc, 0xff), f"sky is {rgb(400, 60)}"
assert rgb(20, 300) == (0x66, 0xaa, 0x44) and rgb(460, 300) == (0x66, 0xaa, 0x44), "no ground along the bottom"
PY
echo "app_save: ok"
