#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and runs Zorbel.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset release
cmake --build --preset release
if [ -x build/release/app/zorbel ]; then
  exec build/release/app/zorbel "$@"
fi
exec build/release/tools/canvas-demo "$@"
