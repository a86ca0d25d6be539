# The imaging site of the registration tool, set up in the Wine prefix, and the real Enrolix.exe run
# against the ODBC stand-in. Sourced by scenario scripts after "$ORVANTA_WINE_LIB" (tests/wine/lib.sh).
#
#   e2e_init ENROLIX_EXE STANDIN_LIB    once per script: what to run and which driver stands in
#   e2e_site_reset                      an empty site: C:\SCANSUITE\bin\Enrolix.exe, C:\Orvanta\Logs, the
#                                       empty-database template; no site file, no server, no database
#   e2e_local_sql_site [MACHINE [KEY=VALUE...]]
#                                       the usual local SQL Server site (machine WS01), its server's keys
#
# Site files (Windows paths; written the way Windows writes profile files):
#   e2e_ini_set FILE SECTION KEY VALUE     e2e_ini_get FILE SECTION KEY (returns 1 when the key is missing)
#   e2e_sqlinstall PASSWORD|- [INSTANCE]   SqlInstall.ini, read-only as installed ("-": no SAPWD key)
#   e2e_tomocfg KIND [SERVER]              TomoCfg.ini of the software folder
#   e2e_systemset MACHINE                  SystemSet.ini
# Databases (SQLite files at the Windows paths the stand-in serves):
#   e2e_db_create FILE [MACHINE PRODUCT]   the tables, and a SYSMACHINES row when given
#   e2e_sql FILE SQL                       runs SQL, rows as a|b|c
#   e2e_add_patient FILE MACHINE_ID PATIENT_ID LNAME FNAME DOB EMR_ID
# The stand-in's configuration (one per scenario, reached through ODBCSYSINI and ORVANTA_STANDIN_CONFIG):
#   e2e_server NAME [KEY=VALUE...]         a SQL Server (password=, status=, detach_timeout=,
#                                          "database PATIENT=C:\..." and so on, as the stand-in documents)
#   e2e_interbase [KEY=VALUE...]           e2e_refuse_insert TABLE [MESSAGE]
#   e2e_fault NAME KEY=VALUE...            a programmed failure: statement= or open= pattern, occurrence=,
#                                          message=, state=, native= (as the stand-in documents)
# Running the tool:
#   e2e_answers "TITLE=BUTTON"...          the boxes expected, in order, and the button that answers each
#   e2e_run ARGS...                        runs C:\SCANSUITE\bin\Enrolix.exe in C:\SCANSUITE\bin, answers its
#                                          boxes, then prints the report; E2E_EXIT holds the exit code
#   e2e_run_in DIR ARGS...                 the same with another working folder
# Checks after a run:
#   e2e_check_exit CODE                    e2e_check_boxes "TITLE|TEXT|BUTTONS|PRESSED"... (all boxes, in order)
#   e2e_check_log_has TEXT...              e2e_check_log_lacks TEXT...  (the run's new lines of Enrolix.log)
#   e2e_check_sql FILE SQL EXPECTED        e2e_check_ini FILE SECTION KEY EXPECTED ("<missing>": no such key)
#   e2e_check_statement TEXT               e2e_check_no_statement TEXT  (the statements the run sent)
#   e2e_check_opens "ok|CONNECTION STRING"...  every open of the run, in order, as the stand-in recorded it
#                                          ("ok" or "refused", and the string with its password as ***)

E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_SOFTWARE='C:\SCANSUITE\'
E2E_BIN='C:\SCANSUITE\bin'
E2E_EXE='C:\SCANSUITE\bin\Enrolix.exe'
E2E_TOMOCFG='C:\SCANSUITE\bin\TomoCfg.ini'
E2E_LOCAL_MDF='C:\SCANSUITE\db_repository\PATIENT.mdf'
E2E_LOCAL_LDF='C:\SCANSUITE\db_repository\PATIENT_Log.ldf'
E2E_LOCAL_IB='C:\SCANSUITE\db_repository\PATIENT.ib'
E2E_SYSTEMSET='C:\Orvanta\SystemSet.ini'
E2E_SQLINSTALL='C:\Orvanta\Database\SqlInstall.ini'
E2E_TEMPLATE='C:\Orvanta\Database\RestoreEmptyDB\Empty_PATIENT.mdf'
E2E_LOG='C:\Orvanta\Logs\Enrolix.log'
E2E_PLAIN=tumbleoak
E2E_POLICY='velvetoak#317'
# A usual request, and the boxes of a failed connection as e2e_check_boxes takes them.
E2E_SMITH=(EMR1001 Smith John n/a M 01/02/1960 n/a 03/04/2024 1)
E2E_LOCAL_FAILED='Database connection error|Local database connection failed.  Software will exit now.|OK|OK'
E2E_CONNECT_FAILED='Error|Failed to connect the database|OK|OK'
E2E_RUNS=0
E2E_EXIT=""
E2E_ANSWERS=()
E2E_BOX_TITLE=()
E2E_BOX_TEXT=()
E2E_BOX_BUTTONS=()
E2E_BOX_PRESSED=()

