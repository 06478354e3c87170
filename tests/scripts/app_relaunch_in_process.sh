#!/usr/bin/env bash
# The headless `relaunch` command ends the app as a quit does (the painting and
# the settings are written) and starts it again in the same process, which
# shows the painting read back from the files.
# Usage: app_relaunch_in_process.sh ZORBEL SCRIPT
set -uo pipefail
zorbel=$1
script=$2
here=$(cd "$(dirname "$0")" && pwd)
export PYTHONPATH="$here"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "app_relaunch_in_process: $*" >&2; exit 1; }

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; fail "the run failed"; }
for f in zorbel.png zorbelorgimage.png tempundo.png; do
  [ -s "home/Documents/$f" ] || fail "the relaunch did not write $f"
done
[ -s home/config/defaults.json ] || fail "the relaunch did not write the settings"
python3 "$here/png_pixels.py" after-relaunch.png "160 240 dark" "160 120 white" || fail "the relaunched app does not show the painting"
python3 "$here/png_pixels.py" home/Documents/zorbel.png "160 240 dark" || fail "the saved painting lacks the stroke"
echo "app_relaunch_in_process: ok"
