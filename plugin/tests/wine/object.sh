#!/usr/bin/env bash
# clsOrvanta through cscript as the host uses it: defaults, every property, the utility members, the catalogue,
# LoadEquipProps, the exam-data log switch and GetPraxoDBPath. Argument: Orvanta.dll.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$(dirname "$0")/plugin_lib.sh"

remove_host_files
host_praxo
plugin_install "$1" || wine_finish

# None of these shows a box or writes a log.
answer_box "$ERROR_TITLE" OK 5
run_cscript defaults.vbs
run_cscript properties.vbs
run_cscript members.js
run_cscript utility.vbs "$HOST_PROGRAMS"
run_cscript objects.js "$HOST_PROGRAMS"
check_that "no error box" no_box "$ERROR_TITLE"
check_eq missing "$(plugin_file Orvanta.log)" "no plug-in log"
check_eq missing "$(plugin_file PX_IF_Orvanta.err)" "no error file"

# The exam-data log switch follows PXEquip.ini on every call.
for value in YES yes Yes; do
    write_equip "[Equipment]" "WriteReceiveDataLog=$value"
    run_cscript switch.vbs True
done
for value in Y NO "" "YES please"; do
    write_equip "[Equipment]" "WriteReceiveDataLog=$value"
    run_cscript switch.vbs False
done
write_equip "[equipment]" "writereceivedatalog=yes"
run_cscript switch.vbs True
remove_host_files
host_praxo
run_cscript switch.vbs False

# The host data folder, as the member GetPraxoDBPath answers it.
for folder in 'C:\Host\Data' '\\server\share\data' 'relative\data:x'; do
    host_praxo
    write_praxo "[System]" "DataDir=$folder" "PgmsDir=$HOST_PROGRAMS"
    run_cscript dbpath.vbs "$folder"
done
for folder in 'Data' 'C\Host' '\single\backslash'; do
    write_praxo "[System]" "DataDir=$folder" "PgmsDir=$HOST_PROGRAMS"
    run_cscript dbpath.vbs -4
done

plugin_uninstall
remove_host_files
wine_finish
