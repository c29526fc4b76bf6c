#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the test-data scripts need, and any
# further packages named as arguments (the fuzzer's, for example).
# Idempotent: does nothing (and prints nothing) when everything is present.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev libqcustomplot-dev libzip-dev
          libexpat1-dev libgsf-1-dev libgtest-dev libgmock-dev libbenchmark-dev
          qt6-translations-l10n xvfb xauth "$@")
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
