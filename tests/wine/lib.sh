# Helpers for Wine scenario scripts. A scenario runs under the harness (CTest through
# orvanta_add_wine_test(... SCRIPT ...), or by hand: tests/wine/harness.sh run BUILD bash SCRIPT) and starts:
#
#   #!/usr/bin/env bash
#   set -uo pipefail
#   source "$ORVANTA_WINE_LIB"
#
# Architecture: every test runs once per Windows build tree, x64 and x86, each in a 64-bit prefix of its own
# (x86 programs under WoW64). Write a scenario once, for "the build's architecture":
#   WINE_ARCH                 x64 or x86 (from ORVANTA_WINE_ARCH, set by the harness); WINE_BITS 64 or 32
#   WINE_REGSVR32 WINE_CSCRIPT WINE_REG
#                             the build's system programs, as Windows paths: for x86 those of
#                             C:\windows\syswow64, which register under Wow6432Node and load 32-bit servers
#   wine_system_exe NAME [BITS]
#                             the Windows path of another system program, of the build's pointer size or BITS
# Every program run through wine_run_tool is recorded with the pointer size its process had; the harness fails
# the test when one had another than expected (--bits, default WINE_BITS) or when none ran with WINE_BITS.
#
# Programs:
#   wine_run_tool [--cwd DIR] [--timeout S] [--bits B] [--command-line TEXT] [PROGRAM ARGS...]
#       Runs a Windows program through launch.exe and waits for it. Prints its full exit code (signed
#       decimal) and returns 0; returns 1 with the reason on stderr when no exit code came (the program
#       could not start, or was still running after S seconds and was terminated). DIR is its working
#       folder (host or Windows path; default: the test folder). PROGRAM may be a host path; ARGS reach it
#       as separate arguments. --command-line gives the program's whole command line instead, exactly.
#       Its standard output and error land in "$WINE_TOOL_OUT" and "$WINE_TOOL_ERR". --bits 64 or 32 says that
#       the program is meant to run with that pointer size rather than the build's.
#   wine_spawn_tool ...same arguments...    starts it in the background (the last one started is waited for)
#   wine_wait_tool                          waits for it; prints and returns like wine_run_tool
#
# Message boxes (TITLE is the exact caption, which may be empty; BUTTON the caption of a button: OK, Cancel, Yes, No):
#   answer_box TITLE BUTTON [S]   watches in the background for a box TITLE and answers it with BUTTON
#   await_box TITLE               waits for that watcher; prints the box's text; returns 1 when no box came
#   seen_box TITLE                once the program has ended: ends that watcher; prints the text and
#                                 returns 0 when a box was shown, returns 1 when none came
#   no_box TITLE                  the opposite check: returns 1 (text on stderr) when a box was shown
#   wait_box TITLE [S]            waits for a box and prints its text, without answering it
#   click_box TITLE BUTTON [S]    waits for a box, prints its text and answers it
#   uiauto ARGS...                the window helper itself (list, dump, click, close, wait-window, ...)
#
# Paths:
#   winpath PATH          the Windows path of a host path (via drive Z:); a Windows path stays as it is
#   unixpath WINPATH      the host path of a Windows path ("C:\..." lies in the prefix), matching the case
#                         of what exists already, as Windows would
#
# Checks: those of checks.sh (check_eq, check_contains, check_that, check_file_contains, fail, wine_finish).
#
# Timeouts are in seconds; the default per step is $ORVANTA_WINE_STEP_TIMEOUT (30). The test folder is
# "$WINE_TEST_DIR", empty at the start of every test. Background helpers still running when the script
# ends are stopped.

if [ -z "${ORVANTA_LAUNCH_EXE:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
    echo "lib.sh: run this under tests/wine/harness.sh (script or run)" >&2
    exit 1
fi
# shellcheck source=checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

WINE_ARCH=${ORVANTA_WINE_ARCH:-x64}
case $WINE_ARCH in
    x64) WINE_BITS=64 ;;
    x86) WINE_BITS=32 ;;
    *) echo "lib.sh: unknown architecture $WINE_ARCH" >&2; exit 1 ;;
esac

# Programs of the build's launch.exe see C:\windows\system32 as the system folder of their own pointer size:
# a 32-bit one reaches the 64-bit folder as sysnative, a 64-bit one the 32-bit folder as syswow64.
wine_system_exe() {  # name, [bits]
    local bits=${2:-$WINE_BITS} folder=system32
    if [ "$bits" = 32 ]; then
        folder=syswow64
    elif [ "$WINE_BITS" = 32 ]; then
        folder=sysnative
    fi
    printf 'C:\\windows\\%s\\%s\n' "$folder" "$1"
}
WINE_REGSVR32=$(wine_system_exe regsvr32.exe)
WINE_CSCRIPT=$(wine_system_exe cscript.exe)
WINE_REG=$(wine_system_exe reg.exe)

