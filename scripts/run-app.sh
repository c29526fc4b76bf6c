#!/usr/bin/env bash
# Installs what is missing, builds an optimised Tarvolyn and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
source scripts/lib-build.sh
tarvolyn_build build/release -DCMAKE_BUILD_TYPE=Release -DTARVOLYN_TESTS=OFF
cmake --build build/release --target tarvolyn
exec build/release/app/tarvolyn "$@"
