#!/usr/bin/env bash
# The steps of the demo, run by demo.sh under the harness. Arguments: the x64 build folder, the native one.
# Each step sets up an imaging site in the Wine prefix, runs the real Enrolix.exe there against the ODBC
# stand-in, answers its boxes and shows the exit code, the boxes, the log lines, the statements the stand-in
# received, the site files and the database rows afterwards.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
BUILD=$1
NATIVE=$2
source "$ORVANTA_SOURCE_DIR/tests/e2e/site.sh"
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
echo
echo "The demo's site is left in $E2E_DRIVE_C (C:\\SCANSUITE, C:\\Orvanta); the stand-in's files in $E2E_STANDIN"
