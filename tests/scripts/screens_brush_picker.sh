#!/usr/bin/env bash
# The brush picker from the toolbar: with the paint brush it shows the stored
# opacity and blend mode; half opacity, the darken segment and the large hard
# brush paint a 64-point stroke of half-strength black, and the choice is in
# the settings file at quit (the darken segment stored as mode 4). The
# eraser's picker has brushes only.
# Usage: screens_brush_picker.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; fail "the run failed"; }

python3 - <<'PY' || fail "the pictures are not what the picker chose"
from png_pixels import read_png

def rgb(name, x, y):
    w, h, ch, rows = read_png(name)
    return tuple(rows[y][x * ch:x * ch + 3])

def is_blue(p):  # a selected segment or the slider's filled track
    return p[2] > 200 and p[0] < 100

# The large hard brush (index 6) is in the grid; "Normal" is the stored mode.
assert max(rgb("picker.png", 96, 160)) < 40, "no brush grid"
assert is_blue(rgb("picker.png", 30, 446)), "the stored mode is not shown"
assert is_blue(rgb("segments.png", 184, 446)) and not is_blue(rgb("segments.png", 30, 446)), \
    "the darken segment is not the selected one"

# Half-strength black over the brush's 64 points, white beyond.
for y in (212, 240, 266):
    p = rgb("stroke.png", 160, y)
    assert all(abs(c - 128) <= 3 for c in p), f"stroke at y {y} is {p}, not half black"
for y in (200, 280):
    assert rgb("stroke.png", 160, y) == (255, 255, 255), f"the stroke is wider than 64 at y {y}"

# The eraser's picker: the grid, no slider, no segments.
assert max(rgb("eraser-picker.png", 96, 160)) < 40, "the eraser's picker has no brushes"
for x, y in ((40, 397), (30, 446), (184, 446)):
    assert not is_blue(rgb("eraser-picker.png", x, y)), "the eraser's picker offers opacity or blend mode"
PY

python3 - home/config/defaults.json <<'PY' || fail "the settings file does not hold the choice"
import json, sys
d = json.load(open(sys.argv[1]))
assert d["PaintBrushBlendMode"] == 4, d["PaintBrushBlendMode"]
assert abs(d["PaintBrushAlpha"] - 0.5) < 0.01, d["PaintBrushAlpha"]
assert d["BrushIndex"] == 6, d["BrushIndex"]
assert d["ToolID"] == 2, d["ToolID"]
PY
echo "screens_brush_picker: ok"
