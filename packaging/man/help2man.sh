#!/bin/sh
# help2man.sh OUTPUT INCLUDE PROGRAM: the gzipped man page of PROGRAM from its --help and
# --version, with the sections of INCLUDE. help2man leaves quotes inside a section title
# unescaped; they are doubled here, as roff wants them.
set -eu
out=$1
help2man --no-info --no-discard-stderr --section=1 --include="$2" --output="$out.roff" "$3"
sed '/^\.S[SH] "/{s/"/""/g;s/^\(\.S[SH] \)""/\1"/;s/""$/"/;}' "$out.roff" | gzip -9n >"$out.tmp"
rm "$out.roff"
mv "$out.tmp" "$out"
