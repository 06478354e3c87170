#!/usr/bin/env python3
"""Writes one long headless script that uses the whole app for a long time.

gen-soak.py [--steps N] [--seed S] [--layers] [--pickers] [--marks DIR] > soak.zscript

The full run (no --steps) holds 10,000 strokes spread over every painting tool,
500 effects of every kind (one-shot effects, and slider effects whose slider
is moved several times and then kept or cancelled), 100 memory warnings, 100
relaunches (termination and a new launch in the same process), and every
screen the toolbar opens, opened and closed. --steps N keeps the same mix but
stops after N steps (a short soak for the sanitizer build).

--layers adds 200 overlay and caption cycles (a caption written and moved; an
overlay chosen in the shape picker, moved, flipped, then deleted or flattened);
--pickers opens the brush, colour, shape and colour-brush pickers too. Both
need the app to present those screens (--layers needs the shape picker). --marks DIR writes DIR/step-N.png (a screenshot) every 500 steps, so
that a harness can tell how far the run has come (tools/soak-rss.py).
"""
import argparse
import random
import sys

TOOLS = ["setPaintBrush", "setEraserTool", "setCloneTool", "setColorBrushTool", "setShapeTool",
         "setEyeDropper", "setTextTool"]
ONE_SHOT = ["setBulgeTool", "setDentTool", "setFisheyeTool", "setLightTunnelTool",
            "setSqueezeTool", "setGrayScaleTool", "setSepiaTool", "setHorizontalMirrorTool"]
SLIDERS = {  # tool: (slider, minimum, maximum)
    "setTwirlTool": ("twirlSliderAction", -2.0, 2.0),
    "setBrightnessTool": ("brightnessSliderAction", -255.0, 255.0),
    "setContrastTool": ("contrastSliderAction", -100.0, 100.0),
}


class Soak:
    def __init__(self, rng, layers, pickers, marks):
        self.rng = rng
        self.lines = []
        self.steps = 0
        self.marks = marks
        self.layers = layers
        self.pickers = pickers

    def emit(self, *lines):
        self.lines.extend(lines)

    def step(self):
        self.steps += 1
        if self.marks and self.steps % 500 == 0:
            self.emit("screenshot %s/step-%d.png" % (self.marks, self.steps))

    def toolbar(self):
        # The toolbars come back 1.75 seconds after the last stroke.
        self.emit("wait 2")

    def choose(self, tool):
        self.toolbar()
        self.emit("press selectToolAction", "wait", "press " + tool, "wait")

    def stroke(self):
        r = self.rng
        x1, y1 = r.uniform(10, 310), r.uniform(50, 430)
        x2, y2 = r.uniform(10, 310), r.uniform(50, 430)
        self.emit("drag %.1f %.1f %.1f %.1f %d" % (x1, y1, x2, y2, r.randint(2, 12)))
        self.step()

    def strokes(self, count):
        self.choose(self.rng.choice(TOOLS))
        for _ in range(count):
            self.stroke()

    def effect(self):
        r = self.rng
        if r.random() < 0.5:
            self.choose(r.choice(ONE_SHOT))
        else:
            tool = r.choice(sorted(SLIDERS))
            slider, lo, hi = SLIDERS[tool]
            self.choose(tool)
            for _ in range(r.randint(1, 4)):
                self.emit("slide %s %.3f" % (slider, r.uniform(lo, hi)))
            self.emit("press " + ("okButtonAction" if r.random() < 0.6 else "cancelButtonAction"),
                      "wait")
        self.step()

    def memory_warning(self):
        self.emit("memory-warning", "wait 0.5", "press Ok", "wait 0.5")
        self.step()

    def relaunch(self):
        self.emit("relaunch", "wait 1")
        self.step()

    def screens(self):
        self.toolbar()
        self.emit("press selectToolAction", "wait", "press cancel:", "wait")
        self.emit("press settings", "wait 1", "press goBackAction", "wait 1")
        # A changed picture makes "add" ask first: Save, then the screen opens at once.
        self.emit("press save", "wait", "press add", "wait 1", "press cancel:", "wait 1")
        if self.pickers:
            # The toolbar's brush button opens the picker of the current tool.
            for tool in ("setPaintBrush", "setColorBrushTool", "setShapeTool"):
                self.choose(tool)
                self.emit("press brushChoice", "wait 1", "press cancel:", "wait 1")
            self.emit("press colorChoice", "wait 1", "press cancel:", "wait 1")
        self.step()

    def layer_cycle(self):
        r = self.rng
        # A caption: written from the toolbar's text button, moved under the text tool.
        self.toolbar()
        self.emit("press textInputAction", "wait", "type Soak %d" % self.steps, "press done",
                  "wait")
        self.choose("setTextTool")
        self.emit("drag 160 230 %.0f %.0f 5" % (r.uniform(40, 280), r.uniform(80, 400)), "wait 2")
        # An overlay: chosen in the shape picker, moved, flipped, then flattened or deleted.
        self.choose("setShapeTool")
        self.emit("press brushChoice", "wait 1", "press tophat.overlay.png", "wait 1")
        self.emit("drag 160 240 %.0f %.0f 5" % (r.uniform(40, 280), r.uniform(80, 400)), "wait 2")
        self.emit("press selectToolAction", "wait", "press flipOverlayAction", "wait")
        last = "flattenImageAction" if r.random() < 0.3 else "deleteOverlayAction"
        self.emit("press selectToolAction", "wait", "press " + last, "wait")
        self.step()


def plan(args):
    """The kinds of step in a shuffled order with the full run's proportions."""
    kinds = (["strokes"] * 500 + ["effect"] * 500 + ["memory"] * 100 + ["relaunch"] * 100 +
             ["screens"] * 50 + (["layers"] * 200 if args.layers else []))
    random.Random(args.seed).shuffle(kinds)
    # One of each kind first, so that a short soak has them all.
    first = []
    for kind in sorted(set(kinds)):
        kinds.remove(kind)
        first.append(kind)
    return first + kinds


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--steps", type=int, default=0, help="stop after this many steps")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--layers", action="store_true")
    ap.add_argument("--pickers", action="store_true")
    ap.add_argument("--marks")
    args = ap.parse_args()
    soak = Soak(random.Random(args.seed + 1), args.layers, args.pickers, args.marks)
    soak.emit("# Generated by tools/gen-soak.py %s" % " ".join(sys.argv[1:]), "wait 1")
    counts = {}
    for kind in plan(args):
        if args.steps and soak.steps >= args.steps:
            break
        counts[kind] = counts.get(kind, 0) + 1
        if kind == "strokes":
            soak.strokes(20)  # 500 runs of 20 strokes: 10,000
        elif kind == "effect":
            soak.effect()
        elif kind == "memory":
            soak.memory_warning()
        elif kind == "relaunch":
            soak.relaunch()
        elif kind == "screens":
            soak.screens()
        else:
            soak.layer_cycle()
    soak.emit("wait 3", "quit")
    soak.lines.insert(1, "# %d steps: %s" % (soak.steps, ", ".join(
        "%s %d" % (k, v) for k, v in sorted(counts.items()))))
    sys.stdout.write("\n".join(soak.lines) + "\n")


if __name__ == "__main__":
    main()
