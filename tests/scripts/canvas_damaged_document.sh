#!/usr/bin/env bash
# A painting the app cannot read is kept as it was, beside the new one that
# termination writes. Usage: canvas_damaged_document.sh ZORBEL SCRIPT
set -euo pipefail
zorbel=$1
script=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home/config" "$work/home/Documents"
echo '{"FingerX": 0.0, "FingerY": 0.0, "ToolID": 1}' > "$work/home/config/defaults.json"
printf '\211PNG\r\n\032\n cut short' > "$work/damaged"
cp "$work/damaged" "$work/home/Documents/zorbel.png"
cd "$work"
"$zorbel" --headless --home "$work/home" --script "$script" 2>log.txt || { cat log.txt >&2; exit 1; }
cmp "$work/damaged" "$work/home/Documents/zorbel.png.damaged" ||
  { echo "canvas_damaged_document: the damaged painting was not kept" >&2; exit 1; }
grep -q "zorbel.png is damaged and was not used: .*kept it as .*zorbel.png.damaged" log.txt ||
  { cat log.txt >&2; echo "canvas_damaged_document: no log line says where it went" >&2; exit 1; }
python3 "$here/png_pixels.py" "$work/home/Documents/zorbel.png" "160 240 dark" "100 100 white"
echo "canvas_damaged_document: ok"
