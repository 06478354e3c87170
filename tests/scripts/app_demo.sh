#!/usr/bin/env bash
# The demo session that tools/run.sh plays without a display must run through
# and leave the painting in the Documents folder.
# Usage: app_demo.sh ZORBEL SCRIPT
set -euo pipefail
zorbel=$1
demo=$(cd "$(dirname "$2")/../.." && pwd)/resources/demo.zscript
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
"$zorbel" --headless --home "$home" --script "$demo"
for f in zorbel.png zorbelorgimage.png tempundo.png; do
  [ -s "$home/Documents/$f" ] || { echo "app_demo: no $f after the demo" >&2; exit 1; }
done
[ -s "$home/config/defaults.json" ] || { echo "app_demo: no settings after the demo" >&2; exit 1; }
echo "app_demo: ok"
