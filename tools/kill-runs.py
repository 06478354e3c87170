#!/usr/bin/env python3
"""Kills the app at random moments and checks that nothing saved is ever lost.

kill-runs.py ZORBEL [--runs N] [--seed S] [--keep DIR]

A first run paints a picture and quits, so that the home holds a document and
settings. Then, N times: the app starts on a workload, is sent SIGKILL at a
random moment during one of the risky phases, and is started again:

  termination     the script quits; the kill falls while will-terminate writes
                  the painting, the original, the undo picture, the layer
                  archive and the settings
  memory-warning  the script sends memory warnings between strokes; the kill
                  falls while the canvas writes its buffers to files and frees
                  them (the unkilled run ends with a kill of its own)
  relaunch        the script relaunches the app in the same process; the kill
                  falls while the documents are written and read back

The moment is a random delay after the phase starts (the script writes a
marker file just before), up to the phase's length measured on an unkilled
run. After each kill every file in Documents must be whole (a PNG that decodes
to its full size with every checksum right; a layer archive that parses) and
be its previous version or a new whole one; the settings file must be a whole
JSON object; the relaunch must end normally, leave no temporary file and show
the painting (the first run's stroke is on screen). Prints a summary line per
phase and exits 1 on the first broken file.
"""
import argparse
import json
import os
import random
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "scripts"))
from png_pixels import read_png  # noqa: E402

STROKE = (60, 240)  # a point on the first run's stroke (drawn across the middle)

FIRST = """wait 1
drag 20 240 300 240 30
drag 20 250 300 250 30
wait 3
quit
"""

# Each workload paints (so the new version differs), writes MARK, then runs the phase.
WORKLOADS = {
    "termination": """wait 1
drag 40 {y} 280 {y2} 20
wait 3
screenshot {mark}
quit
""",
    # Each warning follows a stroke, so that every flush has buffers to write.
    "memory-warning": """wait 1
drag 40 {y} 280 {y2} 20
wait 3
screenshot {mark}
""" + """memory-warning
wait 0.2
press Ok
drag 40 {y2} 280 {y} 5
wait 2
""" * 6 + """kill
""",
    "relaunch": """wait 1
drag 40 {y} 280 {y2} 20
wait 3
screenshot {mark}
relaunch
wait 1
relaunch
wait 1
quit
""",
}

RELAUNCH = """wait 2
screenshot {shot}
quit
"""


def png_is_whole(data):
    """Why the bytes are not a whole PNG, or None."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return "no PNG signature"
    pos, idat, header, ended = 8, b"", None, False
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if len(body) != length or pos + 12 + length > len(data):
            return "cut off in chunk %r" % kind
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if zlib.crc32(kind + body) & 0xFFFFFFFF != crc:
            return "bad checksum in chunk %r" % kind
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            ended = True
            break
        pos += 12 + length
    if not header or not ended:
        return "no header or no end"
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or interlace:
        return None  # not ours; whole as far as chunks go
    channels = {0: 1, 2: 3, 4: 2, 6: 4, 3: 1}[colour]
    try:
        raw = zlib.decompress(idat)
    except zlib.error as e:
        return "pixels do not decompress (%s)" % e
    if len(raw) != height * (1 + width * channels):
        return "pixels cut short"
    return None


def pixel(path, x, y):
    _, _, channels, rows = read_png(path)
    return tuple(rows[y][x * channels:x * channels + 3])


def snapshot(home):
    """Every saved file's bytes: Documents and the settings."""
    files = {}
    docs = os.path.join(home, "Documents")
    if os.path.isdir(docs):
        for name in os.listdir(docs):
            path = os.path.join(docs, name)
            if os.path.isfile(path):
                files["Documents/" + name] = open(path, "rb").read()
    settings = os.path.join(home, "config", "defaults.json")
    if os.path.exists(settings):
        files["config/defaults.json"] = open(settings, "rb").read()
    return files


def check_whole(home, before):
    """Why a saved file is broken after a kill, or None."""
    after = snapshot(home)
    for name, data in after.items():
        base = os.path.basename(name)
        if base.startswith("."):
            continue  # a temporary file a kill cut off; the next launch removes it
        if before.get(name) == data:
            continue  # the previous version, untouched
        if base.endswith(".png"):
            why = png_is_whole(data)
        elif base.endswith(".json") or base.endswith(".archive"):
            try:
                ok = isinstance(json.loads(data.decode("utf-8")), dict)
                why = None if ok else "not a JSON object"
            except (UnicodeDecodeError, ValueError) as e:
                why = "does not parse (%s)" % e
        else:
            why = None
        if why:
            return "%s is broken: %s" % (name, why)
    for name in before:
        if name.endswith(("zorbel.png", "defaults.json")) and name not in after:
            return "%s was lost" % name
    return None


