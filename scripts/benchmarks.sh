#!/usr/bin/env bash
# Builds and runs every benchmark in bench/ and writes docs/benchmarks.md: the machine,
# the method and each benchmark's figures. BENCH_REPETITIONS (default 3) sets how many
# times each benchmark runs; the figures are the medians of those runs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if ! command -v python3 >/dev/null; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends python3
fi
benches=()
for src in bench/bench_*.cpp; do benches+=("$(basename "$src" .cpp)"); done
# The link benchmarks run the programs and read the data folder beside them.
scripts/build.sh "${benches[@]}" qm47-cli qm47-sim qm47_data

repetitions=${BENCH_REPETITIONS:-3}
runs=$(mktemp -d)
trap 'rm -rf "$runs"' EXIT
# What the machine is, before the benchmarks load it.
{
  echo "cpu=$(lscpu | sed -n 's/^Model name: *//p' | head -n 1)"
  echo "cores=$(nproc)"
  echo "memory_kib=$(sed -n 's/^MemTotal: *\([0-9]*\) kB/\1/p' /proc/meminfo)"
  echo "system=$(. /etc/os-release && echo "$PRETTY_NAME"), Linux $(uname -r)"
  echo "compiler=$("$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' build/CMakeCache.txt)" --version | head -n 1)"
  echo "build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' build/CMakeCache.txt)"
  echo "qt=$(dpkg-query -W -f='${Version}' libqt6core6)"
  echo "benchmark=$(dpkg-query -W -f='${Version}' libbenchmark-dev)"
  echo "load_before=$(cut -d' ' -f1-3 /proc/loadavg)"
  echo "repetitions=$repetitions"
} >"$runs/machine.txt"
for b in "${benches[@]}"; do
  echo "running $b ($repetitions times)"
  if ! QT_QPA_PLATFORM=offscreen "build/bench/$b" --benchmark_repetitions="$repetitions" \
      --benchmark_report_aggregates_only=true --benchmark_out="$runs/$b.json" --benchmark_out_format=json \
      >"$runs/$b.log" 2>&1; then
    cat "$runs/$b.log"
    echo "$b failed" >&2
    exit 1
  fi
done
echo "load_after=$(cut -d' ' -f1-3 /proc/loadavg)" >>"$runs/machine.txt"
mkdir -p docs
python3 scripts/benchmarks_report.py "$runs" bench >docs/benchmarks.md
echo "wrote docs/benchmarks.md"
