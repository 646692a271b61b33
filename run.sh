#!/usr/bin/env bash
# Installs what is missing, builds Kurvatur 2 and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target kurvatur kurvatur-calc
exec build/app/kurvatur "$@"
