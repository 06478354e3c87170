#!/usr/bin/env bash
# Runs screens_new_document.zscript: the stroke is gone under the yellow sheet,
# the new picture is not dirty (Add asks nothing the second time), and "No"
# saved nothing. Usage: screens_new_document.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; fail "run failed"; }
count=$( (find home/Pictures -name '*.png' 2>/dev/null || true) | wc -l)
[ "$count" -eq 0 ] || fail "\"No\" saved $count picture(s) to the album"
export PYTHONPATH="$here"
python3 - home/Documents/zorbel.png yellow.png sheets.png <<'PY' || fail "the pictures are not as expected"
import sys
from png_pixels import read_png
def rgb(shot, x, y):
    w, h, ch, rows = shot
    return tuple(rows[y][x * ch:x * ch + 3])
def yellow(p):
    return p[0] > 220 and p[1] > 200 and p[2] < 200
painting = read_png(sys.argv[1])
assert painting[:2] == (320, 480), painting[:2]
# Where the stroke crossed, and elsewhere: all the sheet's yellow.
for x, y in [(160, 240), (100, 180), (20, 20), (300, 460)]:
    assert yellow(rgb(painting, x, y)), f"painting at {x},{y} is {rgb(painting, x, y)}"
shot = read_png(sys.argv[2])
assert yellow(rgb(shot, 160, 260)), f"screen shows {rgb(shot, 160, 260)}"
# The sheet screen showed the black sheet's button (third of the first row).
sheets = read_png(sys.argv[3])
assert max(rgb(sheets, 260, 180)) < 40, f"black sheet button is {rgb(sheets, 260, 180)}"
PY
grep -q "Save Image?" log.txt && fail "the second Add asked about saving a clean picture" || true
echo "screens_new_document: ok"
