#!/usr/bin/env bash
# Runs Windows programs of a build under Wine, headless, with a prefix and an X server of its own.
#
#   harness.sh start BUILD       boots a fresh prefix BUILD/wineprefix on its own Xvfb display
#   harness.sh stop BUILD        stops that prefix's wineserver and that Xvfb (by pid), nothing else
#   harness.sh env BUILD         prints the environment as export lines:  eval "$(harness.sh env build/win64)"
#   harness.sh exe BUILD [--name N] [--timeout S] [--cwd DIR] PROGRAM.exe ARGS...
#                                runs one Windows program through launch.exe; passes when it exits with 0
#   harness.sh script BUILD [--name N] [--timeout S] SCRIPT.sh ARGS...
#                                runs a bash scenario; the scenario sources "$ORVANTA_WINE_LIB" (lib.sh)
#   harness.sh run BUILD COMMAND ARGS...
#                                runs any command in the environment, starting (and afterwards
#                                stopping) a harness when none is running: the way to try things by hand
#
# BUILD is a Windows build folder, x64 or x86 (its harness.conf says which; ORVANTA_WINE_ARCH tells the
# scripts). Either way the prefix is a 64-bit one, run by the 64-bit loader; x86 programs run in it under
# WoW64, through Debian's 32-bit Wine. Without that, a 32-bit program exits 0 without running: start fails
# unless a probe reports that the build's own programs ran with its pointer size. Every program started
# through launch.exe reports the pointer size of its process: an exe test fails unless it ran with the
# build's, and a script fails when a program it started had another than it asked for (wine_run_tool --bits)
# or when none of its programs ran with the build's.
# A kernel without IA-32 emulation runs no 32-bit Wine at all: start fails for x86 builds there, saying so.
#
# Every Wine step is bounded by `timeout` (exe and script: S
# seconds, default 120), so that a window nobody answers fails the run instead of hanging it. Output of
# Windows programs goes through files, so that no Windows process left running holds the caller's pipes.
# ORVANTA_WINE_KEEP_PREFIX=1 reuses an existing prefix instead of booting a fresh one.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
die() {
    echo "harness: $*" >&2
    exit 1
}

[ $# -ge 2 ] || die "usage: harness.sh start|stop|env|exe|script|run BUILD ..."
COMMAND=$1
BUILD=$(cd "$2" 2>/dev/null && pwd) || die "no build folder $2"
shift 2

STATE_DIR=$BUILD/wine-harness
STATE=$STATE_DIR/state
PREFIX=$BUILD/wineprefix
CONF=$BUILD/tests/wine/harness.conf

LAUNCH_EXE=$BUILD/tools/launch/launch.exe
UIAUTO_EXE=$BUILD/tools/uiauto/uiauto.exe
SOURCE_DIR=$(cd "$HERE/../.." && pwd)
ARCH=x64
# shellcheck source=/dev/null
[ -f "$CONF" ] && . "$CONF"
case $ARCH in
    x64) BITS=64 ;;
    x86) BITS=32 ;;
    *) die "unknown architecture $ARCH in $CONF" ;;
esac

# Debian's `wine` starts the 32-bit loader first whenever wine32 is installed, and that loader cannot run
# where the kernel runs no 32-bit code: each build gets the loader of its own pointer size.
# The prefix itself is booted by the 64-bit one.
WINE64=wine
[ -x /usr/lib/wine/wine64 ] && WINE64=/usr/lib/wine/wine64
WINE=${ORVANTA_WINE:-}
if [ -z "$WINE" ]; then
    WINE=$WINE64
    if [ "$BITS" = 32 ]; then WINE=wine; fi
    if [ "$BITS" = 32 ] && [ -x /usr/lib/wine/wine ]; then WINE=/usr/lib/wine/wine; fi
fi

load_tools() {
    [ -f "$LAUNCH_EXE" ] || die "launch.exe not built ($LAUNCH_EXE)"
    [ -f "$UIAUTO_EXE" ] || die "uiauto.exe not built ($UIAUTO_EXE)"
}

