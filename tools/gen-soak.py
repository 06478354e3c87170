#!/usr/bin/env python3
"""Writes one long headless script that uses the whole app for a long time.

gen-soak.py [--steps N] [--seed S] [--layers] [--pickers] [--kinds K,...] [--marks DIR]
            [--settled-marks] [--shots DIR] > soak.zscript

The full run (no --steps) holds 10,000 strokes spread over every painting tool,
500 effects of every kind (one-shot effects, and slider effects whose slider
is moved several times and then kept or cancelled), 100 memory warnings, 100
relaunches (termination and a new launch in the same process), and 50 visits
to the screens the toolbar opens (tool picker, settings, new picture). --steps
N keeps the same mix but stops after N steps (a short soak for the sanitizer
build); --kinds keeps only the kinds named (strokes, effect, memory, relaunch,
screens, layers); --one-shot makes every effect a one-shot effect, each in turn
(the effects that run on the worker thread, for the ThreadSanitizer build).

--layers adds 200 layer cycles: a caption written in the text screen and an
overlay chosen in the shape picker, each dragged, pinched with two fingers,
the overlay flipped, now and then reset by a double tap, then deleted (tool
picker or triple tap) or flattened. --pickers makes each screens visit go
through every picker as well: settings switches, smoothing slider and finger
offset, a new sheet, the brush, colour, colour-brush and shape pickers, and the
caption settings. --marks DIR writes DIR/step-N.png (a screenshot) every 500
steps, so that a harness can tell how far the run has come
(tools/soak-rss.py); with --settled-marks a memory warning comes right before
each mark, so that every mark finds the caches let go. --shots DIR takes a screenshot at each phase of every
layer cycle and writes DIR/expected.json saying what each should show (checked
by tests/tools/soak_layers.py).
"""
import argparse
import json
import os
import random
import sys

TOOLS = ["setPaintBrush", "setEraserTool", "setCloneTool", "setColorBrushTool", "setShapeTool",
         "setEyeDropper", "setTextTool"]
ONE_SHOT = ["setBulgeTool", "setDentTool", "setFisheyeTool", "setLightTunnelTool",
            "setSqueezeTool", "setGrayScaleTool", "setSepiaTool", "setHorizontalMirrorTool"]
# Where captions and overlays appear.
NEW_LAYER_CENTER = (160, 230)
# The upright sheets of the new-picture screen.
SHEETS = ["whiteAction", "yellowAction", "blackAction", "yellowGridAction", "indexCardVerticalAction",
          "yellowIndexCardAction"]
FONTS = ["Arial", "Courier", "Georgia", "Helvetica", "Marker Felt", "Times", "Trebuchet",
         "Typewriter", "Verdana", "Zapfino"]
# Entries on the first screen of their picker (a press needs the entry in sight).
SHAPES = ["shapearrow.png", "shapearrowred.overlay.png", "shapethoughtbubble.png",
          "shapetalkbubble.png", "papercrown.png", "pinkhat.png", "sombreo2.overlay.png",
          "gradhat2.overlay.png", "chefhat.overlay.png", "hardhat.overlay.png", "tophat.overlay.png",
          "piratehat2.overlay.png", "witchhat.overlay.png", "wizardshat.overlay.png",
          "parthat.overlay.png", "tiara3.overlay.png"]
COLOR_BRUSHES = ["colorbrshheart32.png", "colorbrushheart64.png", "colorbrushbutterfly64.png",
                 "colorbrushstar32.png", "starsbrushcolors.png", "colorbrushfish64.png",
                 "colorbrushpinkflower32.png", "dogwoodbrush.png", "fairyrosebrush.png",
                 "bubblesbrush.png", "bluebutterflybrush.png", "buttefly3.brush.png"]
SLIDERS = {  # tool: (slider, minimum, maximum)
    "setTwirlTool": ("twirlSliderAction", -2.0, 2.0),
    "setBrightnessTool": ("brightnessSliderAction", -255.0, 255.0),
    "setContrastTool": ("contrastSliderAction", -100.0, 100.0),
}


