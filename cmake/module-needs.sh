#!/bin/sh
# module-needs.sh OUT MODULE...: the linker options that make a program keep
# every platform function the modules call ("-Wl,--undefined=SYMBOL" each).
set -eu
out=$1
shift
nm -D --undefined-only "$@" | awk '$2 ~ /8platform/ {print "-Wl,--undefined=" $2}' | sort -u > "$out.new"
mv "$out.new" "$out"
