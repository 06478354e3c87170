#!/usr/bin/env bash
# Runs canvas_clone.zscript over a stored painting with the clone tool stored
# as the current tool, then reads the screenshot.
# Usage: canvas_clone.sh ZORBEL SCRIPT
set -euo pipefail
zorbel=$1
script=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home/config" "$work/home/Documents"
cat > "$work/home/config/defaults.json" <<'J'
{"FingerX": 0.0, "FingerY": 0.0, "ToolID": 3}
J
python3 "$here/png_pixels.py" --write-square "$work/home/Documents/zorbel.png" 90 90 130 130
cd "$work"
"$zorbel" --headless --home "$work/home" --script "$script" 2>log.txt || { cat log.txt >&2; exit 1; }
# The copy lands round (160, 310); the set-up taps changed nothing; the
# source is still there.
python3 "$here/png_pixels.py" clone.png \
  "160 310 dark" "150 300 dark" "170 320 dark" \
  "150 260 white" "200 310 white" "110 110 dark" "140 100 white"
echo "canvas_clone: ok"