# The kinds of step and how many of each the full run holds.
KINDS = {"strokes": 500, "effect": 500, "memory": 100, "relaunch": 100, "screens": 50,
         "layers": 200}


class Soak:
    def __init__(self, rng, layers, pickers, marks, shots=None):
        self.rng = rng
        self.shots = shots
        self.expected = []  # what each shot should show (with --shots)
        self.cycles = 0
        self.lines = []
        self.steps = 0
        self.marks = marks
        self.mark_every = 500
        self.settled_marks = False
        self.one_shot = False
        self.effects = 0
        self.layers = layers
        self.pickers = pickers

    def emit(self, *lines):
        self.lines.extend(lines)

    def step(self):
        self.steps += 1
        if self.marks and self.steps % self.mark_every == 0:
            if self.settled_marks:
                # Every mark then finds the app in a like state: the caches
                # let go, whatever screen or picture came last.
                self.emit("memory-warning", "wait 0.5", "press Ok", "wait 0.5")
            self.emit("screenshot %s/step-%d.png" % (self.marks, self.steps))

    def shot(self, layer, phase, **facts):
        """With --shots: a screenshot of a layer cycle's phase, and what it should show."""
        if not self.shots:
            return
        name = "%s/layer-%d-%s-%s.png" % (self.shots, self.cycles, layer, phase)
        self.emit("screenshot " + name)
        self.expected.append(dict(facts, file=name, layer=layer, phase=phase))

    def toolbar(self):
        # The toolbars come back 1.75 seconds after the last stroke.
        self.emit("wait 2")

    def choose(self, tool):
        self.toolbar()
        self.emit("press selectToolAction", "wait", "press " + tool, "wait")

    def stroke(self):
        r = self.rng
        # Below the top bar (its text button starts a caption) and above the toolbar, which are
        # both shown when a run of strokes begins.
        x1, y1 = r.uniform(10, 310), r.uniform(70, 430)
        x2, y2 = r.uniform(10, 310), r.uniform(70, 430)
        self.emit("drag %.1f %.1f %.1f %.1f %d" % (x1, y1, x2, y2, r.randint(2, 12)))
        self.step()

    def strokes(self, count):
        self.choose(self.rng.choice(TOOLS))
        for _ in range(count):
            self.stroke()

    def effect(self):
        r = self.rng
        if self.one_shot:
            # Each one-shot effect in turn, so that a short run has them all.
            self.choose(ONE_SHOT[self.effects % len(ONE_SHOT)])
            self.effects += 1
        elif r.random() < 0.5:
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
        r = self.rng
        self.toolbar()
        self.emit("press selectToolAction", "wait", "press cancel:", "wait")
        self.emit("press settings", "wait 1")
        if self.pickers:
            # Switches flipped there and back, the smoothing moved, the finger offset set at the
            # centre (no offset) or cancelled: the strokes after still paint under the finger.
            switch = r.choice(["geometricsAction", "cropAction", "askOnShakeAction",
                               "smoothSwitchAction"])
            self.emit("press " + switch, "press " + switch)
            self.emit("slide smoothSliderAction %.0f" % r.uniform(1, 60))
            self.emit("press Set Finger Offset", "wait 1", "tap 160 240", "wait 0.5",
                      "press " + r.choice(["Done", "Cancel"]), "wait 1")
        self.emit("press goBackAction", "wait 1")
        # A changed picture makes "add" ask first: Save, then the screen opens at once.
        self.emit("press save", "wait", "press add", "wait 1")
        if self.pickers and r.random() < 0.3:
            # A new sheet (an upright one, so that the strokes after land on the painting).
            self.emit("press New", "wait 1", "press " + r.choice(SHEETS), "wait 2")
        else:
            self.emit("press cancel:", "wait 1")
        if self.pickers:
            self.brush_picker()
            self.color_picker()
            self.grid_picker("setColorBrushTool", COLOR_BRUSHES)
            self.grid_picker("setShapeTool", None)
            self.text_settings()
        self.step()

    def brush_picker(self):
        r = self.rng
        # The toolbar's brush button opens the picker of the current tool.
        tool = r.choice(["setPaintBrush", "setEraserTool", "setCloneTool"])
        self.choose(tool)
        self.emit("press brushChoice", "wait 1")
        # Opacity belongs to the paint brush alone.
        if tool == "setPaintBrush":
            self.emit("slide Opacity %.2f" % r.uniform(0.2, 1.0))
        # A brush in the grid closes the picker; otherwise Cancel or Done does.
        if r.random() < 0.5:
            self.emit("tap %d %d" % (r.choice([32, 96, 160, 224, 288]), r.choice([96, 160, 224])),
                      "wait 1")
        else:
            self.emit("press " + r.choice(["Cancel", "Done"]), "wait 1")

    def color_picker(self):
        r = self.rng
        self.toolbar()
        self.emit("press colorChoice", "wait 1")
        if r.random() < 0.5:
            # A colour from the rainbow into the swatch, then Done or Cancel.
            self.emit("tap %.0f %.0f" % (r.uniform(50, 270), r.uniform(260, 380)), "wait 0.3",
                      "press " + r.choice(["Done", "Cancel"]), "wait 1")
        else:
            # A palette box: it becomes the colour and the picker closes.
            self.emit("tap %d 50" % r.choice([40, 120, 200, 280]), "wait 1")

    def grid_picker(self, tool, names):
        r = self.rng
        self.choose(tool)
        self.emit("press brushChoice", "wait 1")
        # The grid scrolls under the finger; then Cancel, or an entry for the colour brushes.
        if r.random() < 0.5:
            self.emit("drag 160 420 160 120 12", "wait 1", "drag 160 120 160 420 12", "wait 1")
        if names and r.random() < 0.5:
            self.emit("press " + r.choice(names), "wait 1")
        else:
            self.emit("press cancel:", "wait 1")

    def text_settings(self):
        r = self.rng
        # Under the text tool the brush button opens the caption settings: a caption written
        # there (Done needs some text) comes at the middle and goes again by a triple tap.
        self.choose("setTextTool")
        self.emit("press brushChoice", "wait 1")
        if r.random() < 0.5:
            self.emit("press new:")
        self.emit("type Soak %d" % self.steps, "press " + r.choice(FONTS))
        if r.random() < 0.5:
            self.emit("press bold:")
        if r.random() < 0.5:
            self.emit("press italic:")
        if r.random() < 0.5:
            self.emit("press done:", "wait 1", "tap %d %d 3" % NEW_LAYER_CENTER, "wait")
        else:
            self.emit("press cancel:", "wait 1")

    def pinch(self, x, y, spread):
        """Two fingers either side of (x, y) moved apart (spread > 1) or together."""
        d0 = 40.0
        d1 = d0 * spread
        self.emit("down %.0f %.0f 1" % (x - d0, y), "down %.0f %.0f 2" % (x + d0, y))
        for k in range(1, 5):
            d = d0 + (d1 - d0) * k / 4
            self.emit("move %.0f %.0f 1" % (x - d, y), "move %.0f %.0f 2" % (x + d, y))
        self.emit("up %.0f %.0f 1" % (x - d1, y), "up %.0f %.0f 2" % (x + d1, y), "wait")

    def place(self):
        """Where a layer is dragged: far enough from the edges for two fingers either side."""
        return self.rng.uniform(90, 230), self.rng.uniform(120, 380)

    def maybe_reset(self, x, y):
        """Now and then a double tap puts the layer back as it was made; where it is after."""
        if self.rng.random() < 0.3:
            self.emit("tap %.0f %.0f 2" % (x, y), "wait")
            return NEW_LAYER_CENTER
        return x, y

    def remove_layer(self, x, y, flatten):
        """The moved layer goes: by the tool button's delete, by a triple tap, or flattened."""
        r = self.rng
        if flatten:
            self.emit("press selectToolAction", "wait", "press flattenImageAction", "wait")
        elif r.random() < 0.5:
            self.emit("press selectToolAction", "wait", "press deleteOverlayAction", "wait")
        else:
            # A triple tap's second tap resets a moved layer (the only one, so in front): it
            # goes back to where it was made, and the triple tap that deletes it is made there.
            if (x, y) != NEW_LAYER_CENTER:
                self.emit("tap %.0f %.0f 2" % (x, y), "wait")
            self.emit("tap %.0f %.0f 3" % NEW_LAYER_CENTER, "wait")

    def move_and_remove(self, layer, flatten):
        """Dragged, pinched, flipped (an overlay), perhaps reset, then deleted or flattened."""
        r = self.rng
        x, y = self.place()
        self.emit("drag %d %d %.0f %.0f 5" % (NEW_LAYER_CENTER + (x, y)), "wait")
        self.shot(layer, "moved", x=x, y=y)
        spread = r.uniform(0.6, 1.6)
        self.pinch(x, y, spread)
        self.shot(layer, "pinched", x=x, y=y, scale=spread)
        if layer == "overlay":
            self.emit("press selectToolAction", "wait", "press flipOverlayAction", "wait")
            # The flip mirrors the layer's whole transform, its move included: the layer
            # lands mirrored about the middle of the painting.
            x = 2 * NEW_LAYER_CENTER[0] - x
            self.shot(layer, "flipped", x=x, y=y)
        x, y = self.maybe_reset(x, y)
        self.remove_layer(x, y, flatten)
        self.shot(layer, "flattened" if flatten else "gone")

    def layer_cycle(self):
        r = self.rng
        self.cycles += 1
        flatten = r.random() < 0.2
        # A caption: written in the text screen from the toolbar's text button (it appears at
        # the centre), then moved, pinched and deleted under the text tool.
        self.toolbar()
        self.shot("caption", "before")
        self.emit("press textInputAction", "wait", "type  %d" % self.steps, "press done:", "wait")
        self.choose("setTextTool")
        self.shot("caption", "added", x=NEW_LAYER_CENTER[0], y=NEW_LAYER_CENTER[1])
        self.move_and_remove("caption", flatten)
        # An overlay: chosen in the shape picker (it appears at the centre), moved, pinched,
        # flipped, then deleted or flattened.
        self.choose("setShapeTool")
        self.shot("overlay", "before")
        self.emit("press brushChoice", "wait 1", "press " + r.choice(SHAPES), "wait 1")
        self.shot("overlay", "added", x=NEW_LAYER_CENTER[0], y=NEW_LAYER_CENTER[1])
        self.move_and_remove("overlay", flatten)
        self.toolbar()
        self.step()


