#!/usr/bin/env bash
# Builds an optimised build and runs the benchmarks; arguments go to Google Benchmark
# (e.g. --benchmark_filter=BM_Synchronize).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
source scripts/lib-build.sh
tarvolyn_build build/release -DCMAKE_BUILD_TYPE=Release
cmake --build build/release --target tarvolyn_bench
export QT_QPA_PLATFORM=offscreen
exec build/release/bench/tarvolyn_bench "$@"
