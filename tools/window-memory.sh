#!/usr/bin/env bash
# Resident memory of the idle window under Xvfb, with the window's pixels
# presented as shared memory (the app's choice) and through SDL's OpenGL
# texture framebuffer (what SDL does by default), whether OpenGL was loaded,
# and the time from launch to the first frame shown: from just before the
# app's program is started (the exec a desktop's launcher makes; the env and
# setpriv the script runs first are not counted) to the app's "First frame
# shown" log line, written once SDL has handed the first whole frame to the X
# server and the server has taken it (SDL waits for that), to the millisecond. Xvfb runs with -noreset, as a
# desktop's server does, and one launch warms it first: a server that resets
# when its last client leaves rebuilds its keymap and screen memory for the
# next, which no desktop does (about 20 ms more on the first frame). The
# first launch starts from an empty home; the launch after it finds what that
# one left, as a person's every later launch does (the painting to restore,
# the window's scale, X's parsed compose table).
# Then, on X11, a camera-like photo opened from the command line (a 4000 x 3000
# JPEG of 5.8 MB, 4:2:0, turned by its EXIF orientation, made once with
# GStreamer): to the first frame showing the new document made from it.
# With Weston installed, the same on Wayland, where the first frame counts
# once its buffer is committed to the compositor (nothing waits for it there).
# Not a test: memory depends on the build (sanitizers double it) and the time
# on what else the machine is doing.
# Usage: tools/window-memory.sh [ZORBEL]   (default: build/release/app/zorbel)
set -euo pipefail
zorbel=${1:-build/release/app/zorbel}
command -v Xvfb >/dev/null || { echo "window-memory: Xvfb is missing (apt-get install xvfb)" >&2; exit 2; }
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "$xvfb" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
sleep 1

# On X11 the app runs as an ordinary user, as on a desktop: run as root, it
# goes to "nobody" (X keeps no compose cache for root, for one).
as_user=()
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    chmod 777 "$work"
fi

# measure LABEL MODE [PICTURE]; KEEP_HOME=1 launches again into the home the
# last launch left (a returning person: their painting, settings and caches).
measure() {
    local label=$1 mode=$2 picture=${3:-}
    [ "${KEEP_HOME:-0}" = 1 ] || rm -rf "$work/home"
    rm -f "$work/start"
    # The clock starts as the app's own program is started: the env and
    # setpriv run before it are the script's, not a desktop launcher's.
    local stamped=(bash -c 'date +%s.%N >"$0"; exec "$@"' "$work/start" "$zorbel" --home "$work/home")
    case $mode in
    shm) env -u SDL_FRAMEBUFFER_ACCELERATION -u WAYLAND_DISPLAY DISPLAY="$display" \
            "${as_user[@]}" "${stamped[@]}" ${picture:+"$picture"} 2>"$work/log" & ;;
    opengl) env -u WAYLAND_DISPLAY SDL_FRAMEBUFFER_ACCELERATION=opengl DISPLAY="$display" \
            "${as_user[@]}" "${stamped[@]}" 2>"$work/log" & ;;
    wayland) # the compositor's folder is root's: as root
            env -u DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$work/runtime" \
            WAYLAND_DISPLAY=zorbel-memory "${stamped[@]}" 2>"$work/log" & ;;
    esac
    local app=$!
    sleep 4
    local rss gl shown first start
    start=$(cat "$work/start")
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
    gl=$(grep -cE 'libGL|libLLVM|dri/' "/proc/$app/maps" || true)
    kill -TERM "$app"
    wait "$app" || true
    # The log line's stamp: "2026-12-09 03:30:20.045 zorbel[...] First frame shown ...".
    shown=$(awk '/First frame shown/ {print $1 " " $2; exit}' "$work/log")
    first=$([ -n "$shown" ] && echo "$(( ($(date -d "$shown" +%s%N) - ${start/./}) / 1000000 )) ms" || echo "no")
    printf '%-28s %6d MB resident, %s OpenGL mappings, first frame after %s\n' "$label" \
        $((rss / 1024)) "$gl" "$first"
}
measure "(warming the server)" shm >/dev/null
measure "shared memory (the app)" shm
KEEP_HOME=1 measure "the same, launched again" shm
measure "OpenGL texture framebuffer" opengl

# The photo: noise over a pinwheel compresses as a camera's picture does;
# EXIF orientation 6 (turned a quarter clockwise) replaces the JFIF header.
if command -v gst-launch-1.0 >/dev/null; then
    gst-launch-1.0 -q compositor name=mix sink_1::alpha=0.25 ! \
        video/x-raw,width=4000,height=3000,format=I420 ! jpegenc quality=92 ! \
        filesink location="$work/plain.jpg" \
        videotestsrc num-buffers=1 pattern=pinwheel ! video/x-raw,width=4000,height=3000 ! mix. \
        videotestsrc num-buffers=1 pattern=snow ! video/x-raw,width=4000,height=3000 ! mix.
    python3 - "$work/plain.jpg" "$work/photo.jpg" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
tiff = b"II*\x00" + struct.pack("<IH", 8, 1) + struct.pack("<HHIHH", 0x0112, 3, 1, 6, 0) + b"\0" * 4
payload = b"Exif\x00\x00" + tiff
rest = data[2:]
if rest[:2] == b"\xff\xe0":
    rest = rest[2 + struct.unpack(">H", rest[2:4])[0]:]
open(sys.argv[2], "wb").write(b"\xff\xd8\xff\xe1" + struct.pack(">H", len(payload) + 2) + payload + rest)
PY
    measure "4000 x 3000 JPEG opened" shm "$work/photo.jpg"
    grep -q "Opening $work/photo.jpg" "$work/log" || echo "window-memory: the photo was not opened" >&2
else
    echo "window-memory: no gst-launch-1.0, the photo not measured" >&2
fi
# Wayland: Weston drawing into the same Xvfb (its X11 backend gives it a seat).
command -v weston >/dev/null || { echo "window-memory: no weston, Wayland not measured" >&2; exit 0; }
mkdir -m 700 "$work/runtime"
DISPLAY=$display XDG_RUNTIME_DIR=$work/runtime weston --backend=x11-backend.so --use-pixman \
    --width=1024 --height=1000 --socket=zorbel-memory --idle-time=0 >/dev/null 2>&1 &
weston=$!
trap 'kill "$weston" 2>/dev/null || true; wait "$weston" 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 50); do
    [ -S "$work/runtime/zorbel-memory" ] && break
    sleep 0.1
done
measure "(warming the compositor)" wayland >/dev/null
measure "Wayland (shared memory)" wayland
KEEP_HOME=1 measure "the same, launched again" wayland
