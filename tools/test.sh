#!/usr/bin/env bash
# Installs what is missing, builds the sanitizer configuration and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
