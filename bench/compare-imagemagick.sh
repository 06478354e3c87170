#!/usr/bin/env bash
# Times Zorbel's effects against the closest ImageMagick operations on the same 320 x 480
# picture and prints how many times faster Zorbel is. ImageMagick is not a Zorbel dependency:
# without `convert` the script says so and stops.
# Usage: bench/compare-imagemagick.sh [BUILD_DIR]   (a Release build with the benchmarks;
#        default build/release)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/release}
warps="$build/bench/bench_effects_warps"
tones="$build/bench/bench_effects_tones"

if ! command -v convert > /dev/null; then
    echo "ImageMagick's convert is not installed: nothing to compare with, skipped."
    exit 0
fi
for program in "$warps" "$tones"; do
    if [ ! -x "$program" ]; then
        echo "$program is missing: build the benchmarks first (cmake --preset release && cmake --build --preset release)"
        exit 1
    fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 320x480 -seed 7 plasma:fractal "$tmp/test.png"
# MPC is ImageMagick's own memory-mapped format: reading it costs next to nothing.
convert "$tmp/test.png" "$tmp/test.mpc"

# Milliseconds per run of `convert test.mpc OPERATION null:`, at its best thread count, over
# ITERATIONS runs (enough for a few tenths of a second: short runs are dominated by start-up).
im_ms() {
    local iterations="$1"
    shift
    convert "$tmp/test.mpc" -bench "$iterations" "$@" null: 2>&1 |
        awk '/Performance/ { for (i = 1; i <= NF; i++) if ($i ~ /ips$/) { v = $i + 0; if (v > best) best = v } }
             END { printf "%.4f", 1000 / best }'
}

# Milliseconds per run of one Google Benchmark case (all cores): the fastest of several
# repetitions, the one least disturbed by whatever else the machine was doing.
zorbel_ms() {
    "$1" --benchmark_filter="^$2\$" --benchmark_format=csv --benchmark_min_time=0.05 \
        --benchmark_repetitions=15 2> /dev/null |
        awk -F, -v name="\"$2\"" '$1 == name {
            t = $3; u = $5
            if (u == "ns") t /= 1e6; else if (u == "us") t /= 1e3; else if (u == "s") t *= 1e3
            if (best == "" || t < best) best = t }
            END { printf "%.4f", best }'
}

# The best of three ImageMagick measurements, for the same reason.
im_best_ms() {
    local best="" t
    for _ in 1 2 3; do
        t=$(im_ms "$@")
        if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=$t
        fi
    done
    printf '%s' "$best"
}

base=$(im_best_ms 400)
echo "ImageMagick's own read and write of the picture: ${base} ms per run (subtracted below)"
echo
printf '%-22s %-32s %12s %12s %8s\n' "Zorbel" "ImageMagick" "IM ms" "Zorbel ms" "ratio"
worst=""
compare() {
    local label="$1" program="$2" case="$3" imlabel="$4" iterations="$5"
    shift 5
    local im z net ratio
    im=$(im_best_ms "$iterations" "$@")
    net=$(awk -v a="$im" -v b="$base" 'BEGIN { d = a - b; if (d < 0.001) d = 0.001; printf "%.4f", d }')
    z=$(zorbel_ms "$program" "$case")
    ratio=$(awk -v a="$net" -v b="$z" 'BEGIN { printf "%.1f", a / b }')
    printf '%-22s %-32s %12.3f %12.3f %7sx\n' "$label" "$imlabel" "$net" "$z" "$ratio"
    if [ -z "$worst" ] || awk -v a="$ratio" -v b="$worst" 'BEGIN { exit !(a < b) }'; then
        worst=$ratio
    fi
}

compare "twirl (bilinear)" "$warps" "twirlImage3/0/1/real_time" "-swirl 90" 40 -swirl 90
compare "twirl (preview)" "$warps" "twirlImage3/0/0/real_time" "-swirl 90" 40 -swirl 90
compare "bulge" "$warps" "bulgeImageBitmap/0/real_time" "-implode -0.5" 40 -implode -0.5
compare "dent" "$warps" "dentImageBitmap/0/real_time" "-implode 0.5" 40 -implode 0.5
compare "fisheye" "$warps" "fisheyeImageBitmap/0/real_time" "-implode -0.5" 40 -implode -0.5
compare "light tunnel" "$warps" "lightTunnelImageBitmap/0/real_time" "-implode 0.5" 40 -implode 0.5
compare "squeeze" "$warps" "squeezeImage2/0/real_time" "-implode 0.5" 40 -implode 0.5
compare "grey scale" "$tones" "grayScaleImageBitmap" "-colorspace Gray" 300 -colorspace Gray
compare "sepia" "$tones" "sepia" "-sepia-tone 80%" 300 -sepia-tone 80%
compare "brightness" "$tones" "brightness" "-brightness-contrast 20x0" 300 -brightness-contrast 20x0
compare "contrast" "$tones" "contrast" "-brightness-contrast 0x20" 300 -brightness-contrast 0x20
compare "mirror" "$tones" "mirrorImageBitmap/0" "-flop" 300 -flop
echo
echo "Slowest ratio: ${worst}x (Zorbel aims for at least 3x on every one)"
