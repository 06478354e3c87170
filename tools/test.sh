#!/usr/bin/env bash
# Installs what is missing, builds the sanitizer configurations and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
# The effect pipeline's worker thread under ThreadSanitizer: its tests, then
# the app through a short run of one-shot effects (tools/tsan-soak.sh takes a
# longer one); any data race fails the run.
cmake --preset tsan
cmake --build --preset tsan
TSAN_OPTIONS="halt_on_error=1 ${TSAN_OPTIONS:-}" build/tsan/tests/pipeline_tests --gtest_brief=1
tools/tsan-soak.sh 120
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
