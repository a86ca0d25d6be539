#!/usr/bin/env bash
# OrvantaCheck.exe under Wine: the demo's site passes every check; then one planted fault at a time turns its check
# and says what to do, while the site stays exactly as it was. The console text and the HTML page carry the
# same rows. Arguments: OrvantaCheck.exe, Enrolix.exe, libstandin_odbc.so, Orvanta.dll, holdfile.exe.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$ORVANTA_SOURCE_DIR/enrolix/tests/wine/site.sh"
source "$ORVANTA_SOURCE_DIR/plugin/tests/wine/plugin_lib.sh"
source "$ORVANTA_SOURCE_DIR/plugin/tests/wine/capture_through_enrolix_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/check_lib.sh"
e2e_init "$2" "$3"
check_init "$1" "$4" || wine_finish
HOLDFILE=$5
VIEW="$WINE_BITS-bit"
HTML=$WINE_TEST_DIR/report.html

# The console rows as "STATE|name: found|advice", and the HTML page's rows the same way.
text_rows() {
    awk '/^  (OK|WARN|FAIL) / { if (row != "") print row "|"; st = $1; sub(/^  [A-Z]+ +/, ""); row = st "|" $0; next }
         /^       -> / { sub(/^       -> /, ""); print row "|" $0; row = ""; next }
         END { if (row != "") print row "|" }' <<<"$CHECK_OUT"
}
html_rows() {
    tr -d '\r' <"$HTML" | sed -n 's|^<tr class="[A-Z]*"><td>\([A-Z]*\)</td><td>\(.*\)</td><td>\(.*\)</td><td>\(.*\)</td></tr>$|\1\|\2: \3\|\4|p' |
        sed -e 's/&lt;/</g' -e 's/&gt;/>/g' -e 's/&quot;/"/g' -e 's/&amp;/\&/g'
}

# Runs the check with /html and proves that nothing of the site changed and that both reports agree.
run_unchanged() {  # what
    local before after statements
    before=$(check_snapshot)
    statements=$(cat "$E2E_STANDIN/statements.log" 2>/dev/null | wc -l)
    rm -f "$HTML"
    check_run /html "$(winpath "$HTML")" || return 1
    after=$(check_snapshot)
    check_that "$1: the site as before" [ "$before" = "$after" ] || diff <(echo "$before") <(echo "$after") | head -n 5 >&2
    local changing
    changing=$(tail -n "+$((statements + 1))" "$E2E_STANDIN/statements.log" 2>/dev/null |
        grep -i -E '(insert|update|delete|drop|alter|create|attach|detach|sp_|exec)' | head -n 3)
    check_eq "" "$changing" "$1: statements that change the database"
    check_eq "$(text_rows)" "$(html_rows)" "$1: the HTML page's rows"
    check_contains "$(tr -d '\r' <"$HTML")" "<p id=\"summary\">$(tail -n 1 <<<"$CHECK_OUT")</p>" "$1: the HTML summary"
}

# --- the healthy site
check_site
run_unchanged "healthy site"
check_eq 0 "$CHECK_EXIT" "exit code of the healthy site"
check_eq "" "$(text_rows | grep -v '^OK|')" "no WARN or FAIL on the healthy site"
check_contains "$CHECK_OUT" "0 WARN, 0 FAIL" "the closing count"
CLASS=$(sed -n 's/.*Orvanta.clsOrvanta -> \({[^}]*}\).*/\1/p' <<<"$CHECK_OUT" | head -n 1)
[ -n "$CLASS" ] || fail "no class identifier in the ProgID row: $CHECK_OUT"

check_run /?
check_eq 0 "$CHECK_EXIT" "exit code of /?"
check_contains "$CHECK_OUT" "/html FILE" "the usage"
check_run /fix
check_eq 2 "$CHECK_EXIT" "exit code of an unknown argument"
check_contains "$CHECK_OUT" "Unknown argument: /fix" "an unknown argument named"

