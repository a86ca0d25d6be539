# Scenarios of database steps that fail: each failure is reported as the tool reports it, and the run ends in
# the outcome that follows from it.

# A registration whose file is gone cannot be dropped: the attach of the local file is then refused too, and the
# local site gives up; the site's own patients stay in its file.
scenario_failed_drop() {
    e2e_local_sql_site WS01 'database PATIENT=C:\Gone\PATIENT.mdf' 'log PATIENT=C:\Gone\PATIENT_log.ldf'
    e2e_fault drop 'statement=drop database *' 'message=Cannot drop the database now.'
    e2e_add_patient "$E2E_LOCAL_MDF" SORV-WS01 1 Kept Karl 01/01/1950 K1
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit -20
    e2e_check_boxes "$E2E_LOCAL_FAILED" "$E2E_CONNECT_FAILED"
    e2e_check_log_has "Force to drop DB=PATIENT for no mdf file" \
        "function=DropDB ex=[Microsoft][ODBC SQL Server Driver][SQL Server]Cannot drop the database now." \
        "function=RestoreDB ex=" "Database 'PATIENT' already exists"
    e2e_check_log_lacks "Database Login Failed"
    e2e_check_statement "drop database PATIENT"
    e2e_check_statement "$E2E_ATTACH"
    check_eq "c:\\gone\\patient.mdf|c:\\gone\\patient_log.ldf" "$(e2e_served_patient)" "PATIENT served from"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT PATIENT_ID, LNAME FROM Patient" "1|Kept"
    e2e_check_ini "$E2E_SYSTEMSET" Machine Home "<missing>"
}

# The detach times out and the single-user statement that would force it fails: the detach is given up, nothing
# is attached, and the local site gives up.
scenario_failed_single_user() {
    e2e_local_sql_site WS01 'database PATIENT=C:\OldData\PATIENT.mdf' detach_timeout=until_single_user
    e2e_fault single 'statement=alter database * set single_user*' state=42000 native=5061 \
        'message=ALTER DATABASE failed because a lock could not be placed on database '"'PATIENT'"'.'
    e2e_db_create 'C:\OldData\PATIENT.mdf' WS01 SORV-OLD
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit -20
    e2e_check_boxes "$E2E_LOCAL_FAILED" "$E2E_CONNECT_FAILED"
    e2e_check_log_has "function=ForceDBDisconnect ex=" "a lock could not be placed" "Failed to DetatchDB PATIENT"
    e2e_check_log_lines 2
    check_eq 1 "$(grep -c "sp_detach_db @dbname = 'PATIENT'" "$E2E_RUN_DIR/statements")" "detach statements sent"
    e2e_check_no_statement "FOR ATTACH_REBUILD_LOG"
    check_eq "c:\\olddata\\patient.mdf|c:\\olddata\\patient_log.ldf" "$(e2e_served_patient)" "PATIENT served from"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "0"
}

# The server refuses the query of its database list: the database counts as missing, without a log line, and
# the local site gives up.
scenario_failed_catalogue_query() {
    e2e_local_sql_site WS01
    e2e_fault databases 'statement=SELECT count(*) FROM sys.databases *'
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit -20
    e2e_check_boxes "$E2E_LOCAL_FAILED" "$E2E_CONNECT_FAILED"
    e2e_check_log_lines 0
    e2e_check_statement "SELECT count(*) FROM sys.databases WHERE name = N'PATIENT'"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "0"
    e2e_check_ini "$E2E_SYSTEMSET" Machine Home "<missing>"
}

# The first query of the served files fails: the file is taken as unknown, so the database is detached and
# attached again from the local file, and the patient is registered.
scenario_failed_file_query() {
    e2e_local_sql_site WS01
    e2e_fault files 'statement=SELECT physical_name FROM master.sys.master_files *' occurrence=1
    e2e_add_patient "$E2E_LOCAL_MDF" SORV-WS01 1 Kept Karl 01/01/1950 K1
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_log_lines 1
    e2e_check_log_has "function=GetDBFilePath ex=[Microsoft][ODBC SQL Server Driver][SQL Server]Fault files"
    e2e_check_statement "sp_detach_db @dbname = 'PATIENT', @skipchecks = true"
    e2e_check_statement "$E2E_ATTACH"
    check_eq "c:\\scansuite\\db_repository\\patient.mdf|c:\\scansuite\\db_repository\\patient_log.ldf" \
        "$(e2e_served_patient)" "PATIENT served from"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT PATIENT_ID, LNAME FROM Patient ORDER BY PATIENT_ID" $'1|Kept\n2|Smith'
}

# The central PATIENT refuses the open: the exception is reported, the user is asked, takes the local database
# and the patient is registered there.
scenario_failed_database_open() {
    e2e_central_site
    e2e_fault central 'open=*Server=CEN01\SQLKOR;Database=PATIENT;*' 'message=Cannot open database "PATIENT".'
    e2e_answers "Database connection error=Yes"
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes "Database connection error|$E2E_QUESTION|Yes/No|Yes"
    e2e_check_log_lines 1
    e2e_check_log_has "function=ConnectToDatabase ex=" 'Cannot open database "PATIENT".'
    e2e_check_opens "ok|$E2E_OPEN_CENTRAL_MASTER" "ok|$E2E_OPEN_CENTRAL_MASTER" \
        "refused|$E2E_OPEN_CENTRAL_PATIENT" \
        "ok|$E2E_OPEN_MASTER" "ok|$E2E_OPEN_MASTER" "ok|$E2E_OPEN_MASTER" "ok|$E2E_OPEN_PATIENT"
    e2e_check_sql "$E2E_CENTRAL_MDF" "SELECT count(*) FROM Patient" "0"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT MACHINE_ID, PATIENT_ID, LNAME FROM Patient" "SORV-WS01|1|Smith"
    e2e_check_ini "$E2E_TOMOCFG" "Server Connection" Server CEN01
    e2e_check_ini "$E2E_SYSTEMSET" Machine Database "$E2E_LOCAL_MDF"
}
