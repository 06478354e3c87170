#!/usr/bin/env bash
# Overlay pictures as a person handles them: two pictures kept from the last
# run come back where they were; under the shape tool a finger drags one
# exactly and the tool picker flips it; Save
# puts the picture with its layers in the album; flattening makes them part of
# the painting, which the end writes, and the archive goes with the layers.
# Usage: layers_overlay.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

archive=home/Documents/Layers.archive

# A hat at (90, 130) behind a top hat at (240, 250), both at half size: the
# hat's picture (600 x 360 pixels, drawn 300 x 180) shows in x 15..165,
# y 85..175; the top hat's (600 x 620, drawn 300 x 310) in x 165..315.
mkdir -p home/Documents
cat > "$archive" <<'J'
{"archiver": "ZorbelKeyedArchive", "version": 1, "top": {"root": [
 {"$class": "TouchImageView", "ImageFileName": "pinkhat.png", "OrgFrame": [0, 0, 700, 180],
  "CurrentFrame": [0, 0, 0, 0], "Center": [90, 130], "OriginalTransform": "[0.5, 0, 0, 0.5, 0, 0]"},
 {"$class": "TouchImageView", "ImageFileName": "tophat.overlay.png", "OrgFrame": [0, 0, 700, 310],
  "CurrentFrame": [0, 0, 0, 0], "Center": [240, 250], "OriginalTransform": "[0.5, 0, 0, 0.5, 0, 0]"}
]}}
J

# The box of the ink (anything not white) in a column of the picture between
# the bars, as "x0 y0 x1 y1", or "none".
box() { pixels --ink-box "$1" 230 "$2" "$3"; }

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; fail "the run failed"; }

read -r hx0 hy0 hx1 hy1 <<<"$(box restored.png 0 165)"
[ "$hx0" != none ] || fail "the hat did not come back"
[ "$hx0" -ge 14 ] && [ "$hx1" -le 166 ] && [ "$hy0" -ge 84 ] && [ "$hy1" -le 176 ] ||
  fail "the hat came back elsewhere: $hx0 $hy0 $hx1 $hy1"
read -r tx0 ty0 tx1 ty1 <<<"$(box restored.png 166 320)"
[ "$tx0" != none ] && [ "$ty0" -ge 170 ] && [ "$ty1" -le 330 ] || fail "the top hat did not come back: $tx0 $ty0 $tx1 $ty1"

[ "$(box dragged.png 0 165)" = "$hx0 $((hy0 + 200)) $hx1 $((hy1 + 200))" ] ||
  fail "the drag did not move the hat by 200 points: $(box dragged.png 0 165)"
[ "$(box dragged.png 166 320)" = "$tx0 $ty0 $tx1 $ty1" ] || fail "the drag moved the top hat"

# Flipped about the hat's own centre line, x = 90.
read -r fx0 fy0 fx1 fy1 <<<"$(box flipped.png 0 165)"
[ $((180 - fx1 - hx0)) -ge -1 ] && [ $((180 - fx1 - hx0)) -le 1 ] &&
  [ $((180 - fx0 - hx1)) -ge -1 ] && [ $((180 - fx0 - hx1)) -le 1 ] && [ "$fy0" -eq $((hy0 + 200)) ] ||
  fail "the picker did not flip the hat: $hx0..$hx1 -> $fx0..$fx1"
python3 - flipped.png dragged.png <<'PY' || fail "the flipped hat is not the mirror image of the hat"
import sys
from png_pixels import read_png
a, b = read_png(sys.argv[1]), read_png(sys.argv[2])
def px(s, x, y):
    return tuple(s[3][y][x * s[2]:x * s[2] + 3])
same = total = 0
for y in range(285, 376, 2):
    for x in range(20, 160, 2):
        total += 1
        same += max(abs(p - q) for p, q in zip(px(a, x, y), px(b, 179 - x, y))) <= 24
assert same >= total * 0.97, f"{same} of {total} pixels mirror"
PY

# The album has the picture as shown, layers and all.
album=$(find home/Pictures -name '*.png' | head -1)
[ -n "$album" ] || fail "Save put nothing in the album"
[ "$(box "$album" 0 165)" = "$fx0 $fy0 $fx1 $fy1" ] || fail "the album picture lacks the flipped hat: $(box "$album" 0 165)"
[ "$(box "$album" 166 320)" = "$tx0 $ty0 $tx1 $ty1" ] || fail "the album picture lacks the top hat"

# Flattened: the same picture, now the painting itself; no archive is left.
python3 "$here/png_pixels.py" --same flipped.png flattened.png || fail "flattening changed what is shown"
[ -e "$archive" ] && fail "the archive outlived the layers"
[ "$(box home/Documents/zorbel.png 0 165)" = "$fx0 $fy0 $fx1 $fy1" ] || fail "the painting lacks the flattened hat"
[ "$(box home/Documents/zorbel.png 166 320)" = "$tx0 $ty0 $tx1 $ty1" ] || fail "the painting lacks the flattened top hat"
echo "layers_overlay: ok"
