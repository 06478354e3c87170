#!/usr/bin/env bash
# The app under ThreadSanitizer through the soak's one-shot effects: every
# one-shot effect in turn (each runs on the worker thread), with strokes and
# memory warnings between. Any data race report fails the run.
#
#   tools/tsan-soak.sh [STEPS]     (default 600; the full part: 10600)
#
# Needs the tsan build: cmake --preset tsan && cmake --build --preset tsan
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
zorbel=$root/build/tsan/app/zorbel
[ -x "$zorbel" ] || { echo "tsan-soak: build the tsan preset first ($zorbel is missing)" >&2; exit 1; }
steps=${1:-600}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 "$root/tools/gen-soak.py" --kinds effect,memory,strokes --one-shot --steps "$steps" --seed 7 \
  > soak.zscript
head -2 soak.zscript | tail -1
start=$(date +%s)
TSAN_OPTIONS="halt_on_error=1 exitcode=66 ${TSAN_OPTIONS:-}" \
  "$zorbel" --headless --home home --script soak.zscript > soak.log 2>&1
status=$?
took=$(($(date +%s) - start))
effects=$(grep -cE "^press set(Bulge|Dent|Fisheye|LightTunnel|Squeeze|GrayScale|Sepia|HorizontalMirror)Tool$" soak.zscript)
if grep -q "WARNING: ThreadSanitizer" soak.log || [ "$status" -ne 0 ]; then
  grep -A40 "WARNING: ThreadSanitizer" soak.log | head -80 >&2 || tail -20 soak.log >&2
  echo "tsan-soak: failed (status $status) after $took s" >&2
  exit 1
fi
echo "tsan-soak: $effects one-shot effects clean in $took s"
