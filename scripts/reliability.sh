#!/usr/bin/env bash
# Runs the fault matrix (every radio transfer against every fault qm47-sim can play) and
# copies the table it writes into the build folder to docs/reliability.md.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh test_cli qm47-cli qm47-sim qm47_data
(cd build && QT_QPA_PLATFORM=offscreen ctest -R 'FaultMatrix\.' --output-on-failure)
cp build/reliability.md docs/reliability.md
echo "wrote docs/reliability.md"
