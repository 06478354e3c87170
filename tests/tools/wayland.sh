#!/usr/bin/env bash
# The window natively on Wayland: under a Weston compositor with no screen
# (Weston's X11 backend drawing with pixman into a private Xvfb, which gives
# it a seat: a keyboard and a pointer) the app opens its window through SDL's
# Wayland backend, shows a first frame and ends normally on SIGTERM, saving
# its painting; the compositor's output shows the window's white canvas, and
# a click and F11 through the compositor's seat make the window full screen;
# no OpenGL library is loaded to make the window, except by an SDL that
# takes no Vulkan loader, where OpenGL's code is given back after the first
# frame.
# Under Weston's headless backend, which has no seat, SDL's Wayland backend
# would die starting: the app says why it opens no window there instead.
# Skipped when Weston or Xvfb is not installed.
# Usage: wayland.sh BUILD_DIR
set -euo pipefail
build=$1
zorbel=$build/app/zorbel
command -v weston >/dev/null || { echo "wayland: weston is not installed: skipped"; exit 77; }
command -v Xvfb >/dev/null || { echo "wayland: Xvfb is not installed: skipped"; exit 77; }
command -v xdotool >/dev/null || { echo "wayland: xdotool is not installed: skipped"; exit 77; }
[ -x "$zorbel" ] || { echo "wayland: $zorbel is not built" >&2; exit 1; }
work=$(mktemp -d)
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
weston_pid=
headless_pid=
xvfb_pid=
cleanup() {
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
    [ -n "$headless_pid" ] && kill "$headless_pid" 2>/dev/null && wait "$headless_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "wayland: $*" >&2; [ -f "$work/app.log" ] && cat "$work/app.log" >&2; exit 1; }
# Waits up to 5 s for a compositor's socket: wait_for_compositor SOCKET LOG WHAT
# Waits up to 10 s for the app ($app) to log a line matching PATTERN;
# fails at once when the app has ended.
wait_for_log() {
    for _ in $(seq 100); do
        grep -q "$1" "$work/app.log" && return 0
        kill -0 "$app" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
wait_for_compositor() {
    for _ in $(seq 50); do
        [ -S "$XDG_RUNTIME_DIR/$1" ] && return 0
        sleep 0.1
    done
    cat "$2" >&2
    fail "$3 did not start"
}

. "$(dirname "$0")/xvfb.bash"
start_xvfb
DISPLAY=$display weston --backend=x11-backend.so --use-pixman \
    --width=1024 --height=1000 --socket=zorbel-test --idle-time=0 >"$work/weston.log" 2>&1 &
weston_pid=$!
wait_for_compositor zorbel-test "$work/weston.log" "weston"

unset DISPLAY SDL_VIDEODRIVER
# SDL 2.26's Wayland backend and libdecor leave their window frame and
# per-thread data behind at exit: leaks of those libraries, not checked here.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
WAYLAND_DISPLAY=zorbel-test "$zorbel" --home "$work/home" >"$work/app.log" 2>&1 &
app=$!
wait_for_log "First frame shown" || true
if ! grep -q "First frame shown" "$work/app.log"; then
    status=0
    kill -0 "$app" 2>/dev/null && kill -KILL "$app"
    wait "$app" || status=$?
    fail "no frame shown (the app ended with status $status)"
fi
grep -q "First frame shown (wayland," "$work/app.log" || fail "no frame shown through SDL's Wayland backend"
# The compositor draws its output into the Xvfb screen, where this prints the
# count of white pixels (none of them Weston's own) and the centre of their
# bounding box.
white_on_screen() {
    xwd -root -silent -display "$display" >"$work/screen.xwd" ||
        fail "the compositor's output could not be read"
    python3 - "$work/screen.xwd" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
header = struct.unpack(">25I", data[:100])
size, width, height = header[0], header[4], header[5]
bits, line, colours = header[11], header[12], header[19]
start = size + colours * 12
count, xs, ys = 0, [], []
for y in range(height if bits == 32 else 0):
    row = data[start + y * line:start + y * line + width * 4]
    for x in range(0, width, 8):
        if row[x * 4:x * 4 + 3] == b"\xff\xff\xff":
            count += 8
            xs.append(x)
            ys.append(y)
print(count, (min(xs) + max(xs)) // 2 if xs else 0, (min(ys) + max(ys)) // 2 if ys else 0)
PY
}
# The same once at least MIN white pixels show, or after 10 s as they are:
# a busy machine may take a while to repaint the compositor's output.
white_at_least() {
    local count=0 rest
    for _ in $(seq 20); do
        sleep 0.5
        read -r count rest < <(white_on_screen)
        [ "$count" -ge "$1" ] && break
    done
    echo "$count $rest"
}
# The blank canvas: about 300 x 350 white pixels.
read -r white x y < <(white_at_least 50000)
[ "$white" -ge 50000 ] || fail "the window's pixels did not reach the compositor ($white white pixels)"

# Keys and the pointer through the compositor's seat: a click on the canvas
# gives the window the keyboard, F11 makes it full screen.
export DISPLAY=$display
xdotool mousemove "$x" "$y" click 1
sleep 0.5
xdotool key F11
for _ in $(seq 50); do
    grep -q "Full screen: 1024 x 1000 pixels" "$work/app.log" && break
    sleep 0.1
done
grep -q "Full screen: 1024 x 1000 pixels" "$work/app.log" || fail "F11 did not make the window full screen"
unset DISPLAY
# The canvas at twice the size fills the screen's new buffers.
read -r white x y < <(white_at_least 250000)
[ "$white" -ge 250000 ] || fail "the full-screen picture did not reach the compositor ($white white pixels)"
# The window was made, shown and made full screen without OpenGL: none of
# EGL, Mesa's driver, LLVM or a Vulkan driver is mapped in the app
# (libwayland-egl, libgbm and libdrm are, small: SDL links them for its
# Wayland and KMS backends, and they load no driver by themselves); having
# loaded none of it, the app claims to give back nothing.
cp "/proc/$app/maps" "$work/maps" || fail "the app's mappings could not be read"
gl_libraries=$(awk '{print $6}' "$work/maps" |
    grep -E '/(libEGL|libGL|libglapi|libLLVM|libvulkan|libgallium|libdrm_)[^/]*$|/dri/' |
    sort -u | tr '\n' ' ' || true)
[ -z "$gl_libraries" ] || fail "the Wayland window loaded OpenGL or Vulkan: $gl_libraries"
! grep -q "The Wayland window loads OpenGL" "$work/app.log" ||
    fail "SDL did not take the window module as its Vulkan loader"
! grep -q "Gave back .* MB of library code" "$work/app.log" ||
    fail "the app claims to give back library code it never loaded"
kill -TERM "$app"
status=0
wait "$app" || status=$?
[ "$status" -eq 0 ] || fail "the app ended with status $status"
[ -f "$work/home/Documents/zorbel.png" ] || fail "the painting was not saved at the end"

# An SDL that takes no Vulkan loader (one built without Vulkan; here SDL's
# call refused by a preloaded stand-in) makes the window with OpenGL as it
# wants: the window still opens, says why it loads OpenGL, and gives the
# driver's code back after the first frame. Skipped without a C compiler.
if command -v cc >/dev/null; then
    cat >"$work/novulkan.c" <<'C'
int SDL_Vulkan_LoadLibrary(const char *path) {
    (void)path;
    return -1;
}
C
    cc -shared -fPIC -o "$work/novulkan.so" "$work/novulkan.c" || fail "the stand-in refusal did not build"
    # The preloaded library comes before AddressSanitizer's runtime.
    ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0 LD_PRELOAD="$work/novulkan.so" \
        WAYLAND_DISPLAY=zorbel-test "$zorbel" --home "$work/home" >"$work/app.log" 2>&1 &
    app=$!
    wait_for_log "Gave back .* MB of library code loaded only to open the window" || true
    kill -TERM "$app" 2>/dev/null || true
    status=0
    wait "$app" || status=$?
    grep -q "The Wayland window loads OpenGL: SDL took no Vulkan stand-in" "$work/app.log" ||
        fail "without Vulkan in SDL the app did not say why it loads OpenGL"
    grep -q "First frame shown (wayland," "$work/app.log" || fail "without Vulkan in SDL no frame was shown"
    grep -q "Gave back .* MB of library code loaded only to open the window" "$work/app.log" ||
        fail "the OpenGL libraries loaded to open the window kept their pages"
    [ "$status" -eq 0 ] || fail "without Vulkan in SDL the app ended with status $status"
fi

weston --backend=headless-backend.so --socket=zorbel-seatless --idle-time=0 \
    >"$work/headless.log" 2>&1 &
headless_pid=$!
wait_for_compositor zorbel-seatless "$work/headless.log" "headless weston"
status=0
SDL_VIDEODRIVER=wayland WAYLAND_DISPLAY=zorbel-seatless timeout 60 "$zorbel" --home "$work/home" \
    >"$work/app.log" 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "without a seat the app ended with status $status, not 1"
grep -q "The window could not be opened (the Wayland compositor offers no seat" "$work/app.log" ||
    fail "without a seat the app did not say why it opened no window"
echo "wayland: ok"
