#!/usr/bin/env bash
# Each folder includes only itself and the folders below it: platform, then
# effects, canvas, layers, pickers, app. Fails with every include that runs
# back up. Usage: layering.sh BUILD_DIR (unused; the sources are beside this script)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
order=(platform effects canvas layers pickers app)
status=0
for i in "${!order[@]}"; do
  folder=${order[$i]}
  [ -d "$root/$folder" ] || continue
  for above in "${order[@]:$((i + 1))}"; do
    hits=$(grep -rnE "^\s*#\s*include\s+\"$above/" "$root/$folder" --include='*.h' --include='*.cpp' || true)
    if [ -n "$hits" ]; then
      echo "layering: $folder/ includes $above/, which lies above it:" >&2
      echo "$hits" | sed "s|$root/||" >&2
      status=1
    fi
  done
done
[ $status -eq 0 ] && echo "layering: ok"
exit $status
