#!/usr/bin/env python3
"""The soak's resident memory curve: runs the app on a generated soak script and
reads its resident size every 500 steps.

soak-rss.py [--zorbel BUILD/app/zorbel] [--steps N] [gen-soak.py options...]

Meant for the release build (build/release/app/zorbel, the default). The script
comes from tools/gen-soak.py with --marks, so the app writes a marker picture
every 500 steps; the resident size (VmRSS) is read as each marker appears. Prints
the curve, then the first (after 1,000 steps), median and last sizes and the
growth from the first to the last; exits 1 when it grew by more than 2 MB.
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
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        return None
    return None


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
        curve = []  # (step, KiB)
        seen = set()
        while p.poll() is None:
            for name in os.listdir(marks):
                if name not in seen and name.endswith(".png"):
                    seen.add(name)
                    kib = rss_kib(p.pid)
                    if kib:
                        curve.append((int(name[5:-4]), kib))
                        # As it comes, so that a run cut short still shows its curve.
                        print("soak-rss: step %6d  %8.1f MB  (%.0f s)"
                              % (curve[-1][0], kib / 1024, time.monotonic() - start), flush=True)
            time.sleep(0.01)
        status = p.wait()
        took = time.monotonic() - start
        if status != 0:
            print("soak-rss: the soak run failed with status %d:" % status)
            print(open(os.path.join(work, "soak.log")).read()[-3000:])
            return 1
        curve.sort()
        after = [kib for step, kib in curve if step >= 1000]
        if not after:
            print("soak-rss: too short to measure (no marker past step 1000)")
            return 0
        first, median, last = after[0], statistics.median(after), after[-1]
        grew = (last - first) / 1024
        print("soak-rss: %.0f s; resident size first %.1f MB (step 1000), median %.1f MB, last %.1f MB;"
              " grew %.2f MB" % (took, first / 1024, median / 1024, last / 1024, grew))
        return 1 if grew > args.budget_mb else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
