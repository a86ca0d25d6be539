#!/usr/bin/env bash
# The host without a readable praxo32.ini: the library's start and every new object show the box about it,
# and the objects work all the same. Argument: Orvanta.dll.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$(dirname "$0")/plugin_lib.sh"

# The member GetPraxoDBPath shows the box under the plug-in's name.
DB_PATH_TITLE=Orvanta

remove_host_files
plugin_install "$1" || wine_finish

# Loading (once), two objects (once each), then GetPraxoDBPath: four boxes, in this order.
spawn_cscript no_praxo.vbs -3
check_eq "$MESSAGE_A" "$(click_box "$ERROR_TITLE" OK | tr -d '\r')" "box while the library starts"
check_eq "$MESSAGE_A" "$(click_box "" OK | tr -d '\r')" "box of the first object"
check_eq "$MESSAGE_A" "$(click_box "" OK | tr -d '\r')" "box of the second object"
check_eq "$MESSAGE_A" "$(click_box "$DB_PATH_TITLE" OK | tr -d '\r')" "box of GetPraxoDBPath"
wait_cscript
check_eq missing "$(plugin_file PX_IF_Orvanta.err)" "message A is no error report"

# praxo32.ini without the programs folder: only the objects complain.
mkdir -p "$HOST_DATA"
: >"$HOST_DATA/praxo.mdb"
write_praxo "[System]" "DataDir=$(winpath "$HOST_DATA")"
answer_box "$ERROR_TITLE" OK 5
spawn_cscript no_praxo.vbs "$(winpath "$HOST_DATA")"
check_eq "$MESSAGE_A" "$(click_box "" OK | tr -d '\r')" "first object without PgmsDir"
check_eq "$MESSAGE_A" "$(click_box "" OK | tr -d '\r')" "second object without PgmsDir"
wait_cscript
check_that "no box at the start with a readable data folder" no_box "$ERROR_TITLE"

# A data folder without praxo.mdb, or a relative one, is answered silently when the library starts.
for folder in "$(winpath "$WINE_TEST_DIR/empty")" 'relative'; do
    mkdir -p "$WINE_TEST_DIR/empty"
    write_praxo "[System]" "DataDir=$folder" "PgmsDir=$HOST_PROGRAMS"
    answer_box "$ERROR_TITLE" OK 5
    answer_box "" OK 5
    run_cscript switch.vbs False
    check_that "no error box with DataDir=$folder" no_box "$ERROR_TITLE"
    check_that "no untitled box with DataDir=$folder" no_box ""
done

plugin_uninstall
remove_host_files
wine_finish
