#!/usr/bin/env python3
"""Writes the colour brushes made of many small parts or sharing one shape
(resources/art/colorbrushes): star clusters, sprinkles, confetti, pixie dust,
dots, snowflakes and the eight arrows. Scatter patterns come from a seeded
generator, so a run gives the same pictures every time. Run it again after a
change here; the SVGs it writes are the sources.
"""
import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources", "art", "colorbrushes")
INK = "#2b2433"


def write(name, size, comment, body, view=None):
    view = view or f"0 0 {size} {size}"
    with open(os.path.join(OUT, name + ".svg"), "w") as f:
        f.write(f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="{view}">\n'
                f"  <!-- {comment} -->\n{body}\n</svg>\n")


def star_points(cx, cy, r, inner=0.45, n=5, turn=0.0):
    pts = []
    for i in range(2 * n):
        a = -math.pi / 2 + turn + i * math.pi / n
        rr = r if i % 2 == 0 else r * inner
        pts.append(f"{cx + rr * math.cos(a):.2f},{cy + rr * math.sin(a):.2f}")
    return " ".join(pts)


def scatter(rng, count, rmin, rmax, size=64, margin=2.0, gap=1.5, round_area=True):
    """Non-overlapping (x, y, r) inside the square (or its inscribed circle)."""
    items = []
    for _ in range(4000):
        if len(items) == count:
            break
        r = rng.uniform(rmin, rmax)
        x = rng.uniform(r + margin, size - r - margin)
        y = rng.uniform(r + margin, size - r - margin)
        c = size / 2
        if round_area and math.hypot(x - c, y - c) > c - r - margin:
            continue
        if any(math.hypot(x - a, y - b) < r + q + gap for a, b, q in items):
            continue
        items.append((x, y, r))
    return items


rng = random.Random(2024)

# Star clusters.
for name, colours, comment in (
        ("starsbrush", ["#ffd43b"], "A cluster of golden stars."),
        ("starsbrushcolors", ["#ff5c7a", "#ffd43b", "#4cc9f0", "#8ce05a", "#b07cff", "#ff9f43"],
         "A cluster of stars in many colours.")):
    parts = []
    for i, (x, y, r) in enumerate(scatter(rng, 7, 6, 13, gap=0.5)):
        c = colours[i % len(colours)]
        turn = rng.uniform(-0.4, 0.4)
        parts.append(f'  <polygon points="{star_points(x, y, r, turn=turn)}" fill="{c}" stroke="{INK}" '
                     f'stroke-width="1.4" stroke-linejoin="round"/>')
        parts.append(f'  <circle cx="{x - r * 0.25:.2f}" cy="{y - r * 0.2:.2f}" r="{r * 0.14:.2f}" '
                     f'fill="#ffffff" fill-opacity="0.8"/>')
    write(name, 64, comment, "\n".join(parts))

# Sprinkles: short rounded rods in sweet colours.
jimmies = ["#ff5c8a", "#ffd43b", "#4cc9f0", "#8ce05a", "#b07cff", "#ff9f43", "#ffffff"]
parts = []
for i, (x, y, r) in enumerate(scatter(rng, 22, 4, 5, gap=0.2)):
    a = rng.uniform(0, 180)
    c = jimmies[i % len(jimmies)]
    parts.append(f'  <g transform="rotate({a:.0f} {x:.1f} {y:.1f})">'
                 f'<rect x="{x - 5:.1f}" y="{y - 1.6:.1f}" width="10" height="3.2" rx="1.6" fill="{INK}"/>'
                 f'<rect x="{x - 4.3:.1f}" y="{y - 0.95:.1f}" width="8.6" height="1.9" rx="0.95" fill="{c}"/></g>')
write("coloredjimmies.brush", 64, "Coloured sprinkles.", "\n".join(parts))

# Confetti: little squares, circles and triangles, turned every way.
parts = []
for i, (x, y, r) in enumerate(scatter(rng, 16, 3.5, 5.5, gap=0.8, round_area=False)):
    c = jimmies[i % 6]
    a = rng.uniform(0, 90)
    kind = i % 3
    if kind == 0:
        shape = f'<rect x="{x - r:.1f}" y="{y - r * 0.7:.1f}" width="{2 * r:.1f}" height="{1.4 * r:.1f}" rx="0.6"/>'
    elif kind == 1:
        shape = f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{r * 0.8:.1f}"/>'
    else:
        shape = (f'<polygon points="{x:.1f},{y - r:.1f} {x + r * 0.9:.1f},{y + r * 0.6:.1f} '
                 f'{x - r * 0.9:.1f},{y + r * 0.6:.1f}"/>')
    parts.append(f'  <g transform="rotate({a:.0f} {x:.1f} {y:.1f})" fill="{c}" stroke="{INK}" '
                 f'stroke-width="1" stroke-linejoin="round">{shape}</g>')
write("confetti.brush", 64, "Party confetti.", "\n".join(parts))

