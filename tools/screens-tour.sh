#!/usr/bin/env bash
# Screenshots of every screen (main view, pickers, sheets, settings, key help,
# the saved note) at one and at two pixels a point, for looking over by eye:
# blurred, misplaced or clipped drawing shows at one scale or the other.
# Usage: tools/screens-tour.sh [ZORBEL] [OUT_DIR]
#   (default build/release/app/zorbel, pictures to OUT_DIR/scale1 and /scale2)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
zorbel=$(realpath "${1:-build/release/app/zorbel}")
out=$(realpath -m "${2:-screens-tour}")
for scale in 1 2; do
  dir=$out/scale$scale
  rm -rf "$dir"
  mkdir -p "$dir"
  (cd "$dir" && "$zorbel" --headless --home home --scale "$scale" \
      --script "$here/screens-tour.zscript" 2>log.txt) ||
    { cat "$dir/log.txt" >&2; echo "screens-tour: the run at scale $scale failed" >&2; exit 1; }
  rm -rf "$dir/home"
  echo "screens-tour: $(ls "$dir"/*.png | wc -l) screens at scale $scale in $dir"
done
