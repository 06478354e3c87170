#!/usr/bin/env bash
# Installs what is missing, builds the sanitizer configurations and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
# The effect pipeline's worker thread under ThreadSanitizer: only its tests
# are built there, and any data race fails the run.
cmake --preset tsan
cmake --build --preset tsan
TSAN_OPTIONS="halt_on_error=1 ${TSAN_OPTIONS:-}" build/tsan/tests/pipeline_tests --gtest_brief=1
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
