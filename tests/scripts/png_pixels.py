"""Pixel checks on the headless driver's screenshots and saved pictures.

As a module: read_png(path) -> (width, height, channels, rows).

png_pixels.py SHOT.png "X Y white|dark|grey" ...   checks pixels (exit 1 on a miss);
    grey is white greyed under a translucent bar, a sheet or an alert
png_pixels.py --same A.png B.png
    checks that two screenshots show the same below the status bar (whose
    clock may have moved on between them)
png_pixels.py --ink-box SHOT.png DARKEST [X0 X1]
    prints the box of the pixels darker than DARKEST (their least channel)
    between the bars (rows 70..409), in columns X0 <= x < X1 (all when not
    given), as "x0 y0 x1 y1", or "none"
png_pixels.py --write-square OUT.png X0 Y0 X1 Y1
    writes a 320 x 480 white picture with a black square X0 <= x < X1, Y0 <= y < Y1
"""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert depth == 8 and interlace == 0, "only 8-bit, non-interlaced pictures"
    channels = {0: 1, 2: 3, 4: 2, 6: 4}[colour]
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prev, i = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[i], bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        for x in range(stride):
            a = line[x - channels] if x >= channels else 0
            b = prev[x]
            c = prev[x - channels] if x >= channels else 0
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[x] = (line[x] + pred) & 255
        rows.append(line)
        prev = line
    return width, height, channels, rows


def grey(shot, x, y):
    width, height, channels, rows = shot
    px = rows[y][x * channels:(x + 1) * channels]
    return sum(px[:3]) / 3 if channels >= 3 else px[0]


def same_below_status_bar(a, b, status_bar=20):
    if a[:3] != b[:3]:
        return f"sizes differ: {a[:2]} and {b[:2]}"
    differ = sum(ra != rb for ra, rb in zip(a[3][status_bar:], b[3][status_bar:]))
    return f"{differ} rows differ" if differ else None


def ink_box(shot, darkest, lo=0, hi=None):
    width, height, channels, rows = shot
    xs, ys = [], []
    for y in range(70, 410):
        row = rows[y]
        for x in range(lo, width if hi is None else hi):
            if min(row[x * channels:x * channels + 3]) < darkest:
                xs.append(x)
                ys.append(y)
    return f"{min(xs)} {min(ys)} {max(xs)} {max(ys)}" if xs else "none"


def write_square(path, x0, y0, x1, y1):
    raw = bytearray()
    for y in range(480):
        raw.append(0)
        for x in range(320):
            inside = x0 <= x < x1 and y0 <= y < y1
            raw += bytes((0, 0, 0, 255)) if inside else bytes((255, 255, 255, 255))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xffffffff))

    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 320, 480, 8, 6, 0, 0, 0)) +
           chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b""))
    open(path, "wb").write(png)


def main(args):
    if args[0] == "--write-square":
        write_square(args[1], *map(int, args[2:6]))
        return 0
    if args[0] == "--ink-box":
        print(ink_box(read_png(args[1]), *map(int, args[2:5])))
        return 0
    if args[0] == "--same":
        why = same_below_status_bar(read_png(args[1]), read_png(args[2]))
        if why:
            print(f"{args[1]} and {args[2]}: {why}", file=sys.stderr)
            return 1
        return 0
    shot = read_png(args[0])
    failed = 0
    for check in args[1:]:
        x, y, want = check.split()
        value = grey(shot, int(x), int(y))
        if want == "white":
            ok = value > 240
        elif want == "dark":
            ok = value < 60
        elif want == "grey":
            ok = 80 < value < 220
        else:
            raise SystemExit(f"unknown pixel check {want!r}")
        if not ok:
            print(f"pixel ({x}, {y}) is {value:.0f}, expected {want}", file=sys.stderr)
            failed += 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
