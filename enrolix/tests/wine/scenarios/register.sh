# Scenarios of patient registration on the usual local SQL Server site.

E2E_CREATE_FAILED='Error|Failed to create patient in database|OK|OK'

# Patient rows as "PATIENT_ID|LNAME|FName|DOB|EMR_ID", in order.
e2e_patients() { e2e_sql "$E2E_LOCAL_MDF" "SELECT PATIENT_ID, LNAME, FName, DOB, EMR_ID FROM Patient ORDER BY rowid"; }

# Two patients whose EMR ids differ only in case: a request for either one is refused; nothing is written.
scenario_duplicate_emr_id() {
    e2e_local_sql_site WS01
    e2e_add_patient "$E2E_LOCAL_MDF" SORV-WS01 1 Smith John 01/02/1960 ab12
    e2e_add_patient "$E2E_LOCAL_MDF" SORV-WS01 2 Smyth Jon 05/06/1970 AB12
    e2e_run Ab12 Brown Ann n/a F 07/08/1980 n/a 03/04/2024 1
    e2e_check_exit -5
    e2e_check_boxes \
        "Error|Patient is not added, because multiple patients have the same EMR_ID in the database|OK|OK"
    e2e_check_statement "SELECT count(*) From Patient WHERE UPPER(EMR_ID) = N'AB12'"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "2"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM VISIT" "0"
}

# A patient already known by the EMR id is accepted as present, even under other names; nothing is written.
scenario_existing_emr_id() {
    e2e_local_sql_site WS01
    e2e_add_patient "$E2E_LOCAL_MDF" SORV-WS01 1 Smith John 01/02/1960 EMR1001
    e2e_run EMR1001 Other Name n/a M 09/09/1999 n/a 03/04/2024 1
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_no_statement "INSERT INTO Patient"
    check_eq "1|Smith|John|01/02/1960|EMR1001" "$(e2e_patients)" "patients unchanged"
}

# Two patients with the request's names (in any case) and date of birth: refused with -3.
scenario_duplicate_names_dob() {
    e2e_local_sql_site WS01
    e2e_add_patient "$E2E_LOCAL_MDF" SORV-WS01 1 SMITH JOHN 01/02/1960 A1
    e2e_add_patient "$E2E_LOCAL_MDF" SORV-WS01 2 smith john 01/02/1960 A2
    e2e_run EMR9 Smith John n/a M 01/02/1960 n/a 03/04/2024 1
    e2e_check_exit -3
    e2e_check_boxes "Error|Patient is not added, because multiple patients have the same last name, first name, and date of birth in the database|OK|OK"
    e2e_check_statement "SELECT count(*) FROM Patient WHERE UPPER(LNAME)=N'SMITH' AND UPPER(FNAME)=N'JOHN' AND DOB=N'01/02/1960'"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "2"
    # One patient with these names and another date of birth is no match: a new patient is created.
    e2e_run EMR9 Smith John n/a M 01/02/1961 n/a 03/04/2024 1
    e2e_check_exit 1
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT PATIENT_ID, DOB, EMR_ID FROM Patient WHERE EMR_ID = 'EMR9'" "3|01/02/1961|EMR9"
}

# A name with an apostrophe is stored as given and found again as the same patient.
scenario_apostrophe_name() {
    e2e_local_sql_site WS01
    e2e_run n/a "O'Neil" "D'Arcy" n/a M 01/02/1960 n/a 03/04/2024 1
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_log_lines 0
    check_eq "1|O'Neil|D'Arcy|01/02/1960|" "$(e2e_patients)" "stored names"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT * FROM PATIENTVISIT" "SORV-WS01|1|1"
    # Without an EMR id the names and date of birth find the patient: present, nothing written.
    e2e_run n/a "O'NEIL" "d'arcy" n/a M 01/02/1960 n/a 03/04/2024 1
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_log_lines 0
    e2e_check_no_statement "INSERT INTO Patient"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "1"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM VISIT" "1"
}

# The database refuses the Patient insert: result 0, one exception line, no visit.
scenario_refused_patient_insert() {
    e2e_local_sql_site WS01
    e2e_refuse_insert Patient
    e2e_run "${E2E_SMITH[@]}"
    e2e_check_exit 0
    e2e_check_boxes "$E2E_CREATE_FAILED"
    e2e_check_log_lines 1
    e2e_check_log_has "ERROR] Exception in File: Enrolix Line " "function=CreateDBPatient ex=" \
        "INSERT permission was denied"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "0"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM VISIT" "0"
    e2e_check_no_statement "Insert into VISIT"
}

