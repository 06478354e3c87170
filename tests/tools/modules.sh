#!/usr/bin/env bash
# The window (SDL) and the camera (GStreamer) are modules the app loads only
# when they are wanted: a headless run maps neither, nor the libraries they
# bring; a window module that is missing, damaged or foreign ends the
# windowed run with one log line carrying the loader's reason (exit status 1,
# no crash); without its module the camera is simply not there. Under Xvfb,
# a window opened with the build's stand-ins maps none of the real sound
# libraries, nor libdbus where no session bus can be had (but leaves D-Bus
# alone where one is set), nor the libraries of SDL's other window systems
# (Wayland's, libdecor, libxkbcommon, libgbm, libdrm); an SDL that the
# stand-ins do not serve is given the real libraries, with a log line, and
# still opens its window.
# Usage: modules.sh BUILD_DIR
set -euo pipefail
build=$1
zorbel=$build/app/zorbel
work=$(mktemp -d)
app=
xvfb_pid=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "modules: $*" >&2; exit 1; }

[ -f "$build/lib/zorbel/libzorbel-window.so" ] || fail "the window module was not built"
[ -f "$build/lib/zorbel/libzorbel-camera.so" ] || fail "the camera module was not built"
if readelf -d "$zorbel" | grep -E 'NEEDED.*(SDL|gst|wayland|pulse|asound|X11)'; then
    fail "the program links what only the modules need"
fi

# A headless run, its script fed through a pipe: the process's mappings are
# read once it has launched and drawn, while it waits for the next line.
mkfifo "$work/script"
"$zorbel" --headless --home "$work/home" --script - <"$work/script" 2>"$work/headless.log" &
app=$!
exec 3>"$work/script"
printf 'wait 1\npress add\nwait 1\nscreenshot %s\n' "$work/drawn.png" >&3
for _ in $(seq 200); do
    [ -s "$work/drawn.png" ] && break
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
done
[ -s "$work/drawn.png" ] || { cat "$work/headless.log" >&2; fail "the headless run drew nothing"; }
maps=$(cat "/proc/$app/maps")
printf 'quit\n' >&3
exec 3>&-
wait "$app" || { cat "$work/headless.log" >&2; fail "the headless run failed"; }
app=
grep -q 'libpixman' <<<"$maps" || fail "the mappings were not read"
if grep -E 'libSDL2|libgst|libzorbel-(window|camera)|libpulse|libasound|libwayland' <<<"$maps"; then
    fail "the headless run mapped the window's or the camera's libraries"
fi

# The windowed run with its module missing, damaged, or another library.
window() { # NAME: runs the window with ZORBEL_MODULE_DIR=$work/NAME
    set +e
    ZORBEL_MODULE_DIR="$work/$1" DISPLAY=:0 "$zorbel" --home "$work/home-$1" 2>"$work/$1.log"
    local status=$?
    set -e
    [ "$status" -eq 1 ] || { cat "$work/$1.log" >&2; fail "$1 module: exit status $status, not 1"; }
}
mkdir "$work/missing" "$work/damaged" "$work/foreign"
window missing
grep -q "The window could not be opened (libzorbel-window.so is not in $work/missing); try --headless" \
    "$work/missing.log" || { cat "$work/missing.log" >&2; fail "no line for the missing module"; }
head -c 8192 /dev/urandom >"$work/damaged/libzorbel-window.so"
window damaged
grep -q "The window could not be opened ($work/damaged/libzorbel-window.so: invalid ELF header); try --headless" \
    "$work/damaged.log" || { cat "$work/damaged.log" >&2; fail "no line for the damaged module"; }
cp "$(ldconfig -p | awk '/libm\.so\.6 .*x86-64/ {print $NF; exit}')" "$work/foreign/libzorbel-window.so"
window foreign
grep -q "The window could not be opened (.*undefined symbol: zorbel_window_module); try --headless" \
    "$work/foreign.log" || { cat "$work/foreign.log" >&2; fail "no line for the foreign module"; }

# The camera without its module: logged once, then no camera, as on a
# machine without one.
printf 'wait 1\npress add\nwait 1\npress Take Photo\nwait 1\nexpect-log No camera\nquit\n' >"$work/camera.zscript"
ZORBEL_MODULE_DIR="$work/missing" "$zorbel" --headless --home "$work/home-camera" \
    --script "$work/camera.zscript" 2>"$work/camera.log" ||
    { cat "$work/camera.log" >&2; fail "the run without a camera module failed"; }
grep -q "Camera: the camera module could not be loaded (libzorbel-camera.so is not in $work/missing)" \
    "$work/camera.log" || { cat "$work/camera.log" >&2; fail "no line for the missing camera module"; }
# A real window under Xvfb: its mappings once the first frame is shown.
if ! command -v Xvfb >/dev/null; then
    echo "modules: Xvfb is not installed: the stand-ins not checked in a window"