def run(zorbel, home, script_text, work, name):
    path = os.path.join(work, name + ".zscript")
    with open(path, "w") as f:
        f.write(script_text)
    log = open(os.path.join(work, name + ".log"), "w")
    return subprocess.Popen([zorbel, "--headless", "--home", home, "--script", path],
                            stdout=log, stderr=subprocess.STDOUT, cwd=work)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("zorbel")
    ap.add_argument("--runs", type=int, default=100)
    ap.add_argument("--seed", type=int, default=None)
    ap.add_argument("--keep", help="keep the work folder here")
    args = ap.parse_args()
    seed = args.seed if args.seed is not None else random.randrange(1 << 30)
    rng = random.Random(seed)
    zorbel = os.path.abspath(args.zorbel)
    work = args.keep or tempfile.mkdtemp(prefix="zorbel-kills-")
    os.makedirs(work, exist_ok=True)
    home = os.path.join(work, "home")
    print("kill-runs: seed %d, %d runs, in %s" % (seed, args.runs, work))
    try:
        p = run(zorbel, home, FIRST, work, "first")
        if p.wait() != 0:
            print("kill-runs: the first run failed (%s/first.log)" % work)
            return 1
        # Each phase's length, from its marker to the end of an unkilled run.
        lengths = {}
        for phase, text in WORKLOADS.items():
            mark = os.path.join(work, "mark.png")
            if os.path.exists(mark):
                os.remove(mark)
            p = run(zorbel, home, text.format(y=100, y2=380, mark=mark), work, "measure")
            while p.poll() is None and not os.path.exists(mark):
                time.sleep(0.0005)
            start = time.monotonic()
            if p.wait() != 0:
                print("kill-runs: the unkilled %s run failed (%s/measure.log)" % (phase, work))
                return 1
            lengths[phase] = time.monotonic() - start
        tried = {phase: 0 for phase in WORKLOADS}
        landed = {phase: 0 for phase in WORKLOADS}
        for i in range(args.runs):
            phase = rng.choice(sorted(WORKLOADS))
            before = snapshot(home)
            mark = os.path.join(work, "mark.png")
            if os.path.exists(mark):
                os.remove(mark)
            y = rng.randrange(60, 420)
            p = run(zorbel, home,
                    WORKLOADS[phase].format(y=y, y2=rng.randrange(60, 420), mark=mark), work,
                    "run")
            while p.poll() is None and not os.path.exists(mark):
                time.sleep(0.0005)
            delay = rng.uniform(0, lengths[phase])
            time.sleep(delay)
            tried[phase] += 1
            if p.poll() is None:
                p.send_signal(signal.SIGKILL)
                landed[phase] += 1
            p.wait()
            why = check_whole(home, before)
            if why:
                print("kill-runs: run %d (%s, %.1f ms after the phase began): %s"
                      % (i + 1, phase, delay * 1000, why))
                return 1
            shot = os.path.join(work, "shot.png")
            if os.path.exists(shot):
                os.remove(shot)
            p = run(zorbel, home, RELAUNCH.format(shot=shot), work, "relaunch")
            if p.wait() != 0:
                print("kill-runs: run %d (%s): the relaunch failed (%s/relaunch.log)"
                      % (i + 1, phase, work))
                return 1
            docs = os.path.join(home, "Documents")
            stale = [n for n in os.listdir(docs) if n.startswith(".")]
            if stale:
                print("kill-runs: run %d: temporary files left after the relaunch: %s"
                      % (i + 1, stale))
                return 1
            if pixel(shot, *STROKE) == (255, 255, 255):
                print("kill-runs: run %d (%s): the relaunch does not show the painting" % (i + 1, phase))
                return 1
        for phase in sorted(WORKLOADS):
            print("kill-runs: %-15s %3d tried, %3d killed before the end (phase %.0f ms)"
                  % (phase, tried[phase], landed[phase], lengths[phase] * 1000))
        print("kill-runs: ok")
        return 0
    finally:
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
