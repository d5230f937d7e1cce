#!/usr/bin/env bash
# Builds a Debug tree with address and undefined-behaviour sanitizers into build-asan and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQM47_SANITIZE=ON -DQM47_BUILD_BENCH=OFF
cmake --build build-asan -j2
cd build-asan
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions="$PWD/../tests/lsan.supp"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