else
    . "$(dirname "$0")/xvfb.bash"
    start_xvfb
    # NAME MODULE_DIR [VAR=VALUE...]: opens the window, keeps its mappings in
    # $work/NAME.maps. No session bus to be had unless VAR=VALUE sets one.
    mkdir -m 700 "$work/runtime"
    opened() {
        local name=$1 modules=$2
        shift 2
        env -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR="$work/runtime" \
            ZORBEL_MODULE_DIR="$modules" DISPLAY="$display" "$@" \
            "$zorbel" --home "$work/home-$name" 2>"$work/$name.log" &
        app=$!
        for _ in $(seq 100); do
            grep -q "First frame shown" "$work/$name.log" && break
            kill -0 "$app" 2>/dev/null || break
            sleep 0.1
        done
        grep -q "First frame shown" "$work/$name.log" ||
            { cat "$work/$name.log" >&2; fail "$name: no first frame"; }
        cat "/proc/$app/maps" >"$work/$name.maps"
        [ "$name" = quiet ] && command -v xwd >/dev/null &&
            xwd -silent -name Zorbel -display "$display" >"$work/window.xwd"
        kill -TERM "$app"
        wait "$app" || { cat "$work/$name.log" >&2; fail "$name: the window did not end normally"; }
        app=
    }
    opened quiet "$build/lib/zorbel"
    # What the window shows once its first frame is: the white canvas, the
    # dark title bar, the black colour well in the toolbar (scale 2).
    if [ -s "$work/window.xwd" ]; then
        python3 - "$work/window.xwd" <<'PY' || fail "the window does not show the first frame"
import struct, sys
data = open(sys.argv[1], "rb").read()
header = struct.unpack(">25I", data[:100])
size, width, height, row, colours = header[0], header[4], header[5], header[12], header[19]
pixels = size + colours * 12
assert (width, height) == (640, 960), (width, height)
def rgb(x, y):
    b, g, r = data[pixels + y * row + x * 4: pixels + y * row + x * 4 + 3]
    return r, g, b
for x, y, want in ((320, 500, "white"), (100, 85, "dark"), (518, 915, "black")):
    r, g, b = rgb(x, y)
    ok = {"white": min(r, g, b) > 240, "dark": 30 < max(r, g, b) < 90, "black": max(r, g, b) < 16}[want]
    assert ok, f"({x}, {y}) is {(r, g, b)}, not {want}"
PY
    fi
    if grep -E 'Library stand-in|loads the real libraries' "$work/quiet.log"; then
        fail "the stand-ins were set aside"
    fi
    if command -v dbus-launch >/dev/null || [ -x /usr/bin/dbus-launch ]; then
        echo "modules: dbus-launch is installed: a session bus can always be had"
    else
        grep -q 'libzorbel-no-dbus\.so' "$work/quiet.maps" || fail "D-Bus's stand-in was not loaded"
        grep -E '/libdbus-1\.so' "$work/quiet.maps" && fail "libdbus was mapped with no session bus"
    fi
    if [ -f "$build/lib/zorbel/libzorbel-no-wayland-client.so" ]; then
        grep -q 'libzorbel-no-wayland-client\.so' "$work/quiet.maps" ||
            fail "the other window systems' stand-ins were not loaded"
        if grep -E '/lib(wayland-[a-z]+|decor-0|xkbcommon|gbm|drm)\.so' "$work/quiet.maps"; then
            fail "the X11 window mapped the other window systems' libraries"
        fi
    fi
    # A session bus set (here one that is not there): D-Bus is SDL's to try.
    opened bus "$build/lib/zorbel" DBUS_SESSION_BUS_ADDRESS="unix:path=$work/runtime/no-bus"
    grep -q 'libzorbel-no-dbus' "$work/bus.maps" && fail "D-Bus's stand-in was loaded with a bus set"
    if [ ! -f "$build/lib/zorbel/libzorbel-no-pulse.so" ]; then
        echo "modules: this SDL links no sound library: no sound stand-ins to check"
        echo "modules: ok"
        exit 0
    fi
    grep -q 'libzorbel-no-pulse\.so' "$work/quiet.maps" || fail "the sound stand-ins were not loaded"
    if grep -E '/lib(pulse|pulsecommon|asound|samplerate|sndfile)[^/]*\.so' "$work/quiet.maps"; then
        fail "the window mapped the real sound libraries"
    fi
    # Stand-ins that do not serve this SDL: a PulseAudio one without its functions.
    mkdir "$work/unfit"
    cp "$build"/lib/zorbel/*.so "$work/unfit/"
    echo 'int zorbel_nothing;' | cc -shared -fPIC -x c - -Wl,-soname,libpulse.so.0 \
        -o "$work/unfit/libzorbel-no-pulse.so"
    opened unfit "$work/unfit"
    grep -q "The window loads the real libraries: the stand-ins do not serve this SDL (.*undefined symbol: pa_" \
        "$work/unfit.log" || { cat "$work/unfit.log" >&2; fail "no line for the unfit stand-ins"; }
    grep -qE '/libpulse\.so\.0' "$work/unfit.maps" || fail "the real PulseAudio was not loaded instead"
    grep -q 'libzorbel-no-' "$work/unfit.maps" && fail "stand-ins stayed loaded beside the real libraries"
fi
echo "modules: ok"
