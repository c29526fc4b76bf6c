#!/usr/bin/env bash
# Installs what is missing, builds an optimised Tarvolyn and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVOLYN_TESTS=OFF >/dev/null
cmake --build build/release --target tarvolyn
exec build/release/app/tarvolyn "$@"