def plan(args):
    """The kinds of step in a shuffled order with the full run's proportions."""
    counts = dict(KINDS)
    if not args.layers:
        del counts["layers"]
    if args.kinds:
        wanted = args.kinds.split(",")
        unknown = set(wanted) - set(KINDS)
        if unknown:
            sys.exit("gen-soak.py: no kind of step called %s" % ", ".join(sorted(unknown)))
        counts = {k: n for k, n in counts.items() if k in wanted}
    kinds = [k for k, n in counts.items() for _ in range(n)]
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
    ap.add_argument("--one-shot", action="store_true",
                    help="only the one-shot effects (each in turn), no slider effects")
    ap.add_argument("--mark-every", type=int, default=500, help="steps between two marks")
    ap.add_argument("--settled-marks", action="store_true",
                    help="a memory warning right before each mark, so that resident sizes read at"
                    " the marks compare like with like")
    ap.add_argument("--kinds", help="only these kinds of step, comma-separated (" +
                    ", ".join(KINDS) + ")")
    ap.add_argument("--shots", help="screenshots of every layer cycle's phases in this folder,"
                    " and expected.json saying what each should show")
    args = ap.parse_args()
    soak = Soak(random.Random(args.seed + 1), args.layers, args.pickers, args.marks, args.shots)
    soak.mark_every = max(1, args.mark_every)
    soak.settled_marks = args.settled_marks
    soak.one_shot = args.one_shot
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
    if args.shots:
        os.makedirs(args.shots, exist_ok=True)
        with open(os.path.join(args.shots, "expected.json"), "w") as f:
            json.dump(soak.expected, f, indent=1)


if __name__ == "__main__":
    main()
