#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: the programs, resources, desktop
# entry, metainfo, icons and manual pages land in the standard places; the
# desktop entry and the metainfo pass their validators; and the installed app,
# its prefix moved elsewhere and the build folder out of its reach, starts
# headless from another folder and finds every resource beside itself, and its
# modules: the camera's headless, the window's under Xvfb (where installed).
# Usage: install.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
pixels=$here/../scripts/png_pixels.py
work=$(mktemp -d)
xvfb_pid=
app=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "install: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/first" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }
# Relocatable: the prefix moves after installation.
mv "$work/first" "$work/prefix"
prefix=$work/prefix

for file in bin/zorbel bin/zorbel-fx lib/zorbel/libzorbel-window.so lib/zorbel/libzorbel-camera.so \
    share/applications/org.zorbel.Zorbel.desktop share/metainfo/org.zorbel.Zorbel.metainfo.xml \
    share/man/man1/zorbel.1 share/man/man1/zorbel-fx.1 \
    share/icons/hicolor/scalable/apps/zorbel.svg share/zorbel/screenshots/zorbel-main.png \
    share/zorbel/resources/whitevert480.png share/zorbel/resources/interfaces/MainWindow.json; do
    [ -f "$prefix/$file" ] || fail "$file was not installed"
done
for size in 16 24 32 48 64 128 256 512; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/zorbel.png
    [ -f "$icon" ] || fail "no ${size}x${size} icon"
    python3 - "$icon" "$size" <<'PY' || fail "the ${size}x${size} icon has another size"
import struct, sys
data = open(sys.argv[1], "rb").read()
w, h = struct.unpack(">II", data[16:24])
sys.exit(0 if w == h == int(sys.argv[2]) else 1)
PY
done

desktop=$prefix/share/applications/org.zorbel.Zorbel.desktop
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (tools/install-deps.sh)"
desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
grep -qx 'MimeType=image/png;image/jpeg;' "$desktop" || fail "the desktop entry opens no pictures"
grep -q '^Exec=zorbel %f$' "$desktop" || fail "the desktop entry passes no file"
command -v appstreamcli >/dev/null || fail "appstreamcli is missing (tools/install-deps.sh)"
appstreamcli validate --no-net "$prefix/share/metainfo/org.zorbel.Zorbel.metainfo.xml" ||
    fail "the metainfo is not valid"
# The manual pages are well formed: man renders them without a warning.
if command -v groff >/dev/null; then
    for page in zorbel zorbel-fx; do
        warnings=$(groff -man -Tutf8 -ww "$prefix/share/man/man1/$page.1" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "$page.1: $warnings"
    done
fi

# The installed app from a folder of its own, with the build's resources out
# of reach (the build folder is not consulted outside it).
mkdir "$work/elsewhere"
cd "$work/elsewhere"
printf 'wait 1\nscreenshot shot.png\nquit\n' > shot.zscript
python3 "$pixels" --write-square square.png 100 330 220 420
"$prefix/bin/zorbel" --headless --home home --script shot.zscript square.png 2>run.log ||
    { cat run.log >&2; fail "the installed app failed"; }
# (A first launch has no painting yet: "tmpOrgImage not found", "Raw Named
# Image not found!" are about the Documents folder, not the resources.)
if grep -E "not loaded|Brush not found|image not found|Background image|Resource|Cannot open" run.log; then
    fail "the installed app missed something"
fi
python3 "$pixels" shot.png "160 380 dark" "50 380 white" || fail "the installed app did not open the picture"
# The toolbar's pictures came from the installed resources: not a plain bar.
python3 - shot.png "$pixels" <<'PY' || fail "the toolbar shows no pictures"
import os, sys
sys.path.insert(0, os.path.dirname(sys.argv[2]))
import png_pixels as px
shot = px.read_png(sys.argv[1])
values = {round(px.grey(shot, x, 458)) for x in range(0, 320, 2)}
sys.exit(0 if len(values) > 8 else 1)
PY
"$prefix/bin/zorbel-fx" grayscale square.png grey.png || fail "the installed zorbel-fx failed"

# The camera module, loaded from the prefix when "Take Photo" asks for a
# camera (there is none here: the module says so, not the loader).
printf 'wait 1\npress add\nwait 1\npress Take Photo\nwait 1\nexpect-log No camera\nquit\n' >camera.zscript
"$prefix/bin/zorbel" --headless --home camera-home --script camera.zscript 2>camera.log ||
    { cat camera.log >&2; fail "the installed app failed to look for a camera"; }
if grep "module could not be loaded" camera.log; then
    fail "the installed app did not find its camera module"
fi
# The window module, loaded from the prefix, opens a window on Xvfb.
if command -v Xvfb >/dev/null; then
    . "$here/xvfb.bash"
    start_xvfb
    env -u WAYLAND_DISPLAY DISPLAY="$display" "$prefix/bin/zorbel" --home window-home \
        2>window.log &
    app=$!
    for _ in $(seq 300); do
        grep -q "First frame shown" window.log && break
        kill -0 "$app" 2>/dev/null || break
        sleep 0.1
    done
    grep -q "First frame shown" window.log || { cat window.log >&2; fail "the installed app showed no window"; }
    kill -TERM "$app"
    wait "$app" || { cat window.log >&2; fail "the installed app's window did not end cleanly"; }
    app=
else
    echo "install: Xvfb is missing, the installed window is not checked" >&2
fi
echo "install: ok"
