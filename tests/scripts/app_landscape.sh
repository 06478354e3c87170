#!/usr/bin/env bash
# A landscape document (a 480 x 320 painting, document orientation 3) is shown
# turned on the portrait canvas; when the device turns to landscape the chrome
# turns with it and the picture shows upright, filling the window; turning
# back does not turn the interface away from the document's orientation.
# Usage: app_landscape.sh ZORBEL SCRIPT
set -euo pipefail
zorbel=$1
script=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
source "$here/landscape_home.sh"
make_landscape_home home

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; exit 1; }

PYTHONPATH="$here" python3 - <<'PY'
import sys
from png_pixels import read_png

def decode(path):
    w, h, ch, rows = read_png(path)
    return w, h, lambda x, y: tuple(rows[y][x * ch:x * ch + 3])

sky, grass = (0x99, 0xcc, 0xff), (0x66, 0xaa, 0x44)
def near(p, q): return all(abs(a - b) <= 2 for a, b in zip(p, q))
def check(cond, what):
    if not cond:
        print('app_landscape: ' + what, file=sys.stderr)
        sys.exit(1)

w, h, px = decode('portrait.png')
check((w, h) == (320, 480), 'portrait screenshot is %dx%d' % (w, h))
# Turned a quarter clockwise: the strip runs down the left edge.
check(near(px(20, 240), grass), 'portrait: no strip on the left, %s' % (px(20, 240),))
check(near(px(200, 240), sky), 'portrait: no sky in the middle')

w, h, px = decode('landscape.png')
check((w, h) == (480, 320), 'landscape screenshot is %dx%d' % (w, h))
# Upright and still: the strip along the bottom, sky above, edge to edge.
check(near(px(240, 262), grass), 'landscape: no strip at the bottom, %s' % (px(240, 262),))
check(near(px(2, 262), grass) and near(px(477, 262), grass), 'landscape: strip not edge to edge')
check(near(px(240, 150), sky) and near(px(2, 150), sky), 'landscape: no sky above the strip')
check(near(px(240, 240), sky), 'landscape: the picture moved')

# The interface turns only to the document's orientation: turning the device
# back to portrait leaves a landscape document's interface as it was.
w, h, px = decode('back.png')
check((w, h) == (480, 320), 'turned back to portrait, the screenshot is %dx%d' % (w, h))
check(near(px(240, 262), grass), 'turned back to portrait, the picture moved')
PY
echo "app_landscape: ok"
