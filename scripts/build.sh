#!/usr/bin/env bash
# Configures and builds into ./build: everything, or only the targets named
# ("bash scripts/build.sh DAY_MORVEL MONTH_MORVEL"); with "sanitize", the test suite into
# ./build-asan under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = sanitize ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVEL_SANITIZE=ON >/dev/null
  cmake --build build-asan -j"$(nproc)"
else
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  cmake --build build -j"$(nproc)" "${targets[@]}"
fi