# The environment of every Wine step; the state file holds the same for later calls.
wine_environment() {
    export WINEPREFIX=$PREFIX
    export DISPLAY=:$XVFB_DISPLAY
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINEARCH=win64
    unset WAYLAND_DISPLAY
    if [ -z "${HOME:-}" ] || [ ! -d "${HOME:-}" ]; then
        export HOME=$STATE_DIR/home
        mkdir -p "$HOME"
    fi
    export ORVANTA_BUILD_DIR=$BUILD ORVANTA_SOURCE_DIR=$SOURCE_DIR
    export ORVANTA_LAUNCH_EXE=$LAUNCH_EXE ORVANTA_UIAUTO_EXE=$UIAUTO_EXE
    export ORVANTA_WINE=$WINE ORVANTA_WINE_LIB=$HERE/lib.sh ORVANTA_WINE_STATE_DIR=$STATE_DIR
    export ORVANTA_WINE_ARCH=$ARCH
}

write_state() {
    {
        echo "XVFB_DISPLAY=$XVFB_DISPLAY"
        echo "XVFB_PID=$XVFB_PID"
    } >"$STATE.new"
    mv "$STATE.new" "$STATE"
}

running() {
    [ -f "$STATE" ] || return 1
    # shellcheck source=/dev/null
    . "$STATE"
    [ -n "${XVFB_PID:-}" ] && is_our_xvfb "$XVFB_PID" "$XVFB_DISPLAY"
}

is_our_xvfb() {  # pid, display
    [ -r "/proc/$1/cmdline" ] || return 1
    tr '\0' ' ' <"/proc/$1/cmdline" | grep -q "^Xvfb :$2 "
}

