#!/usr/bin/env bash
# The steps of the demo, run by demo.sh under the harness. Argument: the x64 build folder.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
BUILD=$1

# Runs a program whose message box (if any) is answered with BUTTON, and tells what happened.
show_step() {  # description, box title, button, program, args...
    local what=$1 title=$2 button=$3
    shift 3
    echo
    echo "== $what"
    echo "   command: $(winpath "$1")${2:+ $(printf '"%s" ' "${@:2}")}"
    answer_box "$title" "$button"
    local code
    if code=$(wine_run_tool "$@"); then
        echo "   exit code: $code"
    else
        echo "   no exit code: the program did not end"
    fi
    local text
    if text=$(seen_box "$title"); then
        echo "   message box \"$title\": $text  -> answered $button"
    else
        echo "   no message box \"$title\""
    fi
    [ ! -s "$WINE_TOOL_OUT" ] || sed 's/^/   output: /' "$WINE_TOOL_OUT"
}

show_step "Test tools: a program that shows a box and exits with -40" \
    "Error" OK "$BUILD/tests/wine/smoke_box.exe" "Invalid parameters" "Error"