e2e_init() {  # enrolix exe, stand-in library
    E2E_ENROLIX_BUILT=$1
    E2E_STANDIN_LIB=$2
    [ -f "$E2E_ENROLIX_BUILT" ] || { echo "e2e: Enrolix.exe not built: $E2E_ENROLIX_BUILT" >&2; exit 1; }
    [ -f "$E2E_STANDIN_LIB" ] || {
        echo "e2e: the ODBC stand-in is not built: $E2E_STANDIN_LIB (build the native tree first)" >&2
        exit 1
    }
    command -v sqlite3 >/dev/null || { echo "e2e: sqlite3 is not installed" >&2; exit 1; }
    E2E_STANDIN=$WINE_TEST_DIR/standin
    E2E_DRIVE_C=$(unixpath 'C:\') || exit 1
}

# The host path of a Windows path: drive C: lies in the prefix, drive D: is the central server's disk.
e2e_hostpath() {
    case $1 in
        [Dd]:*) local rest=${1:2}; printf '%s%s\n' "$E2E_STANDIN/drive_d" "${rest//\\//}" ;;
        *) unixpath "$1" ;;
    esac
}

# --- site files -------------------------------------------------------------------------------------------

e2e_ini_set() {  # file, section, key, value
    local file
    file=$(e2e_hostpath "$1") || return 1
    mkdir -p "$(dirname "$file")"
    { [ -f "$file" ] && cat "$file"; } | E2E_SECTION=$2 E2E_KEY=$3 E2E_VALUE=$4 awk '
        function put() { print ENVIRON["E2E_KEY"] "=" ENVIRON["E2E_VALUE"] "\r"; done = 1 }
        BEGIN { section = tolower(ENVIRON["E2E_SECTION"]); key = tolower(ENVIRON["E2E_KEY"]) }
        { sub(/\r$/, "") }
        /^[ \t]*\[/ {
            if (inside && !done) put()
            name = $0; gsub(/^[ \t]*\[|\][ \t]*$/, "", name)
            inside = tolower(name) == section
            print $0 "\r"; next
        }
        inside && !done && index($0, "=") {
            k = substr($0, 1, index($0, "=") - 1); gsub(/^[ \t]+|[ \t]+$/, "", k)
            if (tolower(k) == key) { put(); next }
        }
        { print $0 "\r" }
        END { if (!done) { if (!inside) print "[" ENVIRON["E2E_SECTION"] "]\r"; put() } }' >"$file.new"
    cat "$file.new" >"$file" 2>/dev/null || { rm -f "$file"; mv "$file.new" "$file"; }
    rm -f "$file.new"
}

e2e_ini_get() {  # file, section, key
    local file
    file=$(e2e_hostpath "$1") || return 1
    [ -f "$file" ] || return 1
    E2E_SECTION=$2 E2E_KEY=$3 awk '
        BEGIN { section = tolower(ENVIRON["E2E_SECTION"]); key = tolower(ENVIRON["E2E_KEY"]); status = 1 }
        { sub(/\r$/, "") }
        /^[ \t]*\[/ { name = $0; gsub(/^[ \t]*\[|\][ \t]*$/, "", name); inside = tolower(name) == section; next }
        inside && index($0, "=") {
            k = substr($0, 1, index($0, "=") - 1); gsub(/^[ \t]+|[ \t]+$/, "", k)
            if (tolower(k) == key) {
                v = substr($0, index($0, "=") + 1); gsub(/^[ \t]+|[ \t]+$/, "", v)
                print v; status = 0; exit
            }
        }
        END { exit status }' "$file"
}

e2e_sqlinstall() {  # password or "-", [instance]
    local file
    file=$(unixpath "$E2E_SQLINSTALL")
    [ ! -f "$file" ] || chmod u+w "$file"
    rm -f "$file"
    if [ "$1" != - ]; then e2e_ini_set "$E2E_SQLINSTALL" Options SAPWD "$1"; fi
    e2e_ini_set "$E2E_SQLINSTALL" Options INSTANCENAME "${2:-SQLKOR}"
    chmod a-w "$file"
}

e2e_tomocfg() {  # kind, [server]
    e2e_ini_set "$E2E_TOMOCFG" "System Parameters" Database "$1"
    e2e_ini_set "$E2E_TOMOCFG" "Server Connection" Server "${2:-}"
}

e2e_systemset() {  # machine name
    e2e_ini_set "$E2E_SYSTEMSET" Machine MachineName "$1"
}

# --- databases --------------------------------------------------------------------------------------------

e2e_sql() {  # file, sql
    local file
    file=$(e2e_hostpath "$1") || return 1
    sqlite3 -batch -noheader -separator '|' "$file" "$2"
}

e2e_db_create() {  # file, [machine name, product]
    local file
    file=$(e2e_hostpath "$1") || return 1
    mkdir -p "$(dirname "$file")"
    rm -f "$file"
    sqlite3 -batch "$file" <"$ORVANTA_SOURCE_DIR/standin/patient-schema.sql" || return 1
    if [ $# -ge 3 ]; then
        e2e_sql "$1" "INSERT INTO SYSMACHINES (SYS_ID, SYS_NAME, SYS_PRODUCT) VALUES (1, '$2', '$3')"
    fi
}

e2e_add_patient() {  # file, machine id, patient id, last name, first name, dob, emr id
    local q="'"
    e2e_sql "$1" "INSERT INTO Patient (MACHINE_ID, PATIENT_ID, STR_PATIENT_ID, LNAME, FName, MName, GENDER, DOB,
        EMR_ID, ANCESITY) VALUES ('$2', $3, lower(hex(randomblob(16))), '${4//$q/$q$q}', '${5//$q/$q$q}', '', 'M',
        '$6', '$7', '')"
}

# --- the stand-in -----------------------------------------------------------------------------------------

_e2e_standin_reset() {
    rm -rf "$E2E_STANDIN"
    mkdir -p "$E2E_STANDIN"
    {
        echo "[standin]"
        echo "state = standin-state.ini"
        echo "statement_log = statements.log"
        echo "connection_log = connections.log"
        echo "drive_c = $E2E_DRIVE_C"
        echo "drive_d = $E2E_STANDIN/drive_d"
    } >"$E2E_STANDIN/standin.ini"
    mkdir -p "$E2E_STANDIN/drive_d"
    bash "$ORVANTA_SOURCE_DIR/standin/odbcinst-for.sh" "$E2E_STANDIN_LIB" >"$E2E_STANDIN/odbcinst.ini" || exit 1
    # Wine's odbc32 hands every call to unixODBC, which reads these in the Windows program's process.
    export ODBCSYSINI=$E2E_STANDIN ODBCINSTINI=odbcinst.ini ORVANTA_STANDIN_CONFIG=$E2E_STANDIN/standin.ini
}

_e2e_standin_section() {  # header, key=value...
    {
        echo
        echo "[$1]"
        shift
        local pair
        for pair in "$@"; do echo "${pair%%=*} = ${pair#*=}"; done
    } >>"$E2E_STANDIN/standin.ini"
}

e2e_server() { _e2e_standin_section "server $1" "${@:2}"; }
e2e_interbase() { _e2e_standin_section interbase "$@"; }
e2e_refuse_insert() { _e2e_standin_section refuse_insert "$1=${2:-}"; }
e2e_fault() { _e2e_standin_section "fault $1" "${@:2}"; }

# --- sites ------------------------------------------------------------------------------------------------

# Top-level folders of drive C: that scenarios create; a reset removes them all.
E2E_SITE_FOLDERS=(SCANSUITE Orvanta OldData Gone Tools Toolsdb_repository cabinet ca cadb_repository)

e2e_site_reset() {
    local c=$E2E_DRIVE_C folder
    for folder in "${E2E_SITE_FOLDERS[@]}"; do
        [ ! -e "$c/$folder" ] || { chmod -R u+w "$c/$folder" && rm -rf "${c:?}/$folder"; }
    done
    mkdir -p "$c/SCANSUITE/bin" "$c/Orvanta/Logs" "$c/Orvanta/Database/RestoreEmptyDB"
    cp "$E2E_ENROLIX_BUILT" "$c/SCANSUITE/bin/Enrolix.exe"
    e2e_db_create "$E2E_TEMPLATE"
    _e2e_standin_reset
    E2E_ANSWERS=()
}

# A workstation with its own SQL Server serving the local database file; later keys of the server win.
e2e_local_sql_site() {  # [machine name, [server keys...]]
    local machine=${1:-WS01}
    e2e_site_reset
    e2e_sqlinstall "$E2E_PLAIN"
    e2e_tomocfg "SQL Server"
    e2e_systemset "$machine"
    e2e_db_create "$E2E_LOCAL_MDF" "$machine" "SORV-$machine"
    e2e_server 'localhost\SQLKOR' password=plain "database PATIENT=$E2E_LOCAL_MDF" "${@:2}"
}

# --- running ----------------------------------------------------------------------------------------------

e2e_answers() { E2E_ANSWERS=("$@"); }

# The visible buttons of a box, as "Yes/No".
_e2e_box_buttons() {  # title
    uiauto dump --title "$1" --class '#32770' --timeout-ms 2000 2>/dev/null |
        sed -n 's/.*class="Button" id=[0-9-]* text="\(.*\)"$/\1/p' | tr -d '&' | paste -sd/ -
}

# Answers every box the running tool shows: the next expected one with its button, any other with No or OK.
_e2e_answer_boxes() {
    local next=0 line title text buttons want button
    while [ ! -f "$_wine_tool_files.rc" ]; do
        line=$(uiauto list 2>/dev/null | grep -F 'class="#32770"' | head -n 1)
        if [ -z "$line" ]; then
            sleep 0.2
            continue
        fi
        title=${line#*title=\"}
        title=${title%\"}
        text=$(wait_box "$title" 5) || continue
        buttons=$(_e2e_box_buttons "$title")
        want=${E2E_ANSWERS[$next]:-}
        if [ -n "$want" ] && [ "${want%%=*}" = "$title" ]; then
            button=${want#*=}
        else
            case /$buttons/ in
                */No/*) button=No ;;
                */OK/*) button=OK ;;
                *) button=${buttons%%/*} ;;
            esac
        fi
        click_box "$title" "$button" 10 >/dev/null || fail "cannot answer the box \"$title\" with $button"
        E2E_BOX_TITLE+=("$title")
        E2E_BOX_TEXT+=("$text")
        E2E_BOX_BUTTONS+=("$buttons")
        E2E_BOX_PRESSED+=("$button")
        next=$((next + 1))
    done
}

_e2e_line_count() { if [ -f "$1" ]; then wc -l <"$1"; else echo 0; fi; }

e2e_run() { e2e_run_in "$E2E_BIN" "$@"; }

e2e_run_in() {  # working folder, arguments...
    local cwd=$1
    shift
    E2E_RUNS=$((E2E_RUNS + 1))
    E2E_RUN_DIR=$WINE_TEST_DIR/run.$E2E_RUNS
    mkdir -p "$E2E_RUN_DIR"
    E2E_BOX_TITLE=()
    E2E_BOX_TEXT=()
    E2E_BOX_BUTTONS=()
    E2E_BOX_PRESSED=()
    local log statements opens log_before statements_before opens_before
    log=$(unixpath "$E2E_LOG")
    statements=$E2E_STANDIN/statements.log
    opens=$E2E_STANDIN/connections.log
    log_before=$(_e2e_line_count "$log")
    statements_before=$(_e2e_line_count "$statements")
    opens_before=$(_e2e_line_count "$opens")
    echo
    echo "== run $E2E_RUNS: Enrolix.exe$(printf ' "%s"' "$@")  (in $cwd)"
    wine_spawn_tool --cwd "$cwd" --timeout 90 "$E2E_EXE" "$@"
    _e2e_answer_boxes
    E2E_EXIT=$(wine_wait_tool) || E2E_EXIT=none
    if [ -f "$log" ]; then tail -n "+$((log_before + 1))" "$log" | tr -d '\r'; fi >"$E2E_RUN_DIR/log"
    if [ -f "$statements" ]; then tail -n "+$((statements_before + 1))" "$statements"; fi >"$E2E_RUN_DIR/statements"
    if [ -f "$opens" ]; then tail -n "+$((opens_before + 1))" "$opens"; fi >"$E2E_RUN_DIR/opens"
    e2e_report
}

# What the run did: exit code, boxes, log lines, statements, site files and database rows.
e2e_report() {
    local i
    echo "   exit code: $E2E_EXIT"
    for i in "${!E2E_BOX_TITLE[@]}"; do
        echo "   box \"${E2E_BOX_TITLE[$i]}\" [${E2E_BOX_BUTTONS[$i]}]: ${E2E_BOX_TEXT[$i]}  -> ${E2E_BOX_PRESSED[$i]}"
    done
    [ ${#E2E_BOX_TITLE[@]} -gt 0 ] || echo "   no message box"
    sed 's/^/   log: /' "$E2E_RUN_DIR/log"
    awk -F '\t' '{ print "   open: " $1 ": " $6 }' "$E2E_RUN_DIR/opens"
    sed 's/^/   sql: /' "$E2E_RUN_DIR/statements"
    local file value
    for file in "$E2E_SYSTEMSET" "$E2E_TOMOCFG" "$E2E_SQLINSTALL"; do
        value=$(unixpath "$file")
        [ -f "$value" ] || { echo "   site file $file: none"; continue; }
        echo "   site file $file$([ -n "$(find "$value" -perm /222)" ] || echo ' (read-only)'):"
        tr -d '\r' <"$value" | sed 's/^/      /'
    done
    local dir
    dir=$(unixpath 'C:\SCANSUITE\db_repository')
    if [ -d "$dir" ]; then
        echo "   db_repository: $(cd "$dir" && ls -1p | paste -sd' ' -)"
    fi
    local db
    for db in "$E2E_LOCAL_MDF" "$E2E_LOCAL_IB"; do
        value=$(unixpath "$db")
        [ -f "$value" ] || continue
        echo "   rows of $db:"
        local table
        for table in Patient VISIT PATIENTVISIT; do
            e2e_sql "$db" "SELECT * FROM $table" 2>&1 | sed "s/^/      $table: /"
        done
    done
}

# --- checks -----------------------------------------------------------------------------------------------

e2e_check_exit() { check_eq "$1" "$E2E_EXIT" "exit code"; }

e2e_check_boxes() {  # "title|text|buttons|pressed"...
    local expected actual i
    expected=$(printf '%s\n' "$@")
    actual=$(for i in "${!E2E_BOX_TITLE[@]}"; do
        printf '%s|%s|%s|%s\n' "${E2E_BOX_TITLE[$i]}" "${E2E_BOX_TEXT[$i]}" "${E2E_BOX_BUTTONS[$i]}" \
            "${E2E_BOX_PRESSED[$i]}"
    done)
    [ $# -gt 0 ] || expected=""
    check_eq "$expected" "$actual" "message boxes"
}

e2e_check_log_has() {
    local part
    for part in "$@"; do
        check_that "the run's log lines hold [$part]" grep -qF -- "$part" "$E2E_RUN_DIR/log"
    done
}

e2e_check_log_lacks() {
    local part
    for part in "$@"; do
        check_that "the run's log lines lack [$part]" ! grep -qF -- "$part" "$E2E_RUN_DIR/log"
    done
}

e2e_check_log_lines() {  # expected number of new lines
    check_eq "$1" "$(wc -l <"$E2E_RUN_DIR/log" | tr -d ' ')" "number of new log lines"
}

e2e_check_sql() {  # file, sql, expected rows
    check_eq "$3" "$(e2e_sql "$1" "$2" 2>&1)" "$2"
}

e2e_check_ini() {  # file, section, key, expected ("<missing>" for no key)
    local value
    value=$(e2e_ini_get "$1" "$2" "$3") || value="<missing>"
    check_eq "$4" "$value" "$1 [$2] $3"
}

# The local site files after a successful connection to the local database without fallback.
e2e_check_local_site_written() {  # database file
    e2e_check_ini "$E2E_TOMOCFG" "Server Connection" Server ""
    e2e_check_ini "$E2E_SYSTEMSET" Machine Database "$1"
    e2e_check_ini "$E2E_SYSTEMSET" Machine Home "$E2E_SOFTWARE"
}

e2e_check_readonly() {  # file
    local file
    file=$(e2e_hostpath "$1")
    check_that "$1 is a read-only file" [ -n "$(find "$file" -maxdepth 0 -type f ! -perm /222 2>/dev/null)" ]
}

e2e_check_statement() {  # text
    LC_ALL=C check_that "a statement [$1] was sent" grep -qF -- "$1" "$E2E_RUN_DIR/statements"
}

e2e_check_opens() {  # "outcome|connection string"...
    local expected actual
    expected=$(printf '%s\n' "$@")
    actual=$(awk -F '\t' '{ split($1, outcome, " "); print outcome[1] "|" $6 }' "$E2E_RUN_DIR/opens")
    check_eq "$expected" "$actual" "connections opened"
}

e2e_check_no_statement() {  # text
    LC_ALL=C check_that "no statement [$1] was sent" ! grep -qF -- "$1" "$E2E_RUN_DIR/statements"
}
