#!/usr/bin/env bash
# A caption as a person makes and handles it: the toolbar's text button writes
# "Some Text" in the paint colour at the middle of the picture; under the text
# tool one finger drags it and two fingers shrink it about its centre; it is
# kept at the end and shown again, as it was, by the next launch; a double tap
# undoes its moves and a triple tap deletes it, and the archive goes with the last layer; a damaged archive is
# set aside and the app starts without layers, the painting untouched.
# Usage: layers_caption.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

archive=home/Documents/Layers.archive

# The box of the caption's pixels (anything not white) between the bars,
# as "x0 y0 x1 y1", or "none".
box() { pixels --ink-box "$1" 200; }

# 1. Write, drag, pinch, quit.
"$zorbel" --headless --home home --script "$script" 2>log1.txt || { cat log1.txt >&2; fail "first run failed"; }
read -r ax0 ay0 ax1 ay1 <<<"$(box added.png)"
[ "$ax0" != none ] || fail "no caption was drawn"
# Centred at (160, 230), as wide as a line of text in a large font.
python3 -c "
import sys
x0, y0, x1, y1 = map(int, sys.argv[1:])
cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
assert abs(cx - 160) <= 6 and abs(cy - 230) <= 12, f'caption centred at {cx}, {cy}'
assert x1 - x0 > 150, f'caption only {x1 - x0} wide'
" $ax0 $ay0 $ax1 $ay1 || fail "the new caption is not where it belongs ($ax0 $ay0 $ax1 $ay1)"
read -r dx0 dy0 dx1 dy1 <<<"$(box dragged.png)"
[ $((dx0 - ax0)) -eq 5 ] && [ $((dx1 - ax1)) -eq 5 ] && [ $((dy0 - ay0)) -eq 70 ] && [ $((dy1 - ay1)) -eq 70 ] ||
  fail "the drag did not move the caption by (5, 70): $ax0 $ay0 $ax1 $ay1 -> $dx0 $dy0 $dx1 $dy1"
read -r px0 py0 px1 py1 <<<"$(box pinched.png)"
python3 -c "
import sys
a = list(map(int, sys.argv[1:5])); b = list(map(int, sys.argv[5:9]))
wa, wb = a[2] - a[0], b[2] - b[0]
assert abs(wb / wa - 0.5) < 0.05, f'width {wa} -> {wb}'
ca, cb = ((a[0] + a[2]) / 2, (a[1] + a[3]) / 2), ((b[0] + b[2]) / 2, (b[1] + b[3]) / 2)
# Scaled about the layer's centre (165, 300): the ink's offset from it halves.
assert abs(ca[0] - cb[0]) <= 2, f'centre {ca} -> {cb}'
assert abs((cb[1] - 300) - (ca[1] - 300) / 2) <= 2, f'centre {ca} -> {cb}'
" $dx0 $dy0 $dx1 $dy1 $px0 $py0 $px1 $py1 || fail "two fingers did not shrink the caption to half about its centre"
[ -s "$archive" ] || fail "the caption was not archived at the end"
python3 - "$archive" <<'PY' || fail "the archive does not hold the caption"
import json, sys
text = open(sys.argv[1]).read()
assert text.count('"TextLayerView"') == 1, text[:400]
assert '"Some Text"' in text
PY

# 2. The next launch shows it as it was; a double tap on it (it is in front)
# puts it back as it was made; a triple tap deletes it.
cat > again.zscript <<'Z'
wait 1
screenshot restored.png
tap 165 300 2
wait
screenshot reset.png
tap 160 230 3
wait
screenshot deleted.png
quit
Z
"$zorbel" --headless --home home --script again.zscript 2>log2.txt || { cat log2.txt >&2; fail "second run failed"; }
[ "$(box restored.png)" = "$px0 $py0 $px1 $py1" ] || fail "the caption came back elsewhere: $(box restored.png)"
[ "$(box reset.png)" = "$ax0 $ay0 $ax1 $ay1" ] || fail "a double tap on the front caption did not undo its moves: $(box reset.png)"
[ "$(box deleted.png)" = none ] || fail "a triple tap did not delete the caption"
[ -e "$archive" ] && fail "the archive outlived the last layer"

# 3. A damaged archive: set aside, logged, no layers, the painting as it was.
cp home/Documents/zorbel.png painting.png
printf '{"archiver": "ZorbelKeyedArchive", "version": 1, "top": [' > "$archive"
"$zorbel" --headless --home home --script again.zscript 2>log3.txt || { cat log3.txt >&2; fail "the app did not start over a damaged archive"; }
[ "$(box restored.png)" = none ] || fail "layers came from a damaged archive"
ls home/Documents | grep -v '^Layers.archive$' | grep -q '^Layers.archive' || fail "the damaged archive was not set aside"
grep -q "Layers.archive" log3.txt || fail "the damaged archive was not logged"
cmp -s painting.png home/Documents/zorbel.png || fail "the painting changed"
echo "layers_caption: ok"
