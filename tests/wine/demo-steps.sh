#!/usr/bin/env bash
# The steps of the demo, run by demo.sh under the harness. Arguments: the x64 build folder, the native one.
# Each step sets up an imaging site in the Wine prefix, runs the real Enrolix.exe there against the ODBC
# stand-in, answers its boxes and shows the exit code, the boxes, the log lines, the statements the stand-in
# received, the site files and the database rows afterwards.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
BUILD=$1
NATIVE=$2
source "$ORVANTA_SOURCE_DIR/enrolix/tests/wine/site.sh"
e2e_init "$BUILD/enrolix/win32/Enrolix.exe" "$NATIVE/standin/libstandin_odbc.so"

step() {
    echo
    echo "################ $*"
}

step "1. A workstation with its own SQL Server: a new patient and a first visit are created"
e2e_local_sql_site WS01
e2e_add_patient "$E2E_LOCAL_MDF" SORV-WS01 1 Kept Karl 01/01/1950 K1
e2e_run EMR1001 "O'Neil" Sean n/a M 01/02/1960 n/a 03/04/2024 1

step "2. The same patient again, now by name and date of birth only: already present, nothing written"
e2e_run n/a "O'NEIL" sean n/a M 01/02/1960 n/a 03/04/2024 1

step "3. Two patients share the EMR id: refused"
e2e_add_patient "$E2E_LOCAL_MDF" SORV-WS01 3 Twin Tom 02/02/1962 T1
e2e_add_patient "$E2E_LOCAL_MDF" SORV-WS01 4 Twin Tim 02/02/1962 t1
e2e_run T1 Twin Tess n/a F 02/02/1962 n/a 03/04/2024 1

step "4. The central server CEN01 is down: the user answers Yes and the local database is used"
e2e_local_sql_site WS01
e2e_tomocfg "SQL Server" CEN01
e2e_server 'CEN01\SQLKOR' status=down
e2e_answers "Database connection error=Yes"
e2e_run EMR2002 Jones Mary n/a F 02/03/1970 n/a 03/04/2024 1

step "5. The local server serves PATIENT from another file: it is put back onto the local file first"
e2e_local_sql_site WS01 'database PATIENT=C:\OldData\PATIENT.mdf'
e2e_db_create 'C:\OldData\PATIENT.mdf' WS01 SORV-OLD
e2e_run EMR3003 Brown Ann n/a F 07/08/1980 n/a 03/04/2024 1
step "6. A capture from the host: Orvanta.dll starts Enrolix for the patient, the technician exports two images"
source "$ORVANTA_SOURCE_DIR/plugin/tests/wine/plugin_lib.sh"
source "$ORVANTA_SOURCE_DIR/plugin/tests/wine/capture_through_enrolix_lib.sh"
capture_site "$BUILD/plugin/com/Orvanta.dll"
echo "The host script: patient 12-345 Smith, John (M, 01/02/1960), exam 678, \"Capture Sorvane\", DoDeviceFunction."
echo "While \"Waiting for Technician  -  Place files in $CAPTURE_IMAGES\" is up, the images are placed, then OK."
# The device's export names: patient file key, five fields of its own, eye, date and time.
capture_run 12345_Smith_John_Macula_Cube_512_OD_2024-03-04_10-15-00.jpg \
    12345_Smith_John_Macula_Cube_512_OS_2024-03-04_10-16-30.jpg
echo "Enrolix was started with:  $CAPTURE_COMMAND_LINE"
echo "New rows in $E2E_LOCAL_MDF:"
echo "  Patient (PATIENT_ID|LNAME|FName|DOB|EMR_ID): $(e2e_sql "$E2E_LOCAL_MDF" "SELECT PATIENT_ID, LNAME, FName, DOB, EMR_ID FROM Patient")"
echo "  VISIT rows: $(e2e_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM VISIT"), PATIENTVISIT rows: $(e2e_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM PATIENTVISIT")"
echo "Files in the review folder $CAPTURE_REVIEW:"
capture_review_files | sed 's/^/  /'
echo "Files left in the acquisition folder: $(ls "$(unixpath "$CAPTURE_IMAGES")" | wc -l)"

step "7. A review of that patient: the host counts the images, then opens the list window, newest first"
export LC_ALL=C.UTF-8
echo "-- NumPatientImageFiles and LogoToolTip for patient 12-345 (review folder $CAPTURE_REVIEW):"
run_cscript count.vbs 12-345 "Review Sorvane" 2 "$CAPTURE_REVIEW"
echo "-- ReviewDevice: the rows the window shows"
spawn_cscript review.vbs 12-345 "Review Sorvane" direct
uiauto wait-window --title 'Orvanta Images' --timeout-ms 20000 >/dev/null
sleep 1
list_window_rows | column -t -s $'\t'
screenshot_window 'Orvanta Images' "$BUILD/demo-review-window.png" && echo "screenshot: $BUILD/demo-review-window.png"
uiauto click --title 'Orvanta Images' --button Exit
wait_cscript

step "8. The site check of the IT person: OrvantaCheck.exe beside Enrolix.exe, on this workstation"
source "$ORVANTA_SOURCE_DIR/check/tests/wine/check_lib.sh"
check_install "$BUILD/check/win32/OrvantaCheck.exe"
check_run
echo "$CHECK_OUT"
echo "exit code: $CHECK_EXIT"

step "9. The site check after a slip in PXEquip.ini: the capture entry is there, its review entry is not"
write_equip "[Equipment]" "Number=1" "1=3:a:Orvanta:Capture Sorvane" "[3]" "EquipDataPath=$CAPTURE_IMAGES"
page=$(cd "$BUILD" && pwd)/demo-site-check.html
check_run /html "$(winpath "$page")"
echo "$CHECK_OUT" | grep -A1 -E '^  (WARN|FAIL) '
tail -n 1 <<<"$CHECK_OUT"
echo "exit code: $CHECK_EXIT; the same report as a page: $page"
plugin_uninstall
remove_host_files
echo
echo "The demo's site is left in $E2E_DRIVE_C (C:\\SCANSUITE, C:\\Orvanta); the stand-in's files in $E2E_STANDIN"
