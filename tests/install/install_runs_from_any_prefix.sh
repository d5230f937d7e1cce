#!/bin/sh
# An installed tree finds its data folder beside itself (../share/qm47), whatever
# prefix it went to and wherever it was moved afterwards.
set -eu
build=$1
scratch=$(mktemp -d "${TMPDIR:-/tmp}/qm47-install.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
cmake --install "$build" --prefix "$scratch/first" >/dev/null
mv "$scratch/first" "$scratch/moved"
unset QM47_DATA_DIR
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config"
cli="$scratch/moved/bin/qm47-cli"
"$cli" --version
"$scratch/moved/bin/qm47-sim" --version
"$cli" --model 2 new "$scratch/radio.hex"
test "$(wc -c <"$scratch/radio.hex")" -eq 16384
"$cli" --model 2 convert "$scratch/radio.hex" "$scratch/radio.dat"
grep -q "MODELTYPE=2" "$scratch/radio.dat"
"$cli" --model 2 new --destination usa "$scratch/usa.dat"  # the sample destinations came along
echo "installed tree runs from $scratch/moved"
