#!/usr/bin/env bash
# The library's start with the host's database settings: a server connection hands the data source to the
# host's data-access component (here the stand-in, which records its calls); other kinds leave it alone.
# Arguments: Orvanta.dll, the stand-in DataAccessStandin.dll.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$(dirname "$0")/plugin_lib.sh"

record() { if [ -f "$STANDIN_RECORD" ]; then tr -d '\r' <"$STANDIN_RECORD"; else echo missing; fi; }
calls() { record | grep -E '^(Operation|Invoke|GetIDsOfNames)'; }

# One start with the given [ADOConnection] lines; no box may be shown.
start_with() {  # what, lines...
    local what=$1
    shift
    rm -f "$STANDIN_RECORD" "$PLUGIN_DIR/Orvanta.log"
    host_praxo "[ADOConnection]" "$@"
    answer_box "$ERROR_TITLE" OK 5
    run_cscript start.vbs
    check_that "$what: no error box" no_box "$ERROR_TITLE"
}

remove_host_files
plugin_install "$1" || wine_finish
standin_install "$2" || wine_finish

# No server connection: the component is not created.
start_with "ConnectThru absent" "Databasename=PRAXO2"
check_eq missing "$(record)" "ConnectThru absent: component untouched"
for kind in JET sql Sql msde "SQL Server" "" ; do
    start_with "ConnectThru=$kind" "ConnectThru=$kind" "DataSource=SRV01"
    check_eq missing "$(record)" "ConnectThru=$kind: component untouched"
done
check_eq missing "$(plugin_file Orvanta.log)" "no plug-in log without a server connection"

# A server connection: one object, one call of the eighth operation with the data source, once per load.
for kind in SQL MSDE; do
    start_with "ConnectThru=$kind" "ConnectThru=$kind" 'DataSource=SRV01\PRAXO' "Databasename=Clinic"
    check_eq 1 "$(record | grep -c '^CreateInstance ')" "ConnectThru=$kind: one component object"
    check_eq 'Operation8 [SRV01\PRAXO]' "$(calls)" "ConnectThru=$kind: data source handed over, nothing else"
    check_eq missing "$(plugin_file Orvanta.log)" "ConnectThru=$kind: nothing logged"
done
start_with "no DataSource" "ConnectThru=SQL"
check_eq 'Operation8 []' "$(calls)" "without DataSource: the empty text"

# The component refuses, or is not there: the library still loads, objects work, the failure is logged.
start_with "refused" "ConnectThru=SQL" "DataSource=refuse this"
check_eq 'Operation8 [refuse this]' "$(calls)" "refusing component called"
check_contains "$(plugin_file Orvanta.log)" "LibraryStart" "refusal in the plug-in log"
standin_uninstall
start_with "no component" "ConnectThru=SQL" "DataSource=SRV01"
check_eq missing "$(record)" "unregistered component not reached"
check_contains "$(plugin_file Orvanta.log)" "Err Number: 429" "missing component in the plug-in log"

plugin_uninstall
remove_host_files
wine_finish
