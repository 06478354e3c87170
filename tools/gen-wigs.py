#!/usr/bin/env python3
"""Writes the two clown wigs (resources/art/overlays): curly masses over the
ears and across the top of the head, leaving the face free. Each mass is a
union of circles (outlined once, as one cloud) with curl marks inside; the
rainbow wig colours its curls by their angle around the head.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources", "art", "overlays")
INK = "#2b2433"
RAINBOW = ["#8e5cf7", "#3da5ff", "#4cd964", "#ffe14d", "#ff9f1c", "#ff4d4d"]


def curls():
    """(x, y, r, t): t runs 0..1 from the lower left, over the top, to the lower right."""
    out = []
    cx, cy = 300, 330
    # Arc of curls around the head: angle from 200 degrees (lower left) to -20 (lower right).
    steps = 17
    for i in range(steps):
        t = i / (steps - 1)
        a = math.radians(200 - 220 * t)
        # Big puffs at the sides, a thinner band over the top.
        side = abs(math.cos(a))
        rx, ry = 235, 255
        r = 36 + 52 * side
        x = cx + rx * math.cos(a)
        y = cy - ry * math.sin(a)
        out.append((x, y, r, t))
        if side > 0.5:  # a second row outside on the sides makes the puffs fuller
            out.append((cx + (rx + 45) * math.cos(a), y + 30, r * 0.85, t))
    return out


def wig(colour_of, comment):
    cs = curls()
    minx = min(x - r for x, y, r, t in cs) - 10
    maxx = max(x + r for x, y, r, t in cs) + 10
    miny = min(y - r for x, y, r, t in cs) - 10
    maxy = max(y + r for x, y, r, t in cs) + 10
    w, h = maxx - minx, maxy - miny
    height = round(600 * h / w)
    parts = [f'<svg xmlns="http://www.w3.org/2000/svg" width="600" height="{height}" '
             f'viewBox="{minx:.1f} {miny:.1f} {w:.1f} {h:.1f}">', f"  <!-- {comment} -->"]
    # One outline around the whole mass: every circle stroked thick, then filled.
    parts.append(f'  <g fill="{INK}">' + "".join(
        f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{r + 6:.1f}"/>' for x, y, r, t in cs) + "</g>")
    for x, y, r, t in cs:
        parts.append(f'  <circle cx="{x:.1f}" cy="{y:.1f}" r="{r:.1f}" fill="{colour_of(t)}"/>')
    # Curl marks and highlights, drawn over the fills.
    for i, (x, y, r, t) in enumerate(cs):
        if i % 2:
            continue
        k = r * 0.45
        parts.append(f'  <path d="M{x - k:.1f} {y + k * 0.2:.1f} C{x - k:.1f} {y - k:.1f} {x + k:.1f} {y - k:.1f} '
                     f'{x + k * 0.6:.1f} {y + k * 0.2:.1f} C{x + k * 0.3:.1f} {y + k * 0.6:.1f} {x - k * 0.2:.1f} '
                     f'{y + k * 0.4:.1f} {x - k * 0.1:.1f} {y:.1f}" fill="none" stroke="#000" stroke-opacity="0.22" '
                     f'stroke-width="6" stroke-linecap="round"/>')
        parts.append(f'  <path d="M{x - r * 0.62:.1f} {y - r * 0.1:.1f} C{x - r * 0.6:.1f} {y - r * 0.45:.1f} '
                     f'{x - r * 0.35:.1f} {y - r * 0.65:.1f} {x - r * 0.05:.1f} {y - r * 0.68:.1f}" fill="none" '
                     f'stroke="#ffffff" stroke-opacity="0.45" stroke-width="7" stroke-linecap="round"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n", height


def rainbow(t):
    return RAINBOW[min(int(t * len(RAINBOW)), len(RAINBOW) - 1)]


def fiery(t):
    return ["#e53935", "#f4511e", "#ff7043", "#ff8a3d"][int(t * 17) % 4]


for name, colour_of, comment in (
        ("clownwigrainbow4.overlay", rainbow, "A rainbow clown wig: curly puffs over the ears and the head, the face left free."),
        ("clownwig4.overlay", fiery, "A curly clown wig in red and orange, the face left free.")):
    text, _ = wig(colour_of, comment)
    with open(os.path.join(OUT, name + ".svg"), "w") as f:
        f.write(text)
