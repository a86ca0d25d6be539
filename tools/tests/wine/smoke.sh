#!/usr/bin/env bash
# The test tools end to end: message boxes answered by uiauto, full exit codes reported by launch.
# Argument: the smoke_box program.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
smoke=$1

# An OK box: text and title read back, -40 reported in full (the host sees only its low byte, 216).
answer_box "Error" OK
code=$(wine_run_tool "$smoke" "Invalid parameters" "Error") || fail "no exit code from smoke_box"
check_eq -40 "$code" "exit code through launch"
check_eq "Invalid parameters" "$(await_box "Error")" "text of the box"
check_eq "answer=Ok" "$(cat "$WINE_TOOL_OUT")" "answer the program got"

# Yes/No answered by caption with and without "&"; quotes, a percent sign and blanks pass unchanged.
text='Fail to connect database on server "CEN 01", do you want 100% %s?'
for answer in No "&Yes"; do
    answer_box "Database connection error" "$answer"
    code=$(wine_run_tool "$smoke" "$text" "Database connection error" yesno) || fail "no exit code"
    check_eq -40 "$code" "exit code after $answer"
    check_eq "$text" "$(await_box "Database connection error")" "text of the Yes/No box"
    check_eq "answer=${answer#&}" "$(cat "$WINE_TOOL_OUT")" "answer $answer"
done

# Cancel of an OK/Cancel box; the watcher for a box that never comes stays quiet.
answer_box "Never shown" OK 20
answer_box "Question" Cancel
code=$(wine_run_tool "$smoke" "Go on?" "Question" okcancel) || fail "no exit code"
check_eq "Go on?" "$(await_box "Question")" "text of the OK/Cancel box"
check_eq "answer=Cancel" "$(cat "$WINE_TOOL_OUT")" "answer Cancel"
check_that "no box that was not shown" no_box "Never shown"

# A box in a background program, watched, read and answered step by step.
wine_spawn_tool "$smoke" "Place files" "Waiting for Technician"
check_eq "Place files" "$(wait_box "Waiting for Technician")" "box seen without answering"
check_eq "Place files" "$(uiauto wait-box --title "Waiting for Technician" --timeout-ms 2000)" "box still open"
click_box "Waiting for Technician" OK >/dev/null || fail "cannot answer the box"
check_eq -40 "$(wine_wait_tool)" "exit code of the background program"

# The exact command line: quoting decided by the caller, not by Wine.
answer_box "Raw" OK
code=$(wine_run_tool --command-line "\"$(winpath "$smoke")\" \"a \\\"quoted\\\" word\" Raw") || fail "no exit code"
check_eq -40 "$code" "exit code with an exact command line"
check_eq 'a "quoted" word' "$(await_box "Raw")" "arguments split by the Windows rules"

# A box nobody answers: the program is ended after the timeout, no exit code, the box is gone.
if code=$(wine_run_tool --timeout 3 "$smoke" "Nobody answers" "Unanswered" 2>/dev/null); then
    fail "an unanswered box gave exit code $code"
else
    check_eq "" "$(uiauto list | grep Unanswered)" "unanswered box closed with its program"
fi

# Paths of the prefix, as Windows sees them.
check_eq "$WINEPREFIX/drive_c/windows/system32" "$(unixpath 'C:\WINDOWS\System32')" "unixpath matches case"
check_eq 'Z:\tmp\a b' "$(winpath '/tmp/a b')" "winpath"

wine_finish
