#!/usr/bin/env bash
# A memory warning is logged by the delegate and by every screen (the script
# checks the lines), the user is told, and the canvas gives up its buffers:
# the painting and its undo copy come back from their files unchanged, so the
# picture looks the same, undo takes the stroke back and a second undo brings
# back the same picture.
# Usage: app_memory_warning.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; fail "the run failed"; }

pixels before.png "160 240 dark" "300 100 white" || fail "no stroke before the warning"
pixels alert.png "300 100 grey" || fail "the user was not told"
pixels --same before.png after.png || fail "the painting did not come back unchanged"
pixels undo1.png "160 240 white" "40 120 white" || fail "undo after the warning did not take the stroke back"
pixels --same before.png undo2.png || fail "the second undo did not bring back the same picture"
echo "app_memory_warning: ok"
