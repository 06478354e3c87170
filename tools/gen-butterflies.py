#!/usr/bin/env python3
"""Writes the butterfly pictures (resources/art/overlays and colorbrushes).

Every butterfly shares one drawing: two pairs of wings around a body, in the
cartoon style of the other pictures (dark outline, flat colours, a soft
gradient towards the wing tips, spots). Each kind differs in its colours,
markings and wing shape; the colour brushes of the same kind are rendered from
these sources at brush size (art/renders.txt). Run it again after a change
here; the SVGs it writes are the sources.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
ART = os.path.join(HERE, "..", "resources", "art")
INK = "#2b2433"

# Upper and lower left wing in a 200 x 160 box, body on x = 100. Shapes are
# variants: "round" (rounded wings) and "swallow" (pointed, with tails).
WINGS = {
    "round": (
        "M97 66 C80 30 52 10 28 12 C8 14 4 36 12 56 C20 76 50 86 96 80 Z",
        "M97 84 C70 84 38 92 30 114 C24 132 40 150 60 146 C80 142 92 120 98 96 Z",
    ),
    "swallow": (
        "M97 66 C84 36 60 8 20 8 C12 24 10 46 16 62 C30 80 60 84 96 80 Z",
        "M97 84 C74 86 44 96 38 114 C34 126 40 136 50 138 L44 156 L60 140 C78 134 92 116 98 96 Z",
    ),
}


def wing_pair(shape, fill_id, edge, spots, band):
    up, low = WINGS[shape]
    out = []
    for mirror in (False, True):
        t = ' transform="translate(200 0) scale(-1 1)"' if mirror else ""
        out.append(f"  <g{t}>")
        for d in (up, low):
            out.append(f'    <path d="{d}" fill="url(#{fill_id})"/>')
        # The dark band along the outer edge, clipped to the wing.
        if band:
            out.append(f'    <clipPath id="clip{int(mirror)}{fill_id}"><path d="{up}"/><path d="{low}"/></clipPath>')
            out.append(f'    <g clip-path="url(#clip{int(mirror)}{fill_id})" fill="none" stroke="{edge}" stroke-width="14">')
            out.append(f'      <path d="{up}"/><path d="{low}"/>')
            out.append("    </g>")
        for (x, y, r, c) in spots:
            out.append(f'    <circle cx="{x}" cy="{y}" r="{r}" fill="{c}"/>')
        for d in (up, low):
            out.append(f'    <path d="{d}" fill="none" stroke="{INK}" stroke-width="4" stroke-linejoin="round"/>')
        out.append("  </g>")
    return "\n".join(out)


def body():
    return f"""  <g stroke="{INK}" stroke-width="3.5" stroke-linecap="round" fill="none">
    <path d="M97 44 C92 28 86 20 76 14"/>
    <path d="M103 44 C108 28 114 20 124 14"/>
  </g>
  <circle cx="75" cy="13.5" r="5" fill="{INK}"/>
  <circle cx="125" cy="13.5" r="5" fill="{INK}"/>
  <ellipse cx="100" cy="92" rx="8" ry="42" fill="#4a3b52" stroke="{INK}" stroke-width="4"/>
  <circle cx="100" cy="48" r="10" fill="#4a3b52" stroke="{INK}" stroke-width="4"/>
  <ellipse cx="97" cy="80" rx="2.5" ry="18" fill="#ffffff" fill-opacity="0.35"/>
  <circle cx="97" cy="45" r="3" fill="#ffffff" fill-opacity="0.5"/>"""


def butterfly(kind, inner, outer, edge, spots, shape="round", band=True, tilt=0):
    fid = "wing" + kind
    g = f"""  <defs>
    <radialGradient id="{fid}" cx="100" cy="82" r="100" gradientUnits="userSpaceOnUse">
      <stop offset="0.15" stop-color="{inner}"/>
      <stop offset="1" stop-color="{outer}"/>
    </radialGradient>
  </defs>
{wing_pair(shape, fid, edge, spots, band)}
{body()}"""
    if tilt:
        g = f'  <g transform="rotate({tilt} 100 82) translate(0 2)">\n{g}\n  </g>'
    return g


def svg(width, height, view, content, comment):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" viewBox="{view}">\n'
            f"  <!-- {comment} -->\n{content}\n</svg>\n")


W = "#ffffff"
KINDS = {
    # name: (inner, outer, edge, spots, shape, band, tilt, comment)
    "bluebutterfly.overlay": ("#8fd3ff", "#1f63d6", "#1b2a5c",
                              [(30, 26, 5, W), (18, 44, 4, W), (40, 132, 4, W), (56, 140, 3.5, W)],
                              "round", True, 0, "Blue butterfly."),
    "buttefly3.overlay": ("#ffc24a", "#f2701c", "#2b2433",
                          [(24, 22, 5, W), (14, 40, 4, W), (34, 14, 3.5, W), (42, 134, 4.5, W), (58, 142, 3.5, W)],
                          "round", True, 0, "Orange butterfly with white spots on black wing edges."),
    "buttefly9": ("#fff27a", "#ffc21a", "#2b2433",
                  [(56, 36, 7, "#2b2433"), (40, 54, 5, "#2b2433"), (56, 118, 7, "#4c8dff"), (70, 128, 5, "#ff6a3d")],
                  "swallow", True, 0, "Yellow swallowtail butterfly, seen from above."),
    "buttefly9.overlay": ("#fff27a", "#ffc21a", "#2b2433",
                          [(56, 36, 7, "#2b2433"), (40, 54, 5, "#2b2433"), (56, 118, 7, "#4c8dff"), (70, 128, 5, "#ff6a3d")],
                          "swallow", True, -18, "Yellow swallowtail butterfly in flight, tilted."),
    "butterfly4.mod.overlay": ("#ffd1f0", "#c548c9", "#6a1b7a",
                               [(40, 34, 9, "#fff27a"), (62, 60, 6, "#fff27a"), (52, 122, 8, "#fff27a"), (24, 44, 4, W)],
                               "round", True, 0, "Pink and purple butterfly with yellow spots."),
    "butterfly10.overlay": ("#b9ffd8", "#12a58c", "#0d4f5c",
                            [(38, 32, 8, "#7b4fd6"), (50, 128, 7, "#7b4fd6"), (22, 44, 4, W), (36, 140, 3.5, W)],
                            "swallow", True, 0, "Teal butterfly with violet eye spots."),
}

for name, (inner, outer, edge, spots, shape, band, tilt, comment) in KINDS.items():
    path = os.path.join(ART, "overlays", name + ".svg")
    content = butterfly(name.split(".")[0], inner, outer, edge, spots, shape, band, tilt)
    with open(path, "w") as f:
        # A tilted butterfly needs room for its turned wing tips.
        view = "-24 -22 248 198.4" if tilt else "0 0 200 160"
        f.write(svg(600, 480, view, content, comment))

# The colour-brush butterfly of the 32/64 pair: red and orange, square canvas.
with open(os.path.join(ART, "colorbrushes", "colorbrushbutterfly64.svg"), "w") as f:
    f.write(svg(64, 64, "0 -20 200 200",
                butterfly("cb", "#ffd66b", "#f0412f", "#2b2433",
                          [(26, 26, 6, W), (46, 130, 5, W)], "round", True, 0),
                "Red and orange butterfly stamp."))

# Three small butterflies in one stamp.
trio = []
for (dx, dy, s, rot, inner, outer) in ((4, 8, 0.5, -20, "#8fd3ff", "#1f63d6"),
                                       (98, 28, 0.46, 18, "#ffd1f0", "#c548c9"),
                                       (38, 104, 0.48, 6, "#fff27a", "#ffa41a")):
    g = butterfly(f"t{dx}", inner, outer, "#2b2433", [(30, 26, 6, W)], "round", True, 0)
    trio.append(f'  <g transform="translate({dx} {dy}) scale({s}) rotate({rot} 100 82)">\n{g}\n  </g>')
with open(os.path.join(ART, "colorbrushes", "butterflies.brush.svg"), "w") as f:
    f.write(svg(64, 64, "0 0 200 200", "\n".join(trio), "Three little butterflies."))
