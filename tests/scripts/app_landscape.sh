#!/usr/bin/env bash
# A landscape document (a 480 x 320 painting, document orientation 3) is shown
# turned on the portrait canvas; when the device turns to landscape the chrome
# turns with it and the picture shows upright, filling the window; turning
# back does not turn the interface away from the document's orientation.
# Usage: app_landscape.sh ZORBEL SCRIPT
set -euo pipefail
zorbel=$1
script=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p home/Documents home/config
# Sky over a green strip along the bottom edge.
cat > land.svg <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="480" height="320">
<rect width="480" height="320" fill="#99ccff"/>
<rect x="0" y="250" width="480" height="70" fill="#66aa44"/>
</svg>
SVG
rsvg-convert -o home/Documents/zorbel.png land.svg
cp home/Documents/zorbel.png home/Documents/zorbelorgimage.png
echo '{"DocumentOrientation": 3}' > home/config/defaults.json

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; exit 1; }

python3 - <<'PY'
import struct, zlib, sys

def decode(path):
    data = open(path, 'rb').read()
    assert data[:8] == b'\x89PNG\r\n\x1a\n'
    pos, idat = 8, b''
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            w, h, depth, colour = struct.unpack('>IIBB', body[:10])
            assert depth == 8 and colour in (2, 6)
            bpp = 3 if colour == 2 else 4
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    raw, rows, prev, i = zlib.decompress(idat), [], bytearray(w * bpp), 0
    for _ in range(h):
        f, line = raw[i], bytearray(raw[i + 1:i + 1 + w * bpp])
        i += 1 + w * bpp
        for x in range(len(line)):
            a = line[x - bpp] if x >= bpp else 0
            b = prev[x]
            c = prev[x - bpp] if x >= bpp else 0
            if f == 1: line[x] = (line[x] + a) & 255
            elif f == 2: line[x] = (line[x] + b) & 255
            elif f == 3: line[x] = (line[x] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return w, h, lambda x, y: tuple(rows[y][x * bpp:x * bpp + 3])

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
