#!/usr/bin/env bash
# One end-to-end scenario: the real Enrolix.exe under Wine against the ODBC stand-in.
# Arguments: Enrolix.exe, libstandin_odbc.so, the scenario's name (a function scenario_NAME in scenarios/).
# By hand: tests/wine/harness.sh run build/win64 bash enrolix/tests/wine/scenario.sh ENROLIX_EXE STANDIN_LIB NAME
set -uo pipefail
source "$ORVANTA_WINE_LIB"
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$HERE/site.sh"
for group in "$HERE"/scenarios/*.sh; do
    source "$group"
done
[ $# -eq 3 ] || { echo "usage: scenario.sh ENROLIX_EXE STANDIN_LIB NAME" >&2; exit 2; }
declare -F "scenario_$3" >/dev/null || { echo "e2e: no scenario $3" >&2; exit 2; }
e2e_init "$1" "$2"
"scenario_$3"
wine_finish
