#!/usr/bin/env bash
# Installs, builds and starts the editor (qm47-cli --help until the window exists).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -x build/bin/qm47 ]; then
  exec build/bin/qm47 "$@"
fi
exec build/bin/qm47-cli --help