# PATIENT_ID counts per machine, VISIT_ID over all machines; a machine name without its own SYSMACHINES row
# takes the product of the lowest SYS_ID among the rows without a name.
scenario_patient_and_visit_ids() {
    e2e_local_sql_site WS01
    local file=$E2E_LOCAL_MDF i
    e2e_sql "$file" "DELETE FROM SYSMACHINES; INSERT INTO SYSMACHINES VALUES (1, 'WS07', 'Y'), (5, NULL, 'Z'),
        (3, NULL, 'X')"
    for i in 1 2 3 4; do e2e_add_patient "$file" X "$i" "Xlast$i" First 01/01/1950 "X$i"; done
    for i in 1 2 3 4 5 6 7 8 9; do e2e_add_patient "$file" Y "$i" "Ylast$i" First 01/01/1950 "Y$i"; done
    for i in $(seq 1 20); do
        e2e_sql "$file" "INSERT INTO VISIT VALUES ('$([ "$i" -le 8 ] && echo X || echo Y)', $i, 'v$i', 0)"
    done
    e2e_run NEW1 Newman Paul n/a M 03/03/1963 n/a 03/04/2024 1
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_statement "Select Max(PATIENT_ID) From Patient where MACHINE_ID = N'X'"
    e2e_check_sql "$file" "SELECT MACHINE_ID, PATIENT_ID FROM Patient WHERE EMR_ID = 'NEW1'" "X|5"
    e2e_check_sql "$file" "SELECT MACHINE_ID, VISIT_ID FROM VISIT WHERE VISIT_ID > 20" "X|21"
    e2e_check_sql "$file" "SELECT * FROM PATIENTVISIT" "X|21|5"
}

# The command line as the plug-in writes it: "n/a" fields are empty, a date of birth n/a stays as it is.
scenario_command_line_fields() {
    e2e_local_sql_site WS01
    e2e_run N/A "Van Dyke" N/A "n/A" n/a n/a N/A n/a 1 extra
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT quote(LNAME), quote(FName), quote(MName), quote(GENDER), quote(DOB),
        quote(EMR_ID), quote(ANCESITY) FROM Patient" "'Van Dyke'|''|''|''|'n/a'|''|''"
    e2e_check_no_statement "UPPER(EMR_ID)"
    # A new flag other than "1": no connection is made at all.
    e2e_run EMR2 Smith John n/a M 01/02/1960 n/a 03/04/2024 yes
    e2e_check_exit -30
    e2e_check_boxes "Error|Skip the add patient because of the new flag is off|OK|OK"
    check_eq "" "$(cat "$E2E_RUN_DIR/statements")" "statements of a run with the flag off"
}

# An accented patient is stored in the ANSI code page (Windows-1252) and found again, by the EMR id and by the
# names in either case, as SQL Server's collation finds it; then duplicates of it are refused.
scenario_accented_patient() {
    e2e_local_sql_site WS01
    e2e_run É100 Müller Éloïse n/a F 01/02/1960 n/a 03/04/2024 1
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_log_lines 0
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT PATIENT_ID, hex(LNAME), hex(FName), hex(EMR_ID) FROM Patient" \
        "1|4DFC6C6C6572|C96C6FEF7365|C9313030"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT * FROM PATIENTVISIT" "SORV-WS01|1|1"
    e2e_check_statement $'WHERE UPPER(LNAME)=N\'M\xdcLLER\' AND UPPER(FNAME)=N\'\xc9LO\xcfSE\''
    # The EMR id in the other case, under other names: the same patient, nothing written.
    e2e_run é100 Other Name n/a M 09/09/1999 n/a 03/04/2024 1
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_statement $'UPPER(EMR_ID) = N\'\xc9100\''
    e2e_check_no_statement "INSERT INTO Patient"
    # No EMR id, the names in capitals: found by names and date of birth, nothing written.
    e2e_run n/a MÜLLER ÉLOÏSE n/a F 01/02/1960 n/a 03/04/2024 1
    e2e_check_exit 1
    e2e_check_boxes
    e2e_check_no_statement "INSERT INTO Patient"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "1"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM VISIT" "1"
    # A second patient with these names in lower case and an EMR id differing only in case: both ambiguous.
    e2e_add_patient "$E2E_LOCAL_MDF" SORV-WS01 2 $'m\xfcller' $'\xe9lo\xefse' 01/02/1960 $'\xe9100'
    e2e_run n/a Müller Éloïse n/a F 01/02/1960 n/a 03/04/2024 1
    e2e_check_exit -3
    e2e_check_boxes "Error|Patient is not added, because multiple patients have the same last name, first name, and date of birth in the database|OK|OK"
    e2e_run É100 Müller Éloïse n/a F 01/02/1960 n/a 03/04/2024 1
    e2e_check_exit -5
    e2e_check_boxes "Error|Patient is not added, because multiple patients have the same EMR_ID in the database|OK|OK"
    e2e_check_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM Patient" "2"
}
