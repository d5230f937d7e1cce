#!/usr/bin/env bash
# Installs, builds and starts the editor; until the window exists, qm47-cli --help.
# Builds only the programs, not the tests or benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
targets=(qm47-cli qm47-sim)
[ -f src/gui/main.cpp ] && targets+=(qm47)
scripts/build.sh "${targets[@]}"
if [ -x build/bin/qm47 ]; then
  exec build/bin/qm47 "$@"
fi
exec build/bin/qm47-cli --help
