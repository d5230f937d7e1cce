#!/usr/bin/env bash
# Builds the Debian package into out/: a Release build of the programs (no tests, no
# benchmarks) in build-package, packed by CPack. Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM47_BUILD_TESTS=OFF -DQM47_BUILD_BENCH=OFF
cmake --build build-package -j2
mkdir -p out
cpack --config build-package/CPackConfig.cmake -G DEB -B "$PWD/out"
rm -rf out/_CPack_Packages
deb=$(ls -t out/qm47_*.deb | head -n 1)
# Every package it depends on can be installed here (a dry run that changes nothing).
apt-get install --simulate --no-install-recommends "./$deb" >/dev/null
echo "$deb"
