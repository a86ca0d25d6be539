# Scenarios of the site configuration and the database connection.

E2E_CENTRAL_MDF='D:\Data\PATIENT.mdf'
E2E_OPEN_MASTER='Driver={SQL Server};Server=localhost\SQLKOR;Database=MASTER;Uid=sa;Pwd=***;'
E2E_OPEN_PATIENT='Driver={SQL Server};Server=localhost\SQLKOR;Database=PATIENT;Uid=sa;Pwd=***;'
E2E_OPEN_CENTRAL_MASTER='Driver={SQL Server};Server=CEN01\SQLKOR;Database=MASTER;Uid=sa;Pwd=***;'
E2E_OPEN_CENTRAL_PATIENT='Driver={SQL Server};Server=CEN01\SQLKOR;Database=PATIENT;Uid=sa;Pwd=***;'
E2E_QUESTION='Fail to connect database on server "CEN01", do you want to use the local database and continue to work?'

# A site of machine WS01 whose TomoCfg.ini names the central server CEN01, which serves D:\Data\PATIENT.mdf.
e2e_central_site() {  # central server's keys...
    e2e_local_sql_site WS01
    e2e_tomocfg "SQL Server" CEN01
    e2e_db_create "$E2E_CENTRAL_MDF" WS01 SORV-CENTRAL
    e2e_server 'CEN01\SQLKOR' password=plain "database PATIENT=$E2E_CENTRAL_MDF" "$@"
}

# No site file at all: an InterBase site without its database file gives up with two boxes.
scenario_no_site_files() {
    e2e_site_reset
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit -20
    e2e_check_boxes "$E2E_LOCAL_FAILED" "$E2E_CONNECT_FAILED"
    e2e_check_log_lacks "Database Login Failed"
    e2e_check_ini "$E2E_TOMOCFG" "Server Connection" Server "<missing>"
    e2e_check_ini "$E2E_SYSTEMSET" Machine Home "<missing>"
}

# The usual workstation: the local SQL Server serves the local file; the patient and a first visit are created.
scenario_local_sql_server() {
    e2e_local_sql_site WS01
    local before
    before=$(date +%s)
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_log_lines 0
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT MACHINE_ID, PATIENT_ID, LNAME, FName, MName, GENDER, DOB, EMR_ID, ANCESITY
        FROM Patient" "SORV-WS01|1|Smith|John||M|01/02/1960|EMR1001|"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT MACHINE_ID, VISIT_ID, VISIT_TIME BETWEEN $before - 5 AND $(date +%s) + 5
        FROM VISIT" "SORV-WS01|1|1"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT * FROM PATIENTVISIT" "SORV-WS01|1|1"
    # Both identifiers: 32 lowercase hex digits, different from each other.
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT length(p.STR_PATIENT_ID), p.STR_PATIENT_ID GLOB '*[^0-9a-f]*',
        length(v.ORIGINAL_ID), v.ORIGINAL_ID GLOB '*[^0-9a-f]*', p.STR_PATIENT_ID = v.ORIGINAL_ID
        FROM Patient p, VISIT v" "32|0|32|0|0"
    e2e_check_local_site_written "$E2E_LOCAL_MDF"
    e2e_check_ini "$E2E_SQLINSTALL" Options SAPWD "$E2E_PLAIN"
    e2e_check_statement "SELECT count(*) From Patient WHERE UPPER(EMR_ID) = N'EMR1001'"
    e2e_check_statement "INSERT INTO Patient ([MACHINE_ID], [PATIENT_ID], [STR_PATIENT_ID], [LNAME], [FName]"
    e2e_check_no_statement "sp_detach_db"
    e2e_check_no_statement "FOR ATTACH_REBUILD_LOG"
    # The probe, the look at the served file and the readiness check on MASTER, then the database itself.
    e2e_check_opens "ok|$E2E_OPEN_MASTER" "ok|$E2E_OPEN_MASTER" "ok|$E2E_OPEN_MASTER" "ok|$E2E_OPEN_PATIENT"
}

# A site with a central server: the patient goes to the central database; the local site files keep their
# server and no local database path.
scenario_central_sql_server() {
    e2e_central_site
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_log_lines 0
    e2e_check_sql "$E2E_CENTRAL_MDF" "SELECT MACHINE_ID, PATIENT_ID, LNAME, EMR_ID FROM Patient" \
        "SORV-CENTRAL|1|Smith|EMR1001"
    e2e_check_sql "$E2E_CENTRAL_MDF" "SELECT * FROM PATIENTVISIT" "SORV-CENTRAL|1|1"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "0"
    e2e_check_ini "$E2E_TOMOCFG" "Server Connection" Server CEN01
    e2e_check_ini "$E2E_SYSTEMSET" Machine Database "<missing>"
    e2e_check_ini "$E2E_SYSTEMSET" Machine Home "$E2E_SOFTWARE"
    e2e_check_no_statement "sp_detach_db"
    # Probe and readiness check on the central MASTER, then its PATIENT; nothing opened on this workstation.
    e2e_check_opens "ok|$E2E_OPEN_CENTRAL_MASTER" "ok|$E2E_OPEN_CENTRAL_MASTER" "ok|$E2E_OPEN_CENTRAL_PATIENT"
}