WINE_TEST_DIR=${ORVANTA_WINE_TEST_DIR:-$PWD}
WINE_STEP_TIMEOUT=${ORVANTA_WINE_STEP_TIMEOUT:-30}
WINE_TOOL_OUT=$WINE_TEST_DIR/tool.out
WINE_TOOL_ERR=$WINE_TEST_DIR/tool.err
mkdir -p "$WINE_TEST_DIR"

_wine_seq=0
_wine_tool_files=""
_wine_tool_seconds=0
_wine_tool_bits=$WINE_BITS
_wine_tool_name=""
declare -A _wine_box_file=()
declare -A _wine_box_seconds=()

winpath() {
    case $1 in
        /*) local p=${1//\//\\}; printf 'Z:%s\n' "$p" ;;
        *) printf '%s\n' "$1" ;;
    esac
}

unixpath() {
    local path=${1//\\//} drive rest dir part entry name
    case $path in
        [A-Za-z]:*) drive=${path:0:1}; rest=${path:2} ;;
        *) echo "unixpath: not a Windows path: $1" >&2; return 1 ;;
    esac
    dir=$(cd "$WINEPREFIX/dosdevices/${drive,,}:" 2>/dev/null && pwd -P) || {
        echo "unixpath: no drive ${drive^^}: in the prefix" >&2
        return 1
    }
    local IFS=/
    for part in $rest; do
        [ -n "$part" ] || continue
        if [ ! -e "$dir/$part" ] && [ -d "$dir" ]; then
            for entry in "$dir"/* "$dir"/.[!.]*; do
                name=${entry##*/}
                if [ -e "$entry" ] && [ "${name,,}" = "${part,,}" ]; then
                    part=$name
                    break
                fi
            done
        fi
        dir=$dir/$part
    done
    printf '%s\n' "$dir"
}

_wine() {  # seconds, exe, args...: one bounded Wine step
    local seconds=$1
    shift
    timeout -k 5 "$seconds" "$ORVANTA_WINE" "$@" </dev/null
}

# A bounded Wine step in the background. FILES.out, .err take its output, FILES.pid names the
# `timeout` process (a kill reaches the Windows program through it), FILES.rc appears when it has ended.
# Waiting polls FILES.rc, so it works from any subshell, $(...) included.
_wine_bg() {  # files, seconds, exe, args...
    local files=$1 seconds=$2
    shift 2
    rm -f "$files".*
    (
        timeout -k 5 "$seconds" "$ORVANTA_WINE" "$@" </dev/null >"$files.out" 2>"$files.err" &
        echo $! >"$files.pid"
        rc=0
        wait $! || rc=$?
        echo "$rc" >"$files.rc.new"
        mv "$files.rc.new" "$files.rc"
    ) &
    local _
    for _ in $(seq 100); do
        [ -f "$files.pid" ] && return 0
        sleep 0.05
    done
}

_wine_bg_wait() {  # files, seconds: returns the step's status
    local deadline=$((SECONDS + $2 + 30))
    while [ ! -f "$1.rc" ]; do
        [ "$SECONDS" -lt "$deadline" ] || return 124
        sleep 0.1
    done
    return "$(cat "$1.rc")"
}

_wine_bg_kill() {  # files
    [ -f "$1.pid" ] && [ ! -f "$1.rc" ] && kill "$(cat "$1.pid")" 2>/dev/null
    return 0
}

uiauto() { _wine "$((WINE_STEP_TIMEOUT + 10))" "$ORVANTA_UIAUTO_EXE" "$@" | tr -d '\r'; }

