#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and runs Zorbel.
# With a display it opens the window; without one ($DISPLAY and
# $WAYLAND_DISPLAY both unset) it plays a short painting session in the
# headless driver and says where the painting was saved. Arguments (such as
# --home DIR) are passed on to the app.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset release
cmake --build --preset release
app=build/release/app/zorbel

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$app" "$@"
fi

# Where the app keeps its Documents folder (as platform/foundation/Paths does).
documents="${XDG_DATA_HOME:-$HOME/.local/share}/zorbel/Documents"
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  if [ "${args[$i]}" = "--home" ] && [ $((i + 1)) -lt ${#args[@]} ]; then
    documents="${args[$((i + 1))]}/Documents"
  fi
done

echo "No display: playing the demo session (resources/demo.zscript) without a window."
"$app" --headless "$@" --script resources/demo.zscript
echo "Done. The painting and the original picture are in: $documents"