# A configured server that is this machine's name in another case means the local database.
scenario_machine_name_case() {
    e2e_local_sql_site WS01
    e2e_tomocfg "SQL Server" ws01
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT MACHINE_ID, PATIENT_ID, LNAME FROM Patient" "SORV-WS01|1|Smith"
    e2e_check_local_site_written "$E2E_LOCAL_MDF"
}

# The same with an accented machine name: the comparison folds case as the tool's upper-casing does.
scenario_machine_name_accented() {
    e2e_local_sql_site $'WS\xc901'
    e2e_tomocfg "SQL Server" $'ws\xe901'
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT hex(MACHINE_ID), PATIENT_ID, LNAME FROM Patient" "534F52562D5753C93031|1|Smith"
    e2e_check_local_site_written "$E2E_LOCAL_MDF"
}

# The central server is down and the user declines the local database: nothing is written anywhere.
scenario_central_down_no() {
    e2e_central_site status=down
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit -20
    e2e_check_boxes "Database connection error|$E2E_QUESTION|Yes/No|No" "$E2E_CONNECT_FAILED"
    e2e_check_log_has "Database Login Failed"
    e2e_check_log_lacks "Switch"
    e2e_check_log_lines 1
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "0"
    e2e_check_sql "$E2E_CENTRAL_MDF" "SELECT count(*) FROM Patient" "0"
    e2e_check_ini "$E2E_TOMOCFG" "Server Connection" Server CEN01
    e2e_check_ini "$E2E_SYSTEMSET" Machine Home "<missing>"
    e2e_check_ini "$E2E_SQLINSTALL" Options SAPWD "$E2E_PLAIN"
}

# The central server is down and the user takes the local database: the second pass registers locally and
# the configured server stays.
scenario_central_down_yes() {
    e2e_central_site status=down
    e2e_answers "Database connection error=Yes"
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes "Database connection error|$E2E_QUESTION|Yes/No|Yes"
    e2e_check_log_has "Database Login Failed"
    e2e_check_log_lines 1
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT MACHINE_ID, PATIENT_ID, LNAME FROM Patient" "SORV-WS01|1|Smith"
    e2e_check_sql "$E2E_CENTRAL_MDF" "SELECT count(*) FROM Patient" "0"
    e2e_check_ini "$E2E_TOMOCFG" "Server Connection" Server CEN01
    e2e_check_ini "$E2E_SYSTEMSET" Machine Database "$E2E_LOCAL_MDF"
    e2e_check_ini "$E2E_SYSTEMSET" Machine Home "$E2E_SOFTWARE"
}

# The central server answers, but this workstation lacks its local database file: not ready, so the question.
scenario_central_without_local_file() {
    e2e_central_site
    rm -f "$(unixpath "$E2E_LOCAL_MDF")"
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit -20
    e2e_check_boxes "Database connection error|$E2E_QUESTION|Yes/No|No" "$E2E_CONNECT_FAILED"
    e2e_check_log_lacks "Database Login Failed"
    e2e_check_sql "$E2E_CENTRAL_MDF" "SELECT count(*) FROM Patient" "0"
    e2e_check_ini "$E2E_TOMOCFG" "Server Connection" Server CEN01
    e2e_check_ini "$E2E_SYSTEMSET" Machine Home "<missing>"
}

# No SAPWD and a server that enforces the policy password: the tool switches, records it, and connects.
scenario_password_to_policy() {
    e2e_local_sql_site WS01 password=policy
    e2e_sqlinstall -
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_log_has "Switch password to enforce password"
    e2e_check_log_lacks "Database Login Failed"
    e2e_check_ini "$E2E_SQLINSTALL" Options SAPWD "$E2E_POLICY"
    e2e_check_readonly "$E2E_SQLINSTALL"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "1"
    # The next run uses the recorded password at once.
    e2e_run EMR1002 Jones Mary n/a F 02/03/1970 n/a 03/04/2024 1
    e2e_check_exit 1
    e2e_check_log_lines 0
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT PATIENT_ID, LNAME FROM Patient ORDER BY PATIENT_ID" $'1|Smith\n2|Jones'
}

# SAPWD holds the policy password and the server has the plain one: the switch runs the other way.
scenario_password_to_plain() {
    e2e_local_sql_site WS01
    e2e_sqlinstall "$E2E_POLICY"
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_log_has "Switch enforce password to password"
    e2e_check_ini "$E2E_SQLINSTALL" Options SAPWD "$E2E_PLAIN"
    e2e_check_readonly "$E2E_SQLINSTALL"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "1"
}

# A third password that the server refuses: no switch, and a local site gives up.
scenario_password_third() {
    e2e_local_sql_site WS01
    e2e_sqlinstall "Other#Pass1"
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit -20
    e2e_check_boxes "$E2E_LOCAL_FAILED" "$E2E_CONNECT_FAILED"
    e2e_check_log_has "Database Login Failed"
    e2e_check_log_lacks "Switch"
    e2e_check_ini "$E2E_SQLINSTALL" Options SAPWD "Other#Pass1"
    e2e_check_ini "$E2E_SYSTEMSET" Machine Home "<missing>"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "0"
}

