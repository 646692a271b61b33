#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test headless.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKURVATUR_SANITIZE=ON \
      -DKURVATUR_BUILD_BENCH=OFF >/dev/null
cmake --build build-test
cd build-test
ctest --output-on-failure -j "$(nproc)"
