#!/usr/bin/env python3
"""Checks the screenshots of the soak's layer cycles (tools/gen-soak.py --shots) against
what each should show: a new caption or overlay at the middle, moved to where the finger
went, grown or shrunk by the pinch, mirrored by the flip, and gone after its deletion (or
left in the painting by flattening).

soak_layers.py SHOTS_DIR   (exit 1 with a line per miss)
"""
import json
import os
import sys

from png_pixels import read_png

# Between the bars, which may come and go between two shots.
TOP, BOTTOM = 70, 410


def load(path):
    w, h, ch, rows = read_png(path)
    return w, [[tuple(rows[y][x * ch:x * ch + 3]) for x in range(w)] for y in range(h)]


def changed(before, after):
    """The box (x0, y0, x1, y1) of the pixels that differ between two shots, or None."""
    w, a = before
    _, b = after
    xs, ys = [], []
    for y in range(TOP, BOTTOM):
        ra, rb = a[y], b[y]
        for x in range(w):
            if max(abs(p - q) for p, q in zip(ra[x], rb[x])) > 40:
                xs.append(x)
                ys.append(y)
    return (min(xs), min(ys), max(xs), max(ys)) if xs else None


def clipped(box, w):
    return box[0] <= 0 or box[2] >= w - 1 or box[1] <= TOP or box[3] >= BOTTOM - 1


def mirror_match(before, a, b, box, w):
    """The share of the pixels that shot a changed in the box found mirrored about the
    middle of the painting in shot b."""
    _, base = before
    _, pa = a
    _, pb = b
    x0, y0, x1, y1 = box
    hits = total = 0
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            if max(abs(p - q) for p, q in zip(pa[y][x], base[y][x])) > 40:
                mx = w - 1 - x
                total += 1
                hits += max(abs(p - q) for p, q in zip(pb[y][mx], base[y][mx])) > 40
    return hits / total if total else 0


def main(folder):
    entries = json.load(open(os.path.join(folder, "expected.json")))
    misses = []
    checked = {}
    shots = {}
    boxes = {}
    base = None
    for e in entries:
        path = os.path.join(folder, os.path.basename(e["file"]))
        shot = load(path)
        shots[e["phase"]] = shot
        name = os.path.basename(path)
        w = shot[0]
        if e["phase"] == "before":
            base = shot
            boxes = {}
            continue
        box = changed(base, shot)
        boxes[e["phase"]] = box
        if e["phase"] in ("added", "moved", "pinched", "flipped"):
            if not box:
                misses.append(f"{name}: no {e['layer']} to be seen")
                continue
            # A box partly under a bar or past the edge does not show where its middle is. The
            # ink's middle is not the layer's (a caption's line, a lopsided picture), but it
            # goes where the layer goes.
            added = boxes.get("added")
            cx, cy = (box[0] + box[2]) / 2, (box[1] + box[3]) / 2
            ok = None
            if clipped(box, w):
                pass
            elif e["phase"] == "added":
                ok = abs(cx - e["x"]) <= 40 and abs(cy - e["y"]) <= 40
            elif e["phase"] == "moved" and added and not clipped(added, w):
                ax, ay = (added[0] + added[2]) / 2, (added[1] + added[3]) / 2
                ok = abs(cx - ax - (e["x"] - 160)) <= 4 and abs(cy - ay - (e["y"] - 230)) <= 4
            if ok is not None:
                checked["placed"] = checked.get("placed", 0) + 1
            if ok is False:
                misses.append(f"{name}: the {e['layer']}'s ink is centred at ({cx:.0f}, {cy:.0f})"
                              f" for a layer at ({e['x']:.0f}, {e['y']:.0f})")
        if e["phase"] == "pinched" and box and boxes.get("moved"):
            # Scaled alike both ways: measured across whichever way neither box is cut off.
            moved = boxes["moved"]
            across = [k for k, (lo, hi) in enumerate(((0, w - 1), (TOP, BOTTOM - 1)))
                      if all(b[k] > lo and b[k + 2] < hi for b in (box, moved))]
            if across:
                k = across[0]
                checked["scaled"] = checked.get("scaled", 0) + 1
                scale = (box[k + 2] - box[k]) / max(1, moved[k + 2] - moved[k])
                if abs(scale / e["scale"] - 1) > 0.15:
                    misses.append(f"{name}: the pinch scaled the {e['layer']} by {scale:.2f},"
                                  f" not {e['scale']:.2f}")
        pinched = boxes.get("pinched")
        if e["phase"] == "flipped" and pinched and not clipped(pinched, w):
            checked["mirrored"] = checked.get("mirrored", 0) + 1
            share = mirror_match(base, shots["pinched"], shot, pinched, w)
            if share < 0.8:
                misses.append(f"{name}: the overlay is not the mirror image of the one before the"
                              f" flip ({share:.0%} of its pixels mirrored)")
        if e["phase"] in ("gone", "flattened"):
            checked[e["phase"]] = checked.get(e["phase"], 0) + 1
        if e["phase"] == "gone" and box:
            misses.append(f"{name}: the deleted {e['layer']} is still to be seen at {box}")
        if e["phase"] == "flattened" and not box:
            misses.append(f"{name}: the flattened {e['layer']} left nothing in the painting")
    for m in misses:
        print("soak_layers: " + m)
    print("soak_layers: %d shots; checked %s" % (
        len(entries), ", ".join("%s %d" % kv for kv in sorted(checked.items()))))
    return 1 if misses else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
