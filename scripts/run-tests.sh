#!/usr/bin/env bash
# Installs what is missing, builds every layer with AddressSanitizer and
# UndefinedBehaviorSanitizer in its own build folder and runs all tests under them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
source scripts/lib-build.sh
tarvolyn_build build/asan -DCMAKE_BUILD_TYPE=Debug -DTARVOLYN_SANITIZE=ON
cmake --build build/asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/asan --output-on-failure -j "$(nproc)" "$@"
