#!/usr/bin/env bash
# A short soak (some 300 steps of tools/gen-soak.py: strokes over every tool,
# effects kept and cancelled, memory warnings, relaunches, captions and overlays
# added, moved, pinched, flipped and deleted, every picker opened and closed)
# under this build's sanitizers: the run ends with status 0 and no sanitizer
# report, and leaves a whole painting and settings that the next launch shows.
# Then a few layer cycles with a screenshot at each phase: each layer is seen
# where the fingers put it, at the size the pinch gave it, mirrored by the flip,
# and gone after its deletion.
# Usage: soak.sh BUILD_DIR
set -uo pipefail
zorbel="$(cd "$1" && pwd)/app/zorbel"
here=$(cd "$(dirname "$0")" && pwd)
root=$here/../..
export PYTHONPATH="$root/tests/scripts"
[ -x "$zorbel" ] || { echo "soak: zorbel is not built in $1"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "soak: $*" >&2; exit 1; }

python3 "$root/tools/gen-soak.py" --steps 300 --seed 15 --layers --pickers > soak.zscript
"$zorbel" --headless --home home --script soak.zscript > soak.log 2>&1
status=$?
grep -E "ERROR: (Address|Leak)Sanitizer|runtime error:" soak.log && fail "a sanitizer reported a fault"
[ "$status" -eq 0 ] || { tail -20 soak.log >&2; fail "the soak ended with status $status"; }
grep -c "applicationDidReceiveMemoryWarning" soak.log | grep -qv '^0$' || fail "no memory warning reached the app"
# Every caption and overlay was deleted or flattened: none is archived.
[ ! -e home/Documents/Layers.archive ] || fail "layers were left behind: $(head -c 300 home/Documents/Layers.archive)"
python3 - home <<'PY' || fail "a saved file is not whole"
import json, os, sys
from png_pixels import read_png
home = sys.argv[1]
for name in ("zorbel.png", "zorbelorgimage.png", "tempundo.png"):
    w, h, _, rows = read_png(os.path.join(home, "Documents", name))
    assert (w, h) in ((320, 480), (480, 320)) and len(rows) == h, name
assert isinstance(json.load(open(os.path.join(home, "config", "defaults.json"))), dict)
PY
cat > after.zscript <<'Z'
wait 2
screenshot after.png
quit
Z
"$zorbel" --headless --home home --script after.zscript > after.log 2>&1 || { cat after.log >&2; fail "the launch after the soak failed"; }
python3 - <<'PY' || fail "the launch after the soak shows no painting"
from png_pixels import read_png
w, h, ch, rows = read_png("after.png")
dark = sum(1 for y in range(60, 420, 6) for x in range(0, w * ch, ch * 6) if sum(rows[y][x:x + 3]) < 600)
assert dark > 20, f"{dark} painted samples"
PY
python3 "$root/tools/gen-soak.py" --steps 6 --seed 4 --layers --pickers --kinds layers,screens \
  --shots shots > layers.zscript
"$zorbel" --headless --home layers-home --script layers.zscript > layers.log 2>&1
status=$?
grep -E "ERROR: (Address|Leak)Sanitizer|runtime error:" layers.log && fail "a sanitizer reported a fault in the layer cycles"
[ "$status" -eq 0 ] || { tail -20 layers.log >&2; fail "the layer cycles ended with status $status"; }
python3 "$here/soak_layers.py" shots || fail "a layer cycle did not show what it should"
echo "soak: ok"