# Pixie dust: four-pointed sparkles and glowing specks.
def sparkle(x, y, r, colour):
    k = r * 0.22
    d = (f"M{x:.2f} {y - r:.2f} Q{x + k:.2f} {y - k:.2f} {x + r:.2f} {y:.2f} "
         f"Q{x + k:.2f} {y + k:.2f} {x:.2f} {y + r:.2f} Q{x - k:.2f} {y + k:.2f} {x - r:.2f} {y:.2f} "
         f"Q{x - k:.2f} {y - k:.2f} {x:.2f} {y - r:.2f} Z")
    return f'  <path d="{d}" fill="{colour}"/>'


for name, glow, core, comment in (
        ("pixiedust1.brush", "#9fd8ff", "#ffffff", "Silvery-blue pixie dust."),
        ("pixiedust2.brush", "#ffd96b", "#fffbe6", "Golden pixie dust."),
        ("pixiedust3.brush", "#ff9ee0", "#fff0fb", "Pink pixie dust.")):
    parts = [f'  <defs><radialGradient id="glow"><stop offset="0" stop-color="{glow}" stop-opacity="0.9"/>'
             f'<stop offset="1" stop-color="{glow}" stop-opacity="0"/></radialGradient></defs>']
    for (x, y, r) in scatter(rng, 9, 3, 11, gap=0):
        if r > 6:
            parts.append(f'  <circle cx="{x:.2f}" cy="{y:.2f}" r="{r * 0.8:.2f}" fill="url(#glow)"/>')
            parts.append(sparkle(x, y, r, glow))
            parts.append(sparkle(x, y, r * 0.55, core))
        else:
            parts.append(f'  <circle cx="{x:.2f}" cy="{y:.2f}" r="{r * 0.9:.2f}" fill="url(#glow)"/>')
            parts.append(f'  <circle cx="{x:.2f}" cy="{y:.2f}" r="{r * 0.3:.2f}" fill="{core}"/>')
    write(name, 64, comment, "\n".join(parts))

# Dots: polka dots in bright colours.
parts = []
for i, (x, y, r) in enumerate(scatter(rng, 10, 3.5, 8, size=48, gap=1.2)):
    c = jimmies[i % 6]
    parts.append(f'  <circle cx="{x:.2f}" cy="{y:.2f}" r="{r:.2f}" fill="{c}" stroke="{INK}" stroke-width="1.2"/>')
    parts.append(f'  <circle cx="{x - r * 0.35:.2f}" cy="{y - r * 0.35:.2f}" r="{r * 0.25:.2f}" '
                 f'fill="#ffffff" fill-opacity="0.7"/>')
write("dotsbrush", 48, "Bright polka dots.", "\n".join(parts))

# Snowflakes: six arms with side twigs.
def flake(x, y, r, width):
    arms = []
    for i in range(6):
        a = math.radians(60 * i - 90)
        ex, ey = x + r * math.cos(a), y + r * math.sin(a)
        arms.append(f"M{x:.2f} {y:.2f} L{ex:.2f} {ey:.2f}")
        for t, l in ((0.5, 0.32), (0.75, 0.22)):
            bx, by = x + r * t * math.cos(a), y + r * t * math.sin(a)
            for s in (-1, 1):
                b = a + s * math.radians(45)
                arms.append(f"M{bx:.2f} {by:.2f} L{bx + r * l * math.cos(b):.2f} {by + r * l * math.sin(b):.2f}")
    d = " ".join(arms)
    return (f'  <path d="{d}" fill="none" stroke="#3d6fb6" stroke-width="{width * 2.2:.2f}" stroke-linecap="round"/>\n'
            f'  <path d="{d}" fill="none" stroke="#e9f6ff" stroke-width="{width:.2f}" stroke-linecap="round"/>')


write("snowflake.brush", 40, "One snowflake.", flake(32, 32, 28, 3.4), view="0 0 64 64")
parts = [flake(x, y, r, max(1.1, r * 0.11)) for (x, y, r) in scatter(rng, 5, 8, 17, gap=1)]
write("snowflakes.brush", 64, "Several snowflakes.", "\n".join(parts))

# Arrows: one shape, turned four ways, in red and in green.
arrow = "M6 26 H30 V10 L58 32 L30 54 V38 H6 Z"
for colour, light, dark in (("red", "#ff6b6b", "#d62828"), ("green", "#7be07b", "#23a04a")):
    for direction, turn in (("up", -90), ("right", 0), ("down", 90), ("left", 180)):
        body = (f'  <defs><linearGradient id="a" x1="0" y1="0" x2="0" y2="1" '
                f'gradientTransform="rotate({-turn} 0.5 0.5)">'
                f'<stop offset="0" stop-color="{light}"/><stop offset="1" stop-color="{dark}"/></linearGradient></defs>\n'
                f'  <g transform="rotate({turn} 32 32)">\n'
                f'    <path d="{arrow}" fill="url(#a)" stroke="{INK}" stroke-width="3" stroke-linejoin="round"/>\n'
                f'    <path d="M10 30 H33 V18" fill="none" stroke="#ffffff" stroke-opacity="0.55" '
                f'stroke-width="3" stroke-linecap="round" stroke-linejoin="round"/>\n  </g>')
        write(f"{colour}arrow{direction}.brush", 40, f"{colour.capitalize()} arrow pointing {direction}.",
              body, view="0 0 64 64")
