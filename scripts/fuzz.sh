#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz and runs each for a bounded
# time (FUZZ_SECONDS, default 30) from its seed corpus in fuzz/corpus. Fails on a finding.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang libclang-rt-14-dev
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQM47_BUILD_FUZZ=ON -DQM47_BUILD_TESTS=OFF -DQM47_BUILD_BENCH=OFF
targets=()
for src in fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
cmake --build build-fuzz -j2 --target "${targets[@]}"
seconds=${FUZZ_SECONDS:-30}
for t in "${targets[@]}"; do
  # New inputs go to a scratch folder; the seeds in the repository stay as they are.
  scratch=$(mktemp -d)
  log="$scratch.log"
  echo "fuzzing $t for $seconds s"
  if ! build-fuzz/fuzz/"$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix=build-fuzz/"$t"- -print_final_stats=1 "$scratch" fuzz/corpus/"$t" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "$t found a fault; the input is in build-fuzz/$t-*" >&2
    exit 1
  fi
  tail -n 8 "$log"
  rm -rf "$scratch" "$log"
done