start_xvfb() {
    command -v Xvfb >/dev/null || die "Xvfb is not installed"
    local n pid
    for n in $(seq 90 199); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset </dev/null >"$STATE_DIR/xvfb.log" 2>&1 &
        pid=$!
        # Xvfb writes its pid into the lock file: another pid there means the display was taken meanwhile.
        for _ in $(seq 100); do
            kill -0 "$pid" 2>/dev/null || break
            if [ -S "/tmp/.X11-unix/X$n" ] && [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$pid" ]; then
                XVFB_DISPLAY=$n
                XVFB_PID=$pid
                return 0
            fi
            sleep 0.1
        done
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    die "no free X display in :90..:199 ($(tail -n 3 "$STATE_DIR/xvfb.log" 2>/dev/null))"
}

stop_harness() {
    if [ -f "$STATE" ]; then
        # shellcheck source=/dev/null
        . "$STATE"
        if [ -d "$PREFIX" ]; then
            WINEPREFIX=$PREFIX timeout 30 wineserver -k >/dev/null 2>&1 || true
            WINEPREFIX=$PREFIX timeout 30 wineserver -w >/dev/null 2>&1 || true
        fi
        if [ -n "${XVFB_PID:-}" ] && is_our_xvfb "$XVFB_PID" "$XVFB_DISPLAY"; then
            kill "$XVFB_PID" 2>/dev/null || true
            for _ in $(seq 50); do
                is_our_xvfb "$XVFB_PID" "$XVFB_DISPLAY" || break
                sleep 0.1
            done
            is_our_xvfb "$XVFB_PID" "$XVFB_DISPLAY" && kill -9 "$XVFB_PID" 2>/dev/null
        fi
        rm -f "$STATE"
    elif [ -d "$PREFIX" ]; then
        WINEPREFIX=$PREFIX timeout 30 wineserver -k >/dev/null 2>&1 || true
    fi
    return 0
}

cmd_start() {
    load_tools
    mkdir -p "$STATE_DIR"
    stop_harness
    if [ "${ORVANTA_WINE_KEEP_PREFIX:-0}" != 1 ]; then rm -rf "$PREFIX"; fi
    rm -rf "$STATE_DIR/tests"
    start_xvfb
    write_state
    wine_environment
    local log=$STATE_DIR/wineboot.log
    : >"$log"
    echo "harness: prefix $PREFIX, display $DISPLAY (Xvfb pid $XVFB_PID)"
    mkdir -p "$PREFIX"
    # A persistent server: later Wine steps start without booting anything.
    timeout 30 wineserver -p </dev/null >>"$log" 2>&1 || { stop_harness; die "wineserver does not start"; }
    if ! timeout 240 "$WINE64" wineboot -i </dev/null >>"$log" 2>&1; then
        cat "$log" >&2
        stop_harness
        die "wineboot failed"
    fi
    timeout 60 "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        </dev/null >>"$log" 2>&1 || { cat "$log" >&2; stop_harness; die "cannot switch off the crash dialog"; }
    # Without a window manager Wine waits about 2 s whenever a framed window closes, unless it draws the
    # frames itself.
    timeout 60 "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        </dev/null >>"$log" 2>&1 || { cat "$log" >&2; stop_harness; die "cannot set the X11 driver unmanaged"; }
    probe_architecture "$log" || { stop_harness; return 1; }
    echo "harness: ready ($ARCH)"
}

# The build's own launch.exe starts its uiauto.exe: both must report the build's pointer size. A 32-bit program
# under a Wine without its 32-bit half exits 0 without running, so it reports nothing.
probe_architecture() {  # log
    local probe=$STATE_DIR/probe
    rm -f "$probe.arch" "$probe.code"
    timeout 60 "$WINE" "$LAUNCH_EXE" --arch-file "$probe.arch" --exit-code-file "$probe.code" -- "$UIAUTO_EXE" list \
        </dev/null >>"$1" 2>&1 || true
    local report
    report=$(tr -d '\r\n' <"$probe.arch" 2>/dev/null || true)
    if [ "$report" != "launch=$BITS program=$BITS" ]; then
        cat "$1" >&2
        if [ "$BITS" = 32 ] && [ -z "$report" ]; then
            if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
                echo "harness: 32-bit Windows programs do not run: Debian's 32-bit Wine is missing" \
                    "(./dev setup installs wine32:i386) or this kernel runs no 32-bit code (IA-32 emulation off)" >&2
            else
                echo "harness: 32-bit Windows programs do not run in this prefix" >&2
            fi
        else
            echo "harness: the $ARCH programs of $BUILD report [${report:-nothing}], not launch=$BITS program=$BITS" >&2
        fi
        return 1
    fi
    if [ "$BITS" = 32 ] && [ ! -f "$PREFIX/drive_c/windows/syswow64/regsvr32.exe" ]; then
        echo "harness: the prefix has no 32-bit system folder (syswow64)" >&2
        return 1
    fi
}

# A script's record of the programs it ran (lines "PROGRAM_BITS EXPECTED_BITS COMMAND", written by lib.sh):
# none may have run with a pointer size other than it expected, and one at least with the build's.
check_architectures() {  # record file
    if [ ! -s "$1" ]; then
        echo "harness: the test ran no Windows program through launch.exe: nothing shows that it ran as $ARCH" >&2
        return 1
    fi
    local wrong
    wrong=$(awk '$1 != $2' "$1")
    if [ -n "$wrong" ]; then
        echo "harness: programs ran with another pointer size than expected (bits, expected, program):" >&2
        echo "$wrong" >&2
        return 1
    fi
    if ! awk -v bits="$BITS" '$1 == bits { found = 1 } END { exit !found }' "$1"; then
        echo "harness: no program of the test ran as a $BITS-bit process" >&2
        return 1
    fi
}

require_running() {
    running || die "no harness running for $BUILD (start it: tests/wine/harness.sh start $BUILD)"
    load_tools
    wine_environment
}

# Per-test scratch folder, emptied first.
test_dir() {  # name
    local dir=$STATE_DIR/tests/$1
    rm -rf "$dir"
    mkdir -p "$dir"
    echo "$dir"
}

# Fails the test when it left visible windows behind: they would answer for the next test.
check_no_windows_left() {
    local left
    left=$(timeout 30 "$WINE" "$UIAUTO_EXE" list </dev/null 2>/dev/null | tr -d '\r' || true)
    if [ -n "$left" ]; then
        echo "harness: windows left open after the test:" >&2
        echo "$left" >&2
        return 1
    fi
}

cmd_exe() {
    require_running
    local name="" seconds=120 cwd=""
    while [ $# -gt 0 ]; do
        case $1 in
            --name) name=$2; shift 2 ;;
            --timeout) seconds=$2; shift 2 ;;
            --cwd) cwd=$2; shift 2 ;;
            *) break ;;
        esac
    done
    [ $# -ge 1 ] || die "exe: no program"
    local program=$1
    shift
    [ -n "$name" ] || name=$(basename "$program" .exe)
    [ -n "$cwd" ] || cwd=$(dirname "$program")
    local dir rc=0
    dir=$(test_dir "$name")
    (cd "$dir" && timeout -k 5 "$((seconds + 10))" "$WINE" "$LAUNCH_EXE" --timeout-ms "$((seconds * 1000))" \
        --exit-code-file "$dir/exit-code" --arch-file "$dir/arch" --cwd "$cwd" -- "$program" "$@" \
        </dev/null >"$dir/stdout" 2>"$dir/stderr") || rc=$?
    tr -d '\r' <"$dir/stdout" | sed '$d'
    tr -d '\r' <"$dir/stderr" >&2
    if [ ! -s "$dir/exit-code" ]; then
        echo "harness: $program gave no exit code (launch ended with $rc)" >&2
        return 1
    fi
    local code
    code=$(tr -d '\r\n' <"$dir/exit-code")
    local arch
    arch=$(tr -d '\r\n' <"$dir/arch" 2>/dev/null || true)
    if [ "$arch" != "launch=$BITS program=$BITS" ]; then
        echo "harness: $program did not run as a $BITS-bit process (launch reports [${arch:-nothing}])" >&2
        return 1
    fi
    echo "harness: ran as a $BITS-bit process ($ARCH)"
    check_no_windows_left || return 1
    [ "$code" = 0 ] || { echo "harness: $program exited with $code" >&2; return 1; }
}

