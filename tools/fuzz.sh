#!/usr/bin/env bash
# Runs one libFuzzer target for a given time: tools/fuzz.sh TARGET SECONDS [libFuzzer options]
# TARGET is png, jpeg, layer_archive, settings, interface, headless_script or zorbel_fx.
# The fuzz preset is configured and the target built first (clang). The committed
# corpus fuzz/corpus/TARGET seeds a working corpus in build/fuzz/corpus/TARGET, which
# grows there; crashes and slow inputs land in build/fuzz/artifacts/TARGET/. Copy what
# is worth keeping (after a fix) into fuzz/corpus/TARGET, where the tests replay it.
# One job at a time (-j1): the machine is shared.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 2 ]; then
  echo "usage: tools/fuzz.sh TARGET SECONDS [libFuzzer options]" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2
case "$target" in
  png|jpeg|layer_archive|settings|interface|headless_script|zorbel_fx) ;;
  *) echo "tools/fuzz.sh: unknown target \"$target\"" >&2; exit 2 ;;
esac
case "$seconds" in
  ''|*[!0-9]*) echo "tools/fuzz.sh: SECONDS must be a whole number, not \"$seconds\"" >&2; exit 2 ;;
esac
[ -f build/fuzz/build.ninja ] || cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target "fuzz_$target" -j2 >/dev/null
work=build/fuzz/corpus/$target
artifacts=build/fuzz/artifacts/$target
mkdir -p "$work" "$artifacts"
dict=()
[ -f "fuzz/dict/$target.dict" ] && dict=(-dict="fuzz/dict/$target.dict")
# detect_leaks stays on: a leak per input is a fault like any other.
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
exec "build/fuzz/fuzz/fuzz_$target" "$work" "fuzz/corpus/$target" "${dict[@]}" \
  -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -max_len=65536 \
  -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$artifacts/" "$@"
