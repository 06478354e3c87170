#!/usr/bin/env bash
# A launch cleans what a killed write left (".NAME.XXXXXX" temporaries in
# Documents, the settings folder and the album) and nothing else; a settings
# file that is a FIFO neither hangs the launch nor is written over: it is
# moved aside and the settings are written anew at the end.
# Usage: launch_odd_files.sh ZORBEL SCRIPT
set -euo pipefail
zorbel=$1
script=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "launch_odd_files: $*" >&2; exit 1; }

home=$work/home
mkdir -p "$home/Documents" "$home/config" "$home/Pictures"
: > "$home/Documents/.zorbel.png.Ab12Cd"
printf 'half a pict' > "$home/Documents/.tempundo.png.x9Y8z7"
printf '{"ToolID": 2' > "$home/config/.defaults.json.QWErty"
: > "$home/Pictures/.Zorbel 2024-05-01 10.00.00.png.a1b2c3"
# A person's own files, some of a similar shape, stay.
printf 'mine' > "$home/Documents/.zorbel.png.bak"
printf 'mine' > "$home/Documents/notes.txt"
printf 'mine' > "$home/Pictures/.Zorbel.png.keep-me"
mkfifo "$home/config/defaults.json"

status=0
timeout 60 "$zorbel" --headless --home "$home" --script "$script" 2>log.txt || status=$?
[ "$status" -eq 0 ] || { cat log.txt >&2; fail "the run failed or hung (status $status)"; }

for leftover in "Documents/.zorbel.png.Ab12Cd" "Documents/.tempundo.png.x9Y8z7" \
    "config/.defaults.json.QWErty" "Pictures/.Zorbel 2024-05-01 10.00.00.png.a1b2c3"; do
    [ ! -e "$home/$leftover" ] || fail "$leftover was not removed"
    grep -qF "Removed $home/$leftover" log.txt || fail "removing $leftover was not logged"
done
for kept in Documents/.zorbel.png.bak Documents/notes.txt Pictures/.Zorbel.png.keep-me; do
    [ "$(cat "$home/$kept")" = mine ] || fail "$kept was not kept"
done
[ -p "$home/config/defaults.json.damaged" ] || fail "the FIFO was not moved aside"
[ -f "$home/config/defaults.json" ] && [ ! -p "$home/config/defaults.json" ] ||
    fail "the settings were not written anew"
python3 -c 'import json, sys; assert json.load(open(sys.argv[1]))["ToolID"] == 1' \
    "$home/config/defaults.json" || fail "the new settings file is not the defaults"
echo "launch_odd_files: ok"
