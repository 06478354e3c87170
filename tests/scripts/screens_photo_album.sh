#!/usr/bin/env bash
# Runs screens_photo_album.zscript with pictures made by GStreamer's test
# source: the newest (a damaged file) stays blank and is refused, the next (a
# red picture) becomes the painting; without a camera "Take Photo" closes the
# new-document screen. Usage: screens_photo_album.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

mkdir -p home/Pictures
picture() { # NAME PATTERN AGE
  gst-launch-1.0 -q videotestsrc num-buffers=1 pattern="$2" ! video/x-raw,width=640,height=960 \
    ! jpegenc ! filesink location="home/Pictures/$1"
  touch -d "2026-01-01 00:00:$3" "home/Pictures/$1"
}
picture old.jpg smpte 10
picture green.jpg green 20
picture red.jpg red 30
head -c 2000 home/Pictures/old.jpg > home/Pictures/damaged.jpg
touch -d "2026-01-01 00:00:40" home/Pictures/damaged.jpg
"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; fail "run failed"; }
export PYTHONPATH="$here"
python3 - grid.png home/Documents/zorbel.png chosen.png <<'PY' || fail "the pictures are not as expected"
import sys
from png_pixels import read_png
def rgb(shot, x, y):
    w, h, ch, rows = shot
    return tuple(rows[y][x * ch:x * ch + 3])
grid = read_png(sys.argv[1])
# Cells of 77.5 points from (2, 66): blank grey, red, green, the bars.
blank, red, green = rgb(grid, 40, 100), rgb(grid, 120, 100), rgb(grid, 200, 100)
assert max(blank) - min(blank) < 10 and 190 < blank[0] < 230, f"damaged cell is {blank}"
assert red[0] > 200 and red[1] < 60, f"second cell is {red}"
assert green[1] > 200 and green[0] < 60, f"third cell is {green}"
for path in sys.argv[2:]:
    shot = read_png(path)
    p = rgb(shot, 160, 240)
    assert p[0] > 200 and p[1] < 60 and p[2] < 60, f"{path}: {p} is not the red photo"
PY
echo "screens_photo_album: ok"
