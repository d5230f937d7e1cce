#!/bin/sh
# Two types of one name in the same namespace break the one-definition rule: the
# program links, then crashes where the two layouts meet. Every header type is unique.
set -eu
src=$1
# Definitions only: a forward declaration ends in ";".
dups=$(grep -rhE '^(struct|class|enum class|enum) [A-Za-z_][A-Za-z0-9_]*[^;]*$' "$src" --include='*.h' |
  grep -oE '^(struct|class|enum class|enum) [A-Za-z_][A-Za-z0-9_]*' | awk '{print $NF}' | sort | uniq -d)
if [ -n "$dups" ]; then
  echo "types defined in more than one header:"
  for t in $dups; do grep -rnE "^(struct|class|enum class|enum) $t\b[^;]*$" "$src" --include='*.h'; done
  exit 1
fi
echo "every header type name is unique"