cmd_script() {
    require_running
    local name="" seconds=120
    while [ $# -gt 0 ]; do
        case $1 in
            --name) name=$2; shift 2 ;;
            --timeout) seconds=$2; shift 2 ;;
            *) break ;;
        esac
    done
    [ $# -ge 1 ] || die "script: no script"
    local script=$1
    shift
    [ -n "$name" ] || name=$(basename "$script" .sh)
    local dir rc=0
    dir=$(test_dir "$name")
    export ORVANTA_WINE_TEST_DIR=$dir ORVANTA_WINE_STEP_TIMEOUT=${ORVANTA_WINE_STEP_TIMEOUT:-30}
    (cd "$dir" && timeout -k 5 "$seconds" bash "$script" "$@" </dev/null >"$dir/output" 2>&1) || rc=$?
    cat "$dir/output"
    [ "$rc" -ne 124 ] || echo "harness: $script did not finish within $seconds s" >&2
    if check_architectures "$dir/architectures"; then
        echo "harness: every program ran with the pointer size expected, $BITS-bit ones among them ($ARCH)"
    else
        rc=1
    fi
    check_no_windows_left || rc=1
    return "$rc"
}

cmd_env() {
    require_running
    local v
    for v in WINEPREFIX DISPLAY WINEDEBUG WINEDLLOVERRIDES WINEARCH HOME ORVANTA_BUILD_DIR ORVANTA_SOURCE_DIR \
        ORVANTA_LAUNCH_EXE ORVANTA_UIAUTO_EXE ORVANTA_WINE ORVANTA_WINE_LIB ORVANTA_WINE_STATE_DIR ORVANTA_WINE_ARCH; do
        printf 'export %s=%q\n' "$v" "${!v}"
    done
    printf 'export ORVANTA_WINE_TEST_DIR=%q\n' "$STATE_DIR/tests/manual"
    mkdir -p "$STATE_DIR/tests/manual"
}

cmd_run() {
    [ $# -ge 1 ] || die "run: no command"
    local started=0 rc=0
    if ! running; then
        "$0" start "$BUILD" || return 1
        started=1
    fi
    require_running
    export ORVANTA_WINE_TEST_DIR=$STATE_DIR/tests/manual ORVANTA_WINE_STEP_TIMEOUT=${ORVANTA_WINE_STEP_TIMEOUT:-30}
    mkdir -p "$ORVANTA_WINE_TEST_DIR"
    "$@" || rc=$?
    [ "$started" = 0 ] || "$0" stop "$BUILD"
    return "$rc"
}

case $COMMAND in
    start) cmd_start ;;
    stop) stop_harness ;;
    env) cmd_env ;;
    exe) cmd_exe "$@" ;;
    script) cmd_script "$@" ;;
    run) cmd_run "$@" ;;
    *) die "unknown command $COMMAND" ;;
esac
