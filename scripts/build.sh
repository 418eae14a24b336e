#!/usr/bin/env bash
# Configures and builds everything into ./build; with "sanitize", the test suite into
# ./build-asan under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = sanitize ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEL_SANITIZE=ON >/dev/null
  cmake --build build-asan -j"$(nproc)"
else
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)"
fi