wine_spawn_tool() {
    local cwd=$WINE_TEST_DIR seconds=$WINE_STEP_TIMEOUT bits=$WINE_BITS launch_args=()
    while [ $# -gt 0 ]; do
        case $1 in
            --cwd) cwd=$2; shift 2 ;;
            --timeout) seconds=$2; shift 2 ;;
            --bits) bits=$2; shift 2 ;;
            --command-line) launch_args+=(--command-line "$2"); shift 2 ;;
            *) break ;;
        esac
    done
    if [ ${#launch_args[@]} -eq 0 ]; then
        [ $# -ge 1 ] || { echo "wine_spawn_tool: no program" >&2; return 1; }
        launch_args=(-- "$(winpath "$1")" "${@:2}")
    fi
    _wine_seq=$((_wine_seq + 1))
    _wine_tool_files=$WINE_TEST_DIR/tool.$_wine_seq
    _wine_tool_seconds=$seconds
    _wine_tool_bits=$bits
    _wine_tool_name=${launch_args[1]}
    _wine_bg "$_wine_tool_files" "$((seconds + 10))" "$ORVANTA_LAUNCH_EXE" --timeout-ms "$((seconds * 1000))" \
        --cwd "$cwd" --exit-code-file "$_wine_tool_files.code" --arch-file "$_wine_tool_files.arch" "${launch_args[@]}"
}

wine_wait_tool() {
    [ -n "$_wine_tool_files" ] || { echo "wine_wait_tool: no program started" >&2; return 1; }
    local rc=0
    _wine_bg_wait "$_wine_tool_files" "$_wine_tool_seconds" || rc=$?
    # The launcher's last line is the exit code; the program's own output precedes it.
    tr -d '\r' <"$_wine_tool_files.out" | sed '$d' >"$WINE_TOOL_OUT"
    tr -d '\r' <"$_wine_tool_files.err" >"$WINE_TOOL_ERR"
    _wine_record_bits
    if [ ! -s "$_wine_tool_files.code" ]; then
        echo "wine_run_tool: no exit code (launch ended with $rc)" >&2
        cat "$WINE_TOOL_ERR" >&2
        return 1
    fi
    tr -d '\r\n' <"$_wine_tool_files.code"
    echo
}

# Appends "PROGRAM_BITS EXPECTED_BITS PROGRAM" to the test's record, which the harness checks.
_wine_record_bits() {
    [ -s "$_wine_tool_files.arch" ] || return 0
    local report bits
    report=$(tr -d '\r\n' <"$_wine_tool_files.arch")
    bits=${report##*program=}
    printf '%s %s %s\n' "$bits" "$_wine_tool_bits" "$_wine_tool_name" >>"$WINE_TEST_DIR/architectures"
    [ "$bits" = "$_wine_tool_bits" ] ||
        echo "FAIL: $_wine_tool_name ran as a $bits-bit process, not $_wine_tool_bits-bit" >&2
}

wine_run_tool() {
    wine_spawn_tool "$@" || return 1
    wine_wait_tool
}

answer_box() {  # title, button, [seconds]
    local title=$1 button=$2 seconds=${3:-$WINE_STEP_TIMEOUT}
    _wine_seq=$((_wine_seq + 1))
    local files=$WINE_TEST_DIR/box.$_wine_seq
    _wine_box_file["box:$title"]=$files
    _wine_box_seconds["box:$title"]=$seconds
    _wine_bg "$files" "$((seconds + 10))" "$ORVANTA_UIAUTO_EXE" wait-box --title "$title" --click "$button" \
        --timeout-ms "$((seconds * 1000))" --text-out "$files.text"
}

await_box() {  # title
    local title=$1 rc=0
    local files=${_wine_box_file["box:$title"]:-}
    [ -n "$files" ] || { echo "await_box: not watching for \"$title\"" >&2; return 1; }
    _wine_bg_wait "$files" "${_wine_box_seconds["box:$title"]}" || rc=$?
    if [ "$rc" -ne 0 ]; then
        tr -d '\r' <"$files.err" >&2
        [ -s "$files.err" ] || echo "await_box: no box \"$title\" answered" >&2
        return 1
    fi
    cat "$files.text"
    echo
}

seen_box() {  # title
    local title=$1
    local files=${_wine_box_file["box:$title"]:-}
    [ -n "$files" ] || { echo "seen_box: not watching for \"$title\"" >&2; return 1; }
    _wine_bg_kill "$files"
    _wine_bg_wait "$files" 10 || true
    [ -f "$files.text" ] || return 1
    cat "$files.text"
    echo
}

no_box() {  # title
    local text
    if text=$(seen_box "$1"); then
        echo "no_box: a box \"$1\" was shown: $text" >&2
        return 1
    fi
    return 0
}

wait_box() {  # title, [seconds]
    local seconds=${2:-$WINE_STEP_TIMEOUT}
    _wine "$((seconds + 10))" "$ORVANTA_UIAUTO_EXE" wait-box --title "$1" --timeout-ms "$((seconds * 1000))" |
        tr -d '\r'
}

click_box() {  # title, button, [seconds]
    local seconds=${3:-$WINE_STEP_TIMEOUT}
    _wine "$((seconds + 10))" "$ORVANTA_UIAUTO_EXE" wait-box --title "$1" --click "$2" \
        --timeout-ms "$((seconds * 1000))" | tr -d '\r'
}

_wine_cleanup() {
    local pid
    for pid in "$WINE_TEST_DIR"/*.pid; do
        [ -f "$pid" ] && _wine_bg_kill "${pid%.pid}"
    done
    wait 2>/dev/null || true
}
trap _wine_cleanup EXIT