# An unreachable local server: its error is no login failure, so no password switch is tried.
scenario_local_server_down() {
    e2e_local_sql_site WS01 status=down
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit -20
    e2e_check_boxes "$E2E_LOCAL_FAILED" "$E2E_CONNECT_FAILED"
    e2e_check_log_has "Database Login Failed"
    e2e_check_log_lacks "Switch"
    e2e_check_ini "$E2E_SQLINSTALL" Options SAPWD "$E2E_PLAIN"
}

# An InterBase site opens its local PATIENT.ib; a configured server is ignored and emptied.
scenario_interbase_with_file() {
    e2e_site_reset
    e2e_tomocfg InterBase CEN01
    e2e_systemset WS01
    e2e_db_create "$E2E_LOCAL_IB" WS01 SORV-IB
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_log_lines 0
    e2e_check_sql "$E2E_LOCAL_IB" "SELECT MACHINE_ID, PATIENT_ID, LNAME, EMR_ID FROM Patient" "SORV-IB|1|Smith|EMR1001"
    e2e_check_sql "$E2E_LOCAL_IB" "SELECT * FROM PATIENTVISIT" "SORV-IB|1|1"
    e2e_check_local_site_written "$E2E_LOCAL_IB"
    # The database file is opened directly, on this workstation, whatever server the site names.
    e2e_check_opens 'ok|DRIVER={Gemini InterBase ODBC Driver 2.0};SERVER=localhost;DATABASE=C:\SCANSUITE\db_repository\PATIENT.ib;UID=SYSDBA;PWD=***;'
}

# An InterBase site without PATIENT.ib: no open is tried, the tool gives up.
scenario_interbase_without_file() {
    e2e_site_reset
    e2e_tomocfg InterBase CEN01
    e2e_systemset WS01
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit -20
    e2e_check_boxes "$E2E_LOCAL_FAILED" "$E2E_CONNECT_FAILED"
    e2e_check_ini "$E2E_TOMOCFG" "Server Connection" Server CEN01
    e2e_check_ini "$E2E_SYSTEMSET" Machine Home "<missing>"
    check_that "no PATIENT.ib was created" [ ! -e "$(unixpath "$E2E_LOCAL_IB")" ]
}

# The software folder is the working folder cut before its first "bin": C:\Tools (no "bin") and C:\cabinet\bin
# (cut inside "cabinet") lead to database files and TomoCfg.ini paths that run into the folder names.
scenario_working_folder_without_bin() {
    e2e_site_reset
    e2e_systemset WS01
    mkdir -p "$E2E_DRIVE_C/Tools" "$E2E_DRIVE_C/cabinet/bin"
    e2e_ini_set 'C:\Tools\bin\TomoCfg.ini' "System Parameters" Database InterBase
    e2e_db_create 'C:\Toolsdb_repository\PATIENT.ib' WS01 SORV-TOOLS
    e2e_run_in 'C:\Tools' "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_sql 'C:\Toolsdb_repository\PATIENT.ib' "SELECT MACHINE_ID, PATIENT_ID, LNAME FROM Patient" \
        "SORV-TOOLS|1|Smith"
    e2e_check_ini 'C:\Tools\bin\TomoCfg.ini' "Server Connection" Server ""
    e2e_check_ini "$E2E_SYSTEMSET" Machine Database 'C:\Toolsdb_repository\PATIENT.ib'
    e2e_check_ini "$E2E_SYSTEMSET" Machine Home 'C:\Tools'

    e2e_db_create 'C:\cadb_repository\PATIENT.ib' WS01 SORV-CA
    e2e_run_in 'C:\cabinet\bin' EMR1002 Jones Mary n/a F 02/03/1970 n/a 03/04/2024 1
    e2e_check_exit 1
    e2e_check_sql 'C:\cadb_repository\PATIENT.ib' "SELECT MACHINE_ID, PATIENT_ID, LNAME FROM Patient" "SORV-CA|1|Jones"
    # C:\ca\bin does not exist: that write fails unnoticed, the others are made.
    e2e_check_ini 'C:\ca\bin\TomoCfg.ini' "Server Connection" Server "<missing>"
    e2e_check_ini "$E2E_SYSTEMSET" Machine Database 'C:\cadb_repository\PATIENT.ib'
    e2e_check_ini "$E2E_SYSTEMSET" Machine Home 'C:\ca'
}

# A password with ";" and braces: every connection string carries it braced, and it connects.
scenario_password_with_semicolon() {
    e2e_local_sql_site WS01 'password=pa;ss{w}rd'
    e2e_sqlinstall 'pa;ss{w}rd'
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_log_lines 0
    e2e_check_opens "ok|$E2E_OPEN_MASTER" "ok|$E2E_OPEN_MASTER" "ok|$E2E_OPEN_MASTER" "ok|$E2E_OPEN_PATIENT"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT PATIENT_ID, LNAME FROM Patient" "1|Smith"
    e2e_check_ini "$E2E_SQLINSTALL" Options SAPWD 'pa;ss{w}rd'
}
