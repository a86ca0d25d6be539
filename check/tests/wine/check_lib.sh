# OrvantaCheck.exe on the demo's site under Wine. Sourced after lib.sh, enrolix/tests/wine/site.sh (e2e_init done), the
# plug-in's plugin_lib.sh and plugin/tests/wine/capture_through_enrolix_lib.sh.
#
#   check_init CHECK_EXE DLL     once: what to run; the plug-in is registered as the capture's site has it
#   check_install CHECK_EXE      OrvantaCheck.exe beside Enrolix.exe, and the host programs folder that the
#                                site's praxo32.ini names
#   check_site [SERVER KEYS...]  the demo's site afresh: the local SQL Server site (its server's keys added), the
#                                host files, the plug-in's folder without logs, check_install
#   check_run [ARGS...]          runs it there; CHECK_EXIT holds the exit code, CHECK_OUT its console text
#   check_snapshot               the site as files and rows: every file and folder of C:\SCANSUITE, C:\Orvanta,
#                                C:\Capture and C:\Host with size, mode, time and checksum, the host's two INI
#                                files and the plug-in's folder (the databases are files of C:\SCANSUITE)

CHECK_EXE=""
CHECK_EXIT=""
CHECK_OUT=""

check_init() {  # OrvantaCheck.exe, Orvanta.dll
    CHECK_EXE=$1
    capture_site "$2" || return 1
}

check_install() {  # OrvantaCheck.exe
    CHECK_EXE=$1
    mkdir -p "$(unixpath "$HOST_PROGRAMS")"
    cp "$CHECK_EXE" "$(unixpath "$E2E_BIN")/OrvantaCheck.exe"
}

check_site() {  # [server keys...]
    e2e_local_sql_site WS01 "$@"
    capture_host_files
    rm -f "$PLUGIN_DIR"/*.log "$PLUGIN_DIR"/*.err
    check_install "$CHECK_EXE"
}

check_run() {  # args...
    CHECK_EXIT=$(wine_run_tool --cwd "$(unixpath "$E2E_BIN")" "$(unixpath "$E2E_BIN")/OrvantaCheck.exe" "$@") ||
        { fail "OrvantaCheck.exe gave no exit code"; return 1; }
    CHECK_OUT=$(cat "$WINE_TOOL_OUT")
}

check_snapshot() {
    local c=$E2E_DRIVE_C
    (cd "$c" && find SCANSUITE Orvanta Capture Host -exec stat -c '%n %s %a %Y' {} + 2>/dev/null | sort)
    (cd "$c" && find SCANSUITE Orvanta Capture Host -type f -exec md5sum {} + 2>/dev/null | sort)
    (cd "$WINDOWS_DIR" && md5sum praxo32.ini PXEquip.ini 2>/dev/null)
    (cd "$PLUGIN_DIR" && find . -exec stat -c '%n %s %a %Y' {} + | sort)
}
