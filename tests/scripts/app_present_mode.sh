#!/usr/bin/env bash
# Present mode shows the picture alone, without the status bar and toolbars,
# and keeps them away after a stroke; a shake leaves it (the chrome comes
# back and the "Erase Image?" sheet is shown); its button then turns it on
# again.
# Usage: app_present_mode.sh ZORBEL SCRIPT
set -euo pipefail
. "$(dirname "$0")/scratch_run.sh"

# Status bar, navigation bar and toolbar, shown or hidden, over a white picture.
chrome_shown=("100 10 grey" "60 40 dark" "5 470 dark")
chrome_hidden=("100 10 white" "60 40 white" "5 470 white")

"$zorbel" --headless --home home --script "$script" 2>log.txt || { cat log.txt >&2; fail "the run failed"; }

pixels shown.png "${chrome_shown[@]}" "160 240 dark" || fail "the chrome is not shown at first"
pixels presenting.png "${chrome_hidden[@]}" "160 240 dark" || fail "present mode did not hide the chrome"
pixels still-presenting.png "${chrome_hidden[@]}" "160 400 dark" ||
  fail "a stroke in present mode brought the chrome back (or was not painted)"
pixels shaken.png "300 100 grey" || fail "the shake did not ask about erasing"
pixels back.png "${chrome_shown[@]}" "160 240 dark" "160 400 dark" ||
  fail "after the shake the chrome is not back, or the picture changed"
pixels again.png "${chrome_hidden[@]}" || fail "the present button did nothing after the shake"
echo "app_present_mode: ok"
