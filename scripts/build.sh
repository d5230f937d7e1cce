#!/usr/bin/env bash
# Configures and builds QM47 into ./build (two parallel jobs): the named targets, or everything.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ $# -gt 0 ]; then
  cmake --build build -j2 --target "$@"
else
  cmake --build build -j2
fi
