#!/bin/bash
# qm47-cli's bash completion offers the commands, each command's options, files of the
# extensions the command takes (any case), the serial ports and the destination names.
set -eu
completion=$1
data=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/qm47-completion.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/dev" "$scratch/work"
touch "$scratch/dev/ttyUSB0" "$scratch/dev/ttyACM1"
export QM47_COMPLETION_DEV=$scratch/dev
cd "$scratch/work"
mkdir folder
touch radio.hex OLD.DAT notes.txt REPORT.TXT image.bin list.csv
# shellcheck source=/dev/null
source "$completion"

failures=0
# offers "WORDS OF THE COMMAND LINE, the last one being completed" "EXPECTED CANDIDATES"
offers() {
  read -r -a COMP_WORDS <<<"$1"
  [[ $1 == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _qm47_cli
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
  local want
  want=$(printf '%s\n' $2 | sort | tr '\n' ' ')
  if [ "$got" != "$want" ]; then
    echo "FAIL: '$1' offers '$got', not '$want'" >&2
    failures=$((failures + 1))
  fi
}

offers "qm47-cli " "new convert report dump diff export-csv import-csv read program verify clear ports models help"
offers "qm47-cli --model 2 re" "report read"
offers "qm47-cli --data-dir folder c" "convert clear"
offers "qm47-cli --model " "1 2 3 4 5 6 7 8 9 10 TK4100A TK520B TK7100C TK-nnnn"
offers "qm47-cli new --" "--data-dir --model --debug --baud19200 --yes --help --version --destination"
offers "qm47-cli read --p" "--port"
offers "qm47-cli program --no" "--no-backup --no-verify"
offers "qm47-cli convert " "folder radio.hex OLD.DAT"
offers "qm47-cli convert radio.hex " "folder radio.hex OLD.DAT"
offers "qm47-cli convert radio.hex OLD.DAT " ""
offers "qm47-cli report radio.hex " "folder notes.txt REPORT.TXT"
offers "qm47-cli --yes program --port 1 " "folder radio.hex OLD.DAT"
offers "qm47-cli clear " "mmsi dsc-log distress-log"
offers "qm47-cli clear mmsi --port " "1 2 3 4 $scratch/dev/ttyUSB0 $scratch/dev/ttyACM1"
offers "qm47-cli --data-dir $data new --destination " "USA INTL CANADA"
offers "qm47-cli export-csv --list " "usa intl canada expansion weather individual group"
offers "qm47-cli import-csv --list usa " "folder list.csv"
offers "qm47-cli import-csv --list usa list.csv " "folder radio.hex OLD.DAT"
offers "qm47-cli help " "new convert report dump diff export-csv import-csv read program verify clear ports models help"
offers "qm47-cli diff radio.hex " "folder radio.hex OLD.DAT"
exit $((failures > 0))