# --- one fault at a time: the set-up, the state and row it turns, words of the row's advice
equip() { write_equip "[Equipment]" "$@" "[3]" "EquipDataPath=$CAPTURE_IMAGES" "[4]" "EquipDataPath=$CAPTURE_REVIEW"; }
fault_no_praxo_mdb() { rm -f "$HOST_DATA/praxo.mdb"; }
fault_key_case() { equip "Number=2" "1=3:a:Orvanta:Capture Sorvane" "2=4:b:Orvanta:review Sorvane"; }
fault_key_twice() {
    equip "Number=3" "1=3:a:Orvanta:Capture Sorvane" "2=4:b:Orvanta:Review Sorvane" "3=5:c:Orvanta:Review Sorvane"
}
fault_no_review_entry() { equip "Number=1" "1=3:a:Orvanta:Capture Sorvane"; }
fault_field0() { equip "Number=2" "1=3:a:Orvanta:Capture Sorvane" "2=4x:b:Orvanta:Review Sorvane"; }
fault_no_program() {
    write_equip "[Equipment]" "Number=2" "1=3:a:Orvanta:Capture Sorvane" "2=4:b:Orvanta:Review Sorvane" \
        "[3]" "EquipDataPath=$CAPTURE_IMAGES" 'EquipProgPathFName=C:\SCANSUITE\bin\Enrolyx.exe' \
        "[4]" "EquipDataPath=$CAPTURE_REVIEW"
}
fault_programs_folder() {
    write_equip "[Equipment]" "Number=2" "1=3:a:Orvanta:Capture Sorvane" "2=4:b:Orvanta:Review Sorvane" \
        "[3]" "EquipDataPath=$HOST_PROGRAMS" "[4]" "EquipDataPath=$CAPTURE_REVIEW"
}
# A file held open by another program, not shared for writing.
HOLDING=""
hold() {  # host path
    : >"$1"
    rm -f "$WINE_TEST_DIR/stop"
    _wine_bg "$WINE_TEST_DIR/hold" 120 "$HOLDFILE" "$1" "$WINE_TEST_DIR/stop"
    for _ in $(seq 100); do grep -q held "$WINE_TEST_DIR/hold.out" 2>/dev/null && break; sleep 0.1; done
    HOLDING=1
}
release() {
    [ -n "$HOLDING" ] || return 0
    touch "$WINE_TEST_DIR/stop"
    _wine_bg_wait "$WINE_TEST_DIR/hold" 30
    HOLDING=""
}
fault_plugin_log_locked() { hold "$PLUGIN_DIR/Orvanta.log"; }
fault_no_driver() { sed -i 's/^\[SQL Server\]/[SQL Server 2000]/' "$E2E_STANDIN/odbcinst.ini"; }
fault_central_refuses() { e2e_tomocfg "SQL Server" CEN01 && e2e_server 'CEN01\SQLKOR' password=another; }
fault_policy_password() { check_site password=policy; }
fault_other_file() {
    check_site 'database PATIENT=C:\OldData\PATIENT.mdf' && e2e_db_create 'C:\OldData\PATIENT.mdf' WS01 SORV-OLD
}
fault_fallback_row() { e2e_sql "$E2E_LOCAL_MDF" "UPDATE SYSMACHINES SET SYS_NAME = NULL"; }
fault_no_machine_row() { e2e_sql "$E2E_LOCAL_MDF" "DELETE FROM SYSMACHINES"; }
fault_tool_log_locked() { hold "$(unixpath "$E2E_LOG")"; }
# Last two, as they change the registration in this build's registry view: the ProgID leading to another class,
# then the class's server file replaced by a copy whose header names the other architecture.
registry_default() {  # key below HKLM\Software\Classes, value
    wine_run_tool --bits "$WINE_BITS" "$(wine_system_exe reg.exe)" add "HKLM\\Software\\Classes\\$1" /ve /d "$2" \
        /f >/dev/null
}
fault_progid_elsewhere() { registry_default 'Orvanta.clsOrvanta\CLSID' '{00000000-0000-0000-0000-000000000001}'; }
fault_wrong_architecture() {
    local other=$WINE_TEST_DIR/other/Orvanta.dll pe machine='\x4c\x01'
    mkdir -p "${other%/*}" && cp "$PLUGIN_DIR/Orvanta.dll" "$other"
    [ "$WINE_BITS" = 64 ] || machine='\x64\x86'
    pe=$(od -An -t u4 -j 60 -N 4 "$other" | tr -d ' ')
    printf "$machine" | dd of="$other" bs=1 seek=$((pe + 4)) conv=notrunc status=none
    registry_default "CLSID\\$CLASS\\InprocServer32" "$(winpath "$other")"
}

FAULTS=(
    "no_praxo_mdb|FAIL|DataDir|holds the host's praxo.mdb"
    "key_case|WARN|Equipment entry 2|never matches"
    "key_twice|WARN|Equipment entry 3|only entry 2 counts"
    "no_review_entry|WARN|Review Sorvane: listed folder|Add the review entry Orvanta:Review Sorvane"
    "field0|FAIL|Equipment entry 2|type-mismatch"
    "no_program|FAIL|Capture Sorvane: registration program|File Not Found"
    "programs_folder|FAIL|Capture Sorvane: acquisition folder|to a folder of its own"
    "plugin_log_locked|FAIL|$VIEW: Orvanta.log|keeps its logs there"
    "no_driver|FAIL|ODBC driver|ODBC driver \"SQL Server\""
    "central_refuses|FAIL|Database server|central server"
    "policy_password|WARN|Database server|switches SAPWD"
    "other_file|WARN|Database file|re-attaches"
    "fallback_row|WARN|SYSMACHINES|with its own identifier"
    "no_machine_row|FAIL|SYSMACHINES|empty machine identifier"
    "tool_log_locked|FAIL|Log|records every run"
    "progid_elsewhere|FAIL|$VIEW: ProgID|Install the x$([ "$WINE_BITS" = 64 ] && echo 64 || echo 86) package again"
    "wrong_architecture|FAIL|$VIEW: server file|Register the $VIEW Orvanta.dll"
)

for row in "${FAULTS[@]}"; do
    IFS='|' read -r name state check advice <<<"$row"
    check_site
    "fault_$name" || fail "$name: cannot plant the fault"
    run_unchanged "$name"
    release
    check_eq "$([ "$state" = FAIL ] && echo 2 || echo 1)" "$CHECK_EXIT" "$name: exit code"
    line=$(text_rows | grep -F "|$check: " | grep -v '^OK|' | head -n 1)
    check_eq "$state" "${line%%|*}" "$name: the state of \"$check\""
    check_contains "$line" "$advice" "$name: the advice"
done
plugin_uninstall
remove_host_files
wine_finish
