#!/usr/bin/env bash
# Installs what is missing, checks that the C++ is formatted, builds everything, and runs every
# test: the core tests once more under AddressSanitizer and UndefinedBehaviorSanitizer, the tests of
# what runs on several threads once more under ThreadSanitizer (any report fails them), then the
# whole suite, GUI tests included, on an X server of its own (Xvfb); the Debian package is built
# and checked as well (scripts/check-package.sh; with CI=true also installed and removed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

./scripts/install-deps.sh
./scripts/check-format.sh
jobs=$(nproc)

cmake -S . -B build-asan -DLOOM_SANITIZE=ON -DLOOM_BUILD_GUI=OFF -DLOOM_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
cmake -S . -B build-tsan -DLOOM_SANITIZE_THREAD=ON -DLOOM_BUILD_GUI=OFF -DLOOM_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target test_threads
cmake -S . -B build >/dev/null
cmake --build build -j "$jobs"
status=0
./scripts/check-package.sh build || status=1

source ./scripts/xvfb.sh
start_xvfb
trap stop_xvfb EXIT

export ASAN_OPTIONS=detect_leaks=1
ctest --test-dir build-asan --output-on-failure -j "$jobs" || status=1
TSAN_OPTIONS="halt_on_error=1 exitcode=66" ctest --test-dir build-tsan --output-on-failure -j "$jobs" ||
  status=1
ctest --test-dir build --output-on-failure -j "$jobs" || status=1
exit $status
