#!/usr/bin/env python3
"""The soak's resident memory curve: runs the app on a generated soak script and
reads its resident size every 500 steps.

soak-rss.py [--zorbel BUILD/app/zorbel] [--steps N] [gen-soak.py options...]

Meant for the release build (build/release/app/zorbel, the default). The script
comes from tools/gen-soak.py with --marks, so the app writes a marker picture
every 500 steps; the resident size (VmRSS, and its anonymous and file-backed
parts) is read as each marker appears. Prints the curve, then the first (after
1,000 steps), median and last sizes and the growth from the first to the last;
exits 1 when the resident size grew by more than 2 MB.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def rss_kib(pid):
    """(VmRSS, RssAnon, RssFile) in KiB, or None once the process is gone."""
    sizes = {}
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                key = line.split(":")[0]
                if key in ("VmRSS", "RssAnon", "RssFile"):
                    sizes[key] = int(line.split()[1])
    except OSError:
        return None
    if "VmRSS" not in sizes:
        return None
    return sizes["VmRSS"], sizes.get("RssAnon", 0), sizes.get("RssFile", 0)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--zorbel", default=os.path.join(HERE, "..", "build", "release", "app", "zorbel"))
    ap.add_argument("--budget-mb", type=float, default=2.0)
    args, rest = ap.parse_known_args()
    args.zorbel = os.path.abspath(args.zorbel)
    work = tempfile.mkdtemp(prefix="zorbel-soak-")
    try:
        marks = os.path.join(work, "marks")
        os.makedirs(marks)
        script = os.path.join(work, "soak.zscript")
        with open(script, "w") as f:
            subprocess.run([sys.executable, os.path.join(HERE, "gen-soak.py"), "--marks", marks] + rest,
                           stdout=f, check=True)
        log = open(os.path.join(work, "soak.log"), "w")
        start = time.monotonic()
        p = subprocess.Popen([args.zorbel, "--headless", "--home", os.path.join(work, "home"),
                              "--script", script], stdout=log, stderr=subprocess.STDOUT, cwd=work)
        curve = []  # (step, VmRSS KiB, RssAnon KiB, RssFile KiB)
        seen = set()
        while p.poll() is None:
            for name in os.listdir(marks):
                if name not in seen and name.endswith(".png"):
                    seen.add(name)
                    sizes = rss_kib(p.pid)
                    if sizes:
                        curve.append((int(name[5:-4]),) + sizes)
                        # As it comes, so that a run cut short still shows its curve.
                        print("soak-rss: step %6d  %8.1f MB  (anonymous %.1f, file pages %.1f)  (%.0f s)"
                              % (curve[-1][0], sizes[0] / 1024, sizes[1] / 1024, sizes[2] / 1024,
                                 time.monotonic() - start), flush=True)
            time.sleep(0.01)
        status = p.wait()
        took = time.monotonic() - start
        if status != 0:
            print("soak-rss: the soak run failed with status %d:" % status)
            print(open(os.path.join(work, "soak.log")).read()[-3000:])
            return 1
        curve.sort()
        after = [point for point in curve if point[0] >= 1000]
        if not after:
            print("soak-rss: too short to measure (no marker past step 1000)")
            return 0
        # The app's own memory is the anonymous part; file pages are the
        # program, its libraries and fonts as far as they have been used, which
        # the system can take back at any time.
        for column, what in ((2, "anonymous"), (3, "file pages")):
            sizes = [point[column] for point in after]
            print("soak-rss: %s first %.1f MB, median %.1f MB, last %.1f MB"
                  % (what, sizes[0] / 1024, statistics.median(sizes) / 1024, sizes[-1] / 1024))
        resident = [point[1] for point in after]
        # What the app holds swings with what is open at each marker (a screen,
        # a caption's font, pictures kept since the last memory warning); the
        # lowest readings show whether what stays keeps growing.
        half = len(resident) // 2
        if half:
            print("soak-rss: lowest %.1f MB in the first half, %.1f MB in the second"
                  % (min(resident[:half]) / 1024, min(resident[half:]) / 1024))
        first, median, last = resident[0], statistics.median(resident), resident[-1]
        grew = (last - first) / 1024
        print("soak-rss: %.0f s; resident size first %.1f MB (step 1000), median %.1f MB, last %.1f MB;"
              " grew %.2f MB" % (took, first / 1024, median / 1024, last / 1024, grew))
        return 1 if grew > args.budget_mb else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
