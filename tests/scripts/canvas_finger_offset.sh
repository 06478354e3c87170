#!/usr/bin/env bash
# Runs canvas_finger_offset.zscript with the finger offset stored in the
# settings, then reads the screenshot: paint 32 points above the second tap
# only; the hovering pointer's mark 32 points above it, gone once it left.
# Usage: canvas_finger_offset.sh ZORBEL SCRIPT
set -euo pipefail
zorbel=$1
script=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home/config"
cat > "$work/home/config/defaults.json" <<'J'
{"FingerX": 0.0, "FingerY": -32.0, "CursorDisplay": true, "ToolID": 1}
J
cd "$work"
"$zorbel" --headless --home "$work/home" --script "$script" 2>log.txt || { cat log.txt >&2; exit 1; }
python3 "$here/png_pixels.py" offset.png \
  "100 168 white" "100 200 white" \
  "200 268 dark" "200 300 white" "200 236 white"
python3 "$here/png_pixels.py" hover.png \
  "150 268 dark" "154 268 dark" "145 268 dark" "150 263 dark" "150 300 white" "156 268 white"
python3 "$here/png_pixels.py" left.png "150 268 white" "154 268 white" "150 263 white"
echo "canvas_finger_offset: ok"
