#!/usr/bin/env bash
# Every effect through the tool picker: each block of the .zscript runs in a
# fresh home whose painting is a test picture; the painting the run leaves in
# Documents must be, pixel for pixel, what zorbel-fx computes from that
# picture. The slider effects' earlier movements must leave no trace (each
# preview starts again from the snapshot).
# Usage: effects_tool_picker.sh ZORBEL SCRIPT
set -euo pipefail
zorbel=$1
script=$2
here=$(cd "$(dirname "$0")" && pwd)
fx="$(dirname "$zorbel")/../tools/zorbel-fx"
[ -x "$fx" ] || { echo "effects_tool_picker: zorbel-fx is not built beside $zorbel" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export PYTHONPATH="$here"

fail() { echo "effects_tool_picker: $*" >&2; exit 1; }

cat > picture.svg <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="320" height="480">
<defs><linearGradient id="g" x1="0" y1="0" x2="1" y2="1">
<stop offset="0" stop-color="#204080"/><stop offset="0.5" stop-color="#e0a030"/>
<stop offset="1" stop-color="#30a060"/></linearGradient></defs>
<rect width="320" height="480" fill="url(#g)"/>
<circle cx="160" cy="240" r="90" fill="#c03050"/>
<rect x="40" y="60" width="80" height="120" fill="#f0f0f0"/>
<rect x="200" y="320" width="90" height="90" fill="#101010"/>
<path d="M0 400 L320 300" stroke="#ffffff" stroke-width="12"/>
</svg>
SVG
rsvg-convert -o picture.png picture.svg

# Split the script at its "#=" lines: block k gets its expected effect in args.k.
awk '/^#= /{n++; sub(/^#= /, ""); print > ("args." n); next} n {print > ("block." n ".zscript")}' "$script"
count=$(ls args.* | wc -l)
[ "$count" -eq 11 ] || fail "expected 11 effect blocks, found $count"

for k in $(seq 1 "$count"); do
    read -r -a args < "args.$k"
    name=${args[0]}
    home="home.$k"
    mkdir -p "$home/Documents"
    cp picture.png "$home/Documents/zorbel.png"
    cp picture.png "$home/Documents/zorbelorgimage.png"
    "$zorbel" --headless --home "$home" --script "block.$k.zscript" 2>"log.$k" ||
        { cat "log.$k" >&2; fail "$name: the run failed"; }
    "$fx" "${args[0]}" "${args[@]:1}" picture.png "expected.$k.png" ||
        fail "$name: zorbel-fx ${args[*]} failed"
    python3 - "$home/Documents/zorbel.png" "expected.$k.png" "picture.png" "${args[*]}" <<'PY' || fail "$name: the painting is not the effect's picture"
import sys
from png_pixels import read_png
got, want, before = (read_png(p) for p in sys.argv[1:4])
assert got[:2] == want[:2] == (320, 480), f"sizes {got[:2]} {want[:2]}"
def rgb(shot):
    w, h, ch, rows = shot
    return [bytes(row[x * ch:x * ch + 3]) for row in rows for x in range(w)]
g, e, b = rgb(got), rgb(want), rgb(before)
differ = sum(1 for p, q in zip(g, e) if p != q)
assert differ == 0, f"{sys.argv[4]}: {differ} pixels differ from zorbel-fx"
assert g != b, f"{sys.argv[4]}: the picture did not change"
PY
done
echo "effects_tool_picker: ok ($count effects)"
