#!/usr/bin/env bash
# The colour picker from the toolbar's colour well: it opens with the paint
# colour in the swatch; a palette box paints in its colour at once; a colour
# read from the rainbow goes into the swatch and Done paints with it. Each
# colour shows in the strokes, in the colour well and in the picture saved
# to the album.
# Usage: screens_color_picker.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; fail "the run failed"; }
count=$(find home/Pictures -name '*.png' | wc -l)
[ "$count" -eq 1 ] || fail "expected one picture in the album, found $count"

python3 - home/Pictures/*.png <<'PY' || fail "the strokes are not in the chosen colours"
import sys
from png_pixels import read_png

def rgb(name, x, y):
    w, h, ch, rows = read_png(name)
    return tuple(rows[y][x * ch:x * ch + 3])

def near(a, b):
    return all(abs(p - q) <= 2 for p, q in zip(a, b))

red = (255, 0, 0)
# Opened with the launch's black in the swatch.
assert rgb("picker.png", 280, 50) == red, "no palette"
assert max(rgb("picker.png", 160, 155)) < 10, "the swatch does not show the paint colour"

assert rgb("red.png", 160, 150) == red, f"the stroke is {rgb('red.png', 160, 150)}, not red"
assert rgb("red.png", 258, 458) == red, "the colour well does not show red"

swatch = rgb("swatch.png", 160, 175)
assert not near(swatch, red) and not near(swatch, (0, 0, 0)), f"the rainbow gave {swatch}"
stroke = rgb("rainbow.png", 160, 300)
assert near(stroke, swatch), f"the stroke is {stroke}, the swatch was {swatch}"
assert near(rgb("rainbow.png", 258, 458), swatch), "the colour well does not show the swatch's colour"

album = sys.argv[1]
assert read_png(album)[:2] == (320, 480)
assert rgb(album, 160, 150) == red, "the album picture's first stroke is not red"
assert near(rgb(album, 160, 300), swatch), "the album picture's second stroke is not the swatch's colour"
assert rgb(album, 160, 220) == (255, 255, 255), "the album picture is not white between the strokes"
PY
echo "screens_color_picker: ok"
