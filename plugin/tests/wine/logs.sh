#!/usr/bin/env bash
# The plug-in's text files and its error report, as the host's calls leave them: the exam-data log, the plug-in
# log, the error box and the error file. Argument: Orvanta.dll.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$(dirname "$0")/plugin_lib.sh"

stamp='[0-9][0-9]-[0-9][0-9]-[0-9][0-9][0-9][0-9]  [0-9]{1,2}:[0-9][0-9]:[0-9][0-9]( [AP]M)?'
today() { date +%m-%d-%Y; }

# Each line of a file against one extended regular expression each; the number of lines must agree.
check_lines() {  # file, what, patterns...
    # The files are ANSI, not UTF-8: match them byte by byte.
    local LC_ALL=C
    local file=$1 what=$2
    shift 2
    local lines=()
    mapfile -t lines < <(plugin_file "$file")
    check_eq "$#" "${#lines[@]}" "$what: number of lines"
    local i=0 pattern
    for pattern in "$@"; do
        check_that "$what: line $((i + 1)) [${lines[$i]:-}] matches [$pattern]" matches "${lines[$i]:-}" "^$pattern$"
        i=$((i + 1))
    done
}

# A regular expression that matches text literally.
literal() { printf '%s' "$1" | sed 's/[][\.*^$+?(){}|/]/\\&/g'; }

remove_host_files
host_praxo
plugin_install "$1" || wine_finish

# The switch off: no file at all.
run_cscript writelog.vbs False "not written"
check_eq missing "$(plugin_file KW_Orvanta.log)" "WriteToLog with the switch off creates no file"

# The switch on: each record is an empty line, the timestamp with the text, and an empty line; ANSI text.
before=$(today)
run_cscript writelog.vbs True " first" "second é"
after=$(today)
check_lines KW_Orvanta.log "exam-data log" "" "$stamp first" "" "" "${stamp}second .*" ""
day=$(plugin_file KW_Orvanta.log | sed -n 2p | cut -c1-10)
check_that "date of the record [$day] is today [$after]" matches "$day" "^($before|$after)$"
check_eq 1 "$(LC_ALL=C grep -c $'second \xe9\r$' "$PLUGIN_DIR/KW_Orvanta.log")" "text in the ANSI code page, CRLF"
check_eq 0 "$(grep -c -v $'\r$' "$PLUGIN_DIR/KW_Orvanta.log")" "every line ends with CRLF"
check_eq missing "$(plugin_file Orvanta.log)" "WriteToLog leaves the plug-in log alone"

# A log that cannot be opened: WriteToLog reports it in the error box and the error file, and returns.
rm -f "$PLUGIN_DIR/KW_Orvanta.log"
mkdir "$PLUGIN_DIR/KW_Orvanta.log"
answer_box "$ERROR_TITLE" OK
run_cscript writelog.vbs True "blocked"
box=$(await_box "$ERROR_TITLE" | tr -d '\r') || fail "no error box from WriteToLog"
check_contains "$box" "PXE_Orvanta IF Error Num=" "box text starts with the error number"
box_pattern='^PXE_Orvanta IF Error Num=([0-9]+)  (.+)\.'$'\n''WriteToLog$'
if check_that "WriteToLog box [$box]" matches "$box" "$box_pattern"; then
    number=${BASH_REMATCH[1]}
    description=$(literal "${BASH_REMATCH[2]}")
    check_lines PX_IF_Orvanta.err "error file after WriteToLog" "" "$stamp Error in: WriteToLog" \
        "      Error Num=$number  $description"
fi
rmdir "$PLUGIN_DIR/KW_Orvanta.log"
rm -f "$PLUGIN_DIR/PX_IF_Orvanta.err"

# Three trapped errors in DoDeviceFunction: three boxes, six lines in the plug-in log, nine in the error file.
write_equip "[Equipment]" "Number=40000"
spawn_cscript trapped.vbs 3
boxes=()
for i in 1 2 3; do
    boxes+=("$(click_box "$ERROR_TITLE" OK | tr -d '\r')") || fail "error box $i not shown"
done
wait_cscript
reported=$(grep '^error: ' "$WINE_TOOL_OUT" | tr -d '\r')
number=${reported#error: }
number=${number%%|*}
description=${reported#*|}
check_that "ReviewDevice raised a numbered error with a description [$reported]" \
    matches "$reported" '^error: [0-9]+\|.'
context=" DoDeviceFunction, Err Number: $number Err Description: $description"
for i in 0 1 2; do
    check_eq "PXE_Orvanta IF Error Num=$number  $description."$'\n'"$context" "${boxes[$i]:-}" "box $((i + 1))"
done
c=$(literal "$context")
check_lines Orvanta.log "plug-in log" "" "$stamp$c" "" "$stamp$c" "" "$stamp$c"
e="      Error Num=$number  $(literal "$description")"
check_lines PX_IF_Orvanta.err "error file" "" "$stamp Error in: $c" "$e" "" "$stamp Error in: $c" "$e" \
    "" "$stamp Error in: $c" "$e"

plugin_uninstall
remove_host_files
wine_finish
