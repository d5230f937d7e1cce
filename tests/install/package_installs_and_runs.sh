#!/bin/sh
# The .deb that CPack makes of this build passes lintian where it is installed, unpacks
# into a scratch root (dpkg -x) and runs from there with no environment variables: the
# version, a new settings file from a sample destination, and a transfer between the
# packaged qm47-cli and qm47-sim.
set -eu
build=$1
scratch=$(mktemp -d "${TMPDIR:-/tmp}/qm47-package.XXXXXX")
sim=
cleanup() {
  [ -n "$sim" ] && kill "$sim" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  fail "cpack could not build the package"
fi
deb=$(ls "$scratch"/out/qm47_*.deb)
# Debian's own checks: no error and no warning (scripts/install-deps.sh installs lintian).
if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$scratch/lintian.txt" 2>&1 || {
    cat "$scratch/lintian.txt"
    fail "lintian finds errors or warnings in the package"
  }
else
  echo "lintian is not installed: the package's Debian checks are skipped"
fi
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6core6 libqt6serialport6; do
  case $depends in *"$lib"*) ;; *) fail "Depends lacks $lib: $depends" ;; esac
done

root=$scratch/root
dpkg-deb -x "$deb" "$root"
for f in usr/bin/qm47-cli usr/bin/qm47-sim usr/share/qm47/global.ini usr/share/qm47/USA_1004.ini \
    usr/share/qm47/help/index.html usr/share/icons/hicolor/scalable/apps/qm47.svg \
    usr/share/icons/hicolor/48x48/apps/qm47.png usr/share/man/man1/qm47-cli.1.gz \
    usr/share/man/man1/qm47-sim.1.gz usr/share/bash-completion/completions/qm47-cli \
    usr/lib/udev/rules.d/60-qm47-usb-serial.rules usr/share/doc/qm47/copyright; do
  [ -e "$root/$f" ] || fail "the package lacks /$f"
done
# The window, its menu entry and its page come along once it is built.
if [ -e "$build/bin/qm47" ]; then
  for f in usr/bin/qm47 usr/share/applications/org.qm47.qm47.desktop \
      usr/share/metainfo/org.qm47.qm47.metainfo.xml usr/share/man/man1/qm47.1.gz; do
    [ -e "$root/$f" ] || fail "the package lacks /$f"
  done
  case $depends in *qt6-qpa-plugins*) ;; *) fail "Depends lacks the platform plugins: $depends" ;; esac
fi
zcat "$root/usr/share/man/man1/qm47-cli.1.gz" | grep -q '^\.SH "SEE ALSO"' || fail "qm47-cli's man page is incomplete"

# As a person runs it: no QM47_DATA_DIR, no library path, nothing but a home and a PATH.
home=$scratch/home
mkdir "$home"
run() { env -i HOME="$home" PATH=/usr/bin:/bin "$@"; }
cd "$scratch"
run "$root/usr/bin/qm47-cli" --version | grep -q '^qm47-cli [0-9]' || fail "qm47-cli --version"
run "$root/usr/bin/qm47-cli" --model 1 new --destination usa radio.dat || fail "qm47-cli new"
grep -q "MODELTYPE=1" radio.dat || fail "new wrote no settings of model 1"

env -i HOME="$home" PATH=/usr/bin:/bin "$root/usr/bin/qm47-sim" --model 1 --no-throttle --link radio.pty \
  >/dev/null 2>sim.txt &
sim=$!
i=0
while [ ! -L radio.pty ] && [ $i -lt 100 ]; do sleep 0.05; i=$((i + 1)); done
run "$root/usr/bin/qm47-cli" --model 1 clear mmsi --port "$scratch/radio.pty" 2>clear.txt || {
  cat clear.txt
  fail "the packaged qm47-cli could not clear the packaged qm47-sim"
}
grep -qx "Complete!!" clear.txt || fail "no Complete!! after the clear"
echo "the package runs from $root"
