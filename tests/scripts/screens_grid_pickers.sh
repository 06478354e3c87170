#!/usr/bin/env bash
# The colour-brush and shape pickers from the brush button: each grid scrolls
# under the finger and Cancel leaves the painting as it was; the large heart
# chosen from the colour brushes is stamped where the finger taps, at its own
# size; the top hat chosen from the shapes is laid over the painting, and both
# choices are in the settings file at quit.
# Usage: screens_grid_pickers.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; fail "the run failed"; }

python3 - <<'PY' || fail "the pickers did not show or do what was chosen"
from png_pixels import read_png, same_below_status_bar

shots = {}
def rgb(name, x, y):
    if name not in shots:
        shots[name] = read_png(name)
    w, h, ch, rows = shots[name]
    return tuple(rows[y][x * ch:x * ch + 3])

def reddish(p):
    return p[0] > 180 and p[1] < 140 and p[2] < 160

white = (255, 255, 255)
assert reddish(rgb("colorbrushes.png", 120, 103)), "no large heart in the colour-brush grid"
assert same_below_status_bar(read_png("colorbrushes.png"), read_png("colorbrushes-scrolled.png")), \
    "the colour-brush grid did not scroll"
# One heart about 60 points wide, centred on the tap.
assert reddish(rgb("stamped.png", 160, 240)), f"no heart under the tap: {rgb('stamped.png', 160, 240)}"
for x, y in ((160, 290), (160, 190), (110, 240), (210, 240)):
    assert rgb("stamped.png", x, y) == white, f"the stamp reaches ({x}, {y})"

assert same_below_status_bar(read_png("shapes.png"), read_png("shapes-scrolled.png")), \
    "the shape grid did not scroll"
assert same_below_status_bar(read_png("shapes.png"), read_png("colorbrushes.png")), \
    "the shape picker shows the colour brushes"
assert reddish(rgb("shapes-closed.png", 160, 240)), "cancelling the shape picker changed the painting"

# The top hat, 300 points wide about (160, 230), over the painting.
assert max(rgb("overlay.png", 160, 150)) < 90, f"no hat crown at (160, 150): {rgb('overlay.png', 160, 150)}"
assert reddish(rgb("overlay.png", 100, 300)), "no hat band at (100, 300)"
assert max(rgb("overlay.png", 30, 350)) < 90, "the brim does not reach (30, 350)"
assert rgb("overlay.png", 5, 200) == white, "the hat is wider than 300 points"
PY

python3 - home/config/defaults.json <<'PY' || fail "the settings file does not hold the choices"
import json, sys
d = json.load(open(sys.argv[1]))
assert d["ColorBrushIndex"] == 1, d["ColorBrushIndex"]
assert d["OverlayIndex"] == 10, d["OverlayIndex"]
assert d["ToolID"] == 4, d["ToolID"]
assert d["DirtyFlag"] is True
PY
echo "screens_grid_pickers: ok"
