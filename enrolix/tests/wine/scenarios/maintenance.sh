# Scenarios of the local SQL Server put back onto the local database file before registration.

E2E_ATTACH="CREATE DATABASE PATIENT ON (FILENAME = N'C:\\SCANSUITE\\db_repository\\PATIENT.mdf') FOR ATTACH_REBUILD_LOG"

# The catalogue entry of PATIENT on the local server, as "data|log" in lower case; empty when not served.
e2e_served_patient() {
    awk 'BEGIN { IGNORECASE = 1 }
        /^\[/ { inside = tolower($0) == "[patient@localhost\\sqlkor]"; next }
        inside && /^[ \t]*data[ \t]*=/ { sub(/^[^=]*=[ \t]*/, ""); data = $0 }
        inside && /^[ \t]*log[ \t]*=/ { sub(/^[^=]*=[ \t]*/, ""); log_ = $0 }
        END { if (data != "") print tolower(data "|" log_) }' "$E2E_STANDIN/standin-state.ini" 2>/dev/null
}

e2e_check_exists() {  # file, expected yes|no
    local actual=no
    [ ! -f "$(e2e_hostpath "$1")" ] || actual=yes
    check_eq "$2" "$actual" "$1 exists"
}

# A local site whose server serves PATIENT from another file: PATIENT is detached and attached from the local
# file; the patients already in the local file stay; the other file stays on disk, its log file is deleted.
scenario_reattach_from_other_file() {
    e2e_local_sql_site WS01 'database PATIENT=C:\OldData\PATIENT.mdf' 'log PATIENT=C:\OldData\PATIENT_log.ldf'
    e2e_add_patient "$E2E_LOCAL_MDF" SORV-WS01 1 Kept Karl 01/01/1950 K1
    e2e_db_create 'C:\OldData\PATIENT.mdf' WS01 SORV-OLD
    echo log >"$(unixpath 'C:\OldData')/PATIENT_log.ldf"
    echo stale >"$(unixpath 'C:\SCANSUITE\db_repository')/PATIENT_Log.ldf"
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_log_lines 0
    e2e_check_statement "sp_detach_db @dbname = 'PATIENT', @skipchecks = true"
    e2e_check_statement "$E2E_ATTACH"
    e2e_check_no_statement "drop database"
    check_eq "c:\\scansuite\\db_repository\\patient.mdf|c:\\scansuite\\db_repository\\patient_log.ldf" \
        "$(e2e_served_patient)" "PATIENT served from"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT PATIENT_ID, LNAME FROM Patient ORDER BY PATIENT_ID" $'1|Kept\n2|Smith'
    e2e_check_sql 'C:\OldData\PATIENT.mdf' "SELECT count(*) FROM Patient" "0"
    e2e_check_exists 'C:\OldData\PATIENT.mdf' yes
    e2e_check_exists 'C:\OldData\PATIENT_log.ldf' no
    check_that "a BackupSQL folder beside the local database file" \
        [ -d "$(unixpath 'C:\SCANSUITE\db_repository\BackupSQL')" ]
    e2e_check_local_site_written "$E2E_LOCAL_MDF"
    # The next run finds the server in order and changes nothing.
    e2e_run EMR1002 Jones Mary n/a F 02/03/1970 n/a 03/04/2024 1
    e2e_check_exit 1
    e2e_check_no_statement "sp_detach_db"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "3"
}

# A server that serves PATIENT from a file that is gone: a detach is tried first (a drop of a database that the
# server can still open would delete its files); when it fails the database is dropped, then the local file is
# attached.
scenario_reattach_from_missing_file() {
    e2e_local_sql_site WS01 'database PATIENT=C:\Gone\PATIENT.mdf' 'log PATIENT=C:\Gone\PATIENT_log.ldf'
    e2e_add_patient "$E2E_LOCAL_MDF" SORV-WS01 1 Kept Karl 01/01/1950 K1
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_log_has "Force to drop DB=PATIENT for no mdf file"
    e2e_check_log_lines 1
    e2e_check_statement "sp_detach_db @dbname = 'PATIENT', @skipchecks = true"
    e2e_check_statement "drop database PATIENT"
    e2e_check_statement "$E2E_ATTACH"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT PATIENT_ID, LNAME FROM Patient ORDER BY PATIENT_ID" $'1|Kept\n2|Smith'
}

# No PATIENT on the server and no local file: the empty-database template is copied, attached and used.
scenario_reattach_from_template() {
    e2e_local_sql_site WS01
    sed -i '/^database PATIENT =/d' "$E2E_STANDIN/standin.ini"
    rm -f "$(unixpath "$E2E_LOCAL_MDF")"
    e2e_sql "$E2E_TEMPLATE" "INSERT INTO SYSMACHINES VALUES (1, NULL, 'SORV-NEW')"
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_no_statement "sp_detach_db"
    e2e_check_statement "$E2E_ATTACH"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT MACHINE_ID, PATIENT_ID, LNAME FROM Patient" "SORV-NEW|1|Smith"
    e2e_check_sql "$E2E_TEMPLATE" "SELECT count(*) FROM Patient" "0"
    check_eq "c:\\scansuite\\db_repository\\patient.mdf|c:\\scansuite\\db_repository\\patient_log.ldf" \
        "$(e2e_served_patient)" "PATIENT served from"
}

# As above with the template missing as well: nothing can be attached and the tool gives up.
scenario_reattach_template_missing() {
    e2e_local_sql_site WS01
    sed -i '/^database PATIENT =/d' "$E2E_STANDIN/standin.ini"
    rm -f "$(unixpath "$E2E_LOCAL_MDF")" "$(unixpath "$E2E_TEMPLATE")"
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit -20
    e2e_check_boxes "$E2E_LOCAL_FAILED" "$E2E_CONNECT_FAILED"
    e2e_check_log_has "Failed to Copy empty mdf file $E2E_TEMPLATE to $E2E_LOCAL_MDF. Error=1"
    e2e_check_no_statement "FOR ATTACH_REBUILD_LOG"
    e2e_check_exists "$E2E_LOCAL_MDF" no
    e2e_check_ini "$E2E_SYSTEMSET" Machine Home "<missing>"
}

# A detach that times out until the database is set single-user: forced, detached again, attached.
scenario_detach_query_timeout() {
    e2e_local_sql_site WS01 'database PATIENT=C:\OldData\PATIENT.mdf' detach_timeout=until_single_user
    e2e_db_create 'C:\OldData\PATIENT.mdf' WS01 SORV-OLD
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_log_lines 0
    e2e_check_statement "alter database PATIENT set single_user with rollback immediate"
    check_eq 2 "$(grep -c "sp_detach_db @dbname = 'PATIENT'" "$E2E_RUN_DIR/statements")" "detach statements sent"
    e2e_check_statement "$E2E_ATTACH"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "1"
}
