#!/usr/bin/env bash
# A damaged "DocumentOrientation" in the settings costs nothing: the restored
# picture decides the orientation, the stored value is logged and replaced,
# and the painting is written at the end of the run as always. A stored value
# that disagrees with the picture (a run killed between writing the painting
# and the settings) does not turn the painting either.
# Usage: app_damaged_orientation.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

stored_orientation() {
  python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["DocumentOrientation"])' "$1"
}

# 1. Values no picture can be written in: numbers other than 1 and 3, a word.
n=0
for value in 2 0 -1 99 '"landscape"'; do
  n=$((n + 1))
  home=$work/damaged$n
  mkdir -p "$home/config"
  echo "{\"DocumentOrientation\": $value}" > "$home/config/defaults.json"
  "$zorbel" --headless --home "$home" --script "$script" 2>log.txt || { cat log.txt >&2; fail "run with $value failed"; }
  grep -qF "\"DocumentOrientation\" is $value, neither 1 nor 3: ignored" log.txt ||
    { cat log.txt >&2; fail "no log line for the stored $value"; }
  [ -s "$home/Documents/zorbel.png" ] || fail "with $value stored the painting was not written"
  python3 - "$home" <<'PY' || fail "with $value stored: see above"
import json, sys
from png_pixels import read_png, grey
home = sys.argv[1]
shot = read_png(home + "/Documents/zorbel.png")
assert shot[:2] == (320, 480), f"the painting is {shot[:2]}"
assert grey(shot, 10, 10) > 240 and grey(shot, 300, 20) > 240 and grey(shot, 160, 240) < 60, \
    "the painting is not the stroke"
stored = json.load(open(home + "/config/defaults.json"))["DocumentOrientation"]
assert stored == 1, f"{stored} was written back"
PY
done

# 2. A landscape painting under a damaged value stays landscape.
source "$here/landscape_home.sh"
make_landscape_home land
echo '{"DocumentOrientation": 2}' > land/config/defaults.json
cat > still.zscript <<'Z'
wait 1
quit
Z
"$zorbel" --headless --home land --script still.zscript 2>log.txt || { cat log.txt >&2; fail "landscape run failed"; }
python3 - land/Documents/zorbel.png <<'PY' || fail "the landscape painting did not stay landscape"
import sys
from png_pixels import read_png
w, h, ch, rows = read_png(sys.argv[1])
assert (w, h) == (480, 320), f"painting is {w} x {h}"
def rgb(x, y): return tuple(rows[y][x * ch:x * ch + 3])
assert rgb(20, 300) == (0x66, 0xaa, 0x44) and rgb(400, 60) == (0x99, 0xcc, 0xff), "not upright"
PY
[ "$(stored_orientation land/config/defaults.json)" = 3 ] || fail "the landscape orientation was not written back"

# 3. An upright painting under a stored 3 stays upright, pixel for pixel.
home=$work/upright
"$zorbel" --headless --home "$home" --script "$script" 2>log.txt || { cat log.txt >&2; fail "first upright run failed"; }
cp "$home/Documents/zorbel.png" first.png
python3 - "$home/config/defaults.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
d["DocumentOrientation"] = 3
json.dump(d, open(sys.argv[1], "w"))
PY
"$zorbel" --headless --home "$home" --script still.zscript 2>log.txt || { cat log.txt >&2; fail "second upright run failed"; }
python3 - first.png "$home/Documents/zorbel.png" <<'PY' || fail "the upright painting was turned"
import sys
from png_pixels import read_png
a, b = read_png(sys.argv[1]), read_png(sys.argv[2])
assert b[:2] == (320, 480), f"painting is {b[:2]}"
assert a[3] == b[3], "the pixels changed"
PY
[ "$(stored_orientation "$home/config/defaults.json")" = 1 ] || fail "the upright orientation was not written back"
echo "app_damaged_orientation: ok"
