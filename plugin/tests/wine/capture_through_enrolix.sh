#!/usr/bin/env bash
# A capture from the host to the imaging database and the review folder: the host script drives Orvanta.dll,
# which starts the real Enrolix.exe against the stand-in. Arguments: Enrolix.exe, libstandin_odbc.so, Orvanta.dll.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$ORVANTA_SOURCE_DIR/enrolix/tests/wine/site.sh"
source "$ORVANTA_SOURCE_DIR/plugin/tests/wine/plugin_lib.sh"
source "$HERE/capture_through_enrolix_lib.sh"
e2e_init "$1" "$2"
capture_site "$3" || wine_finish

capture_run 12345_OD_20240304.jpg 12345_OS_20240304.jpg
check_contains "$CAPTURE_COMMAND_LINE" '"12345" "Smith" "John" "n/a" "M" "01/02/1960" "n/a"' "Enrolix's command line"
check_eq "Smith|John|01/02/1960|12345" \
    "$(e2e_sql "$E2E_LOCAL_MDF" "SELECT LNAME, FName, DOB, EMR_ID FROM Patient ORDER BY rowid")" "the patient row"
check_eq 1 "$(e2e_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM VISIT")" "its first visit"
check_eq 1 "$(e2e_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM PATIENTVISIT")" "patient and visit linked"
check_eq "12345_678_OD_20240304.jpg 12345_678_OS_20240304.jpg" "$(capture_review_files | paste -sd' ')" \
    "the images in the review folder"
check_eq "" "$(ls "$(unixpath "$CAPTURE_IMAGES")" | grep -v '^Data$')" "the acquisition folder emptied"

plugin_uninstall
remove_host_files
wine_finish
