#!/usr/bin/env bash
# Ten SIGKILLs at random moments of termination, of a memory-warning flush and
# of a relaunch (tools/kill-runs.py; run it with --runs 100 for the long
# version): every saved file stays whole, the previous version or the new one,
# and each relaunch shows the painting.
# Usage: kills.sh BUILD_DIR
set -uo pipefail
zorbel="$1/app/zorbel"
here=$(cd "$(dirname "$0")" && pwd)
[ -x "$zorbel" ] || { echo "kills: zorbel is not built in $1"; exit 1; }
exec python3 "$here/../../tools/kill-runs.py" "$zorbel" --runs 10
