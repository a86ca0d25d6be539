#!/usr/bin/env bash
# Enrolix.exe under Wine: command line, exit codes, message boxes and the log file, without a database.
# Argument: Enrolix.exe.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
ENROLIX=$1

C=$(unixpath 'C:\')
SITE_BIN='C:\SCANSUITE\bin'
LOG=$C/Orvanta/Logs/Enrolix.log
CONNECT_TITLE="Database connection error"
LOCAL_FAILED="Local database connection failed.  Software will exit now."
NOT_CONNECTED="Failed to connect the database"
FLAG_OFF="Skip the add patient because of the new flag is off"

# No ODBC driver at all, whatever the host has configured.
mkdir -p "$WINE_TEST_DIR/odbc"
: >"$WINE_TEST_DIR/odbc/odbcinst.ini"
: >"$WINE_TEST_DIR/odbc/odbc.ini"
export ODBCSYSINI=$WINE_TEST_DIR/odbc ODBCINI=$WINE_TEST_DIR/odbc/odbc.ini

# A workstation without any site files: no C:\Orvanta content, an empty software folder.
reset_site() {
    rm -rf "$C/Orvanta" "$C/SCANSUITE"
    mkdir -p "$C/Orvanta" "$C/SCANSUITE/bin"
}

# A site on the local SQL Server; this prefix has no SQL Server driver, so every probe fails and is logged.
sql_server_site() {
    reset_site
    printf '[System Parameters]\r\nDatabase=SQL Server\r\n' >"$C/SCANSUITE/bin/TomoCfg.ini"
}

# Runs Enrolix in the software folder with the arguments given (or --command-line TEXT); answers the
# connection box with $CONNECT_ANSWER and the "Error" box with OK. Sets CODE, ERROR_BOX and CONNECT_BOX
# ("<none>" when that box was not shown).
CONNECT_ANSWER=OK
run_enrolix() {
    answer_box "$CONNECT_TITLE" "$CONNECT_ANSWER"
    answer_box "Error" OK
    if [ "${1:-}" = --command-line ]; then
        CODE=$(wine_run_tool --cwd "$SITE_BIN" --command-line "\"$(winpath "$ENROLIX")\" $2") || CODE="<none>"
    else
        CODE=$(wine_run_tool --cwd "$SITE_BIN" "$ENROLIX" "$@") || CODE="<none>"
    fi
    ERROR_BOX=$(seen_box "Error") || ERROR_BOX="<none>"
    CONNECT_BOX=$(seen_box "$CONNECT_TITLE") || CONNECT_BOX="<none>"
}

# Expects the outcome of a request that reached the connection step of a site without a usable database.
expect_not_connected() {  # what
    check_eq -20 "$CODE" "$1: exit code"
    check_eq "$LOCAL_FAILED" "$CONNECT_BOX" "$1: connection box"
    check_eq "$NOT_CONNECTED" "$ERROR_BOX" "$1: error box"
}

expect_flag_off() {  # what
    check_eq -30 "$CODE" "$1: exit code"
    check_eq "$FLAG_OFF" "$ERROR_BOX" "$1: error box"
    check_eq "<none>" "$CONNECT_BOX" "$1: no connection attempt"
}

PATIENT=(P-1001 Doe John n/a M 01/01/1970 n/a 12/08/2024)

# Eight arguments are too few; ten are accepted and the tenth ignored.
reset_site
run_enrolix "${PATIENT[@]}"
check_eq -40 "$CODE" "eight arguments: exit code"
check_eq "Invalid parameters" "$ERROR_BOX" "eight arguments: box"
check_eq "<none>" "$CONNECT_BOX" "eight arguments: no connection attempt"
run_enrolix
check_eq -40 "$CODE" "no arguments: exit code"
run_enrolix "${PATIENT[@]}" 1 extra
expect_not_connected "ten arguments"

# No site files at all: an InterBase site without its PATIENT.ib; nothing to log.
check_eq "no" "$([ -e "$LOG" ] && echo yes || echo no)" "no site files: no log line"

# A new flag other than "1" stops before the database: no probe, so no log line either.
sql_server_site
for flag in 0 yes 01 " 1" ""; do
    run_enrolix "${PATIENT[@]}" "$flag"
    expect_flag_off "new flag [$flag]"
done
check_eq "no" "$([ -e "$LOG" ] && echo yes || echo no)" "clear new flag: database untouched"

# The log: one error line per failed probe, appended below the limit, the file emptied at it.
sql_server_site
mkdir -p "$C/Orvanta/Logs"
run_enrolix "${PATIENT[@]}" 1
expect_not_connected "SQL Server site without server"
check_file_contains "$LOG" ", ERROR] Database Login Failed"
line=$(cat "$LOG")
check_eq 1 "$(wc -l <"$LOG" | tr -d ' ')" "one line per run"
head -c 102399 /dev/zero | tr '\0' x >"$LOG"
run_enrolix "${PATIENT[@]}" 1
check_eq $((102399 + ${#line} + 1)) "$(stat -c %s "$LOG")" "log of 102399 bytes: line appended"
head -c 102400 /dev/zero | tr '\0' x >"$LOG"
run_enrolix "${PATIENT[@]}" 1
check_eq $((${#line} + 1)) "$(stat -c %s "$LOG")" "log of 102400 bytes: emptied first"
check_eq 0 "$(tr -cd x <"$LOG" | wc -c | tr -d ' ')" "nothing of the old content remains"

# Without C:\Orvanta the log folder cannot be made: no line, and the run goes on to its boxes.
sql_server_site
rm -rf "$C/Orvanta"
run_enrolix "${PATIENT[@]}" 1
expect_not_connected "missing C:\\Orvanta"
check_eq "no" "$([ -e "$C/Orvanta" ] && echo yes || echo no)" "missing C:\\Orvanta: not created"

# A central server that cannot be reached: the question names it verbatim, "No" ends the run.
sql_server_site
printf '[System Parameters]\r\nDatabase=SQL Server\r\n[Server Connection]\r\nServer=CEN%%d%%s 100%%\r\n' \
    >"$C/SCANSUITE/bin/TomoCfg.ini"
CONNECT_ANSWER=No
run_enrolix "${PATIENT[@]}" 1
CONNECT_ANSWER=OK
check_eq -20 "$CODE" "declined fallback: exit code"
check_eq 'Fail to connect database on server "CEN%d%s 100%", do you want to use the local database and continue to work?' \
    "$CONNECT_BOX" "declined fallback: the question"
check_eq "$NOT_CONNECTED" "$ERROR_BOX" "declined fallback: error box"
check_file_contains "$LOG" "Database Login Failed"

# A working folder without "bin" is the software folder itself: TomoCfg.ini is read from its "bin".
reset_site
mkdir -p "$C/Tools/bin"
printf '[System Parameters]\r\nDatabase=SQL Server\r\n' >"$C/Tools/bin/TomoCfg.ini"
SITE_BIN='C:\Tools'
run_enrolix "${PATIENT[@]}" 1
SITE_BIN='C:\SCANSUITE\bin'
expect_not_connected "working folder without bin"
check_file_contains "$LOG" "Database Login Failed"
rm -rf "$C/Tools"

# Awkward values reach the connection step without harm: quotes, blanks, percent signs, non-ASCII letters
# of the ANSI code page, empty fields, N/A, n/a as date of birth, very long values.
reset_site
long=$(head -c 4000 /dev/zero | tr '\0' L)
run_enrolix "O'Neil" "Doe \"Jr\"" "100% %d %s %n" "" "" n/a "Müller Ærø" N/A 1
expect_not_connected "quotes, percent signs and non-ASCII"
run_enrolix "$long" "$long" "$long" "$long" "$long" "$long" "$long" "$long" 1
expect_not_connected "very long values"
run_enrolix --command-line 'P1 "O\"Neil" "" "" "" "" "" "" 1'
expect_not_connected "escaped quote and empty quoted fields"
run_enrolix --command-line 'P1 "unterminated quote 1'
check_eq -40 "$CODE" "an open quote swallows the rest: too few arguments"
check_eq "Invalid parameters" "$ERROR_BOX" "an open quote: box"
run_enrolix "${PATIENT[@]}" "1 "
expect_flag_off "new flag with a trailing blank"

rm -rf "$C/Orvanta" "$C/SCANSUITE"
wine_finish
