#!/usr/bin/env bash
# Renders the main window on each node kind, its menus and its dialogs to PNG files
# without a screen: scripts/screenshots.sh [FOLDER] (default build/screenshots).
# QT_SCALE_FACTOR=2 scripts/screenshots.sh FOLDER renders them as a 200 % display shows them.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
scripts/build.sh qm47 >/dev/null
mkdir -p "$out"
# A scratch settings folder: the pictures do not depend on (or change) the user's preferences.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
# Debug mode, so the Options menu shows Hexdump and the hex dump can be pictured.
XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=offscreen build/bin/qm47 /D --screenshot "$out"
ls "$out"/*.png
