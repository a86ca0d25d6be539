# Steps shared by the plug-in's scenarios; sourced after "$ORVANTA_WINE_LIB".
#
#   plugin_install DLL           copies Orvanta.dll into "$PLUGIN_DIR" (its log files land there) and registers
#                                it per machine with the regsvr32 of the build's pointer size
#   plugin_uninstall             unregisters it again
#   standin_install DLL          the same for the host data-access stand-in ("$STANDIN_DIR", record file
#                                "$STANDIN_RECORD"); standin_uninstall
#   write_praxo LINE...          praxo32.ini in the Windows folder, one line each (CRLF); write_equip for PXEquip.ini
#   host_praxo [LINE...]         praxo32.ini with a host data folder that holds praxo.mdb and the programs folder
#                                "$HOST_PROGRAMS", then the given lines
#   remove_host_files            deletes both files from the Windows folder
#   run_cscript CASE [ARGS...]   runs CASE.vbs or CASE.js of this folder (or a full path) under $PLUGIN_CSCRIPT, with checks.vbs or checks.js
#                                in front; its "ok:" lines count as checks, its "FAIL:" lines as failures, and it
#                                must reach its last line. spawn_cscript / wait_cscript do the same in two steps,
#                                for scripts whose boxes the scenario answers meanwhile. CSCRIPT_TRACE adds Wine
#                                debug channels (e.g. +process); their lines land in "$WINE_TOOL_ERR".
#   screenshot_window TITLE FILE the visible window TITLE, frame included, as a PNG (imagemagick's import)
#   list_window_rows             the list window's header texts and rows, tab-separated, one line each
#   registered_client WHAT CLIENT DLL [BITS]
#                                runs the registry case of orvanta_client_tests (CLIENT, of pointer size BITS):
#                                the ProgID creates the class, DeviceNames reads, and the registered type library
#                                entry names DLL (a host path) and loads
#   PLUGIN_BITS                  the pointer size of the regsvr32 and cscript these use: the build's unless set

PLUGIN_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WINDOWS_DIR=$(unixpath 'C:\windows')
PLUGIN_DIR=$WINE_TEST_DIR/plugin
STANDIN_DIR=$WINE_TEST_DIR/standin
STANDIN_RECORD=$STANDIN_DIR/DataAccessStandin.log
HOST_DATA=$WINE_TEST_DIR/host/data
HOST_PROGRAMS='C:\Host\Programs'
ERROR_TITLE='PXEquipIF OrvantaIF Error'
MESSAGE_A='Unable to find or read the praxo32.ini file.'
PLUGIN_BITS=${PLUGIN_BITS:-$WINE_BITS}
# The script host: that of PLUGIN_BITS, unless a caller names one.
PLUGIN_CSCRIPT=${PLUGIN_CSCRIPT:-}

_register() {  # folder, file, regsvr32 options...
    local folder=$1 file=$2 code
    shift 2
    code=$(wine_run_tool --cwd "$folder" --bits "$PLUGIN_BITS" "$(wine_system_exe regsvr32.exe "$PLUGIN_BITS")" \
        "$@" "$(winpath "$folder/$file")") ||
        { fail "regsvr32 $* $file gave no exit code"; return 1; }
    [ "$code" = 0 ] || { fail "regsvr32 $* $file exited with $code"; return 1; }
}

plugin_install() {
    mkdir -p "$PLUGIN_DIR"
    cp "$1" "$PLUGIN_DIR/Orvanta.dll"
    _register "$PLUGIN_DIR" Orvanta.dll /s
}

registered_client() {  # what, client tests, dll, [bits]
    local code
    code=$(wine_run_tool --bits "${4:-$PLUGIN_BITS}" "$2" --gtest_also_run_disabled_tests \
        --gtest_filter='Registered.*' "$(winpath "$3")") || { fail "$1: the client gave no exit code"; return 1; }
    check_eq 0 "$code" "$1: the client's exit code"
    check_that "$1: the client creates the class by its ProgID and loads the registered type library" \
        grep -q 'PASSED.* 1 test' "$WINE_TOOL_OUT" ||
        tr -d '\r' <"$WINE_TOOL_OUT" | grep -E 'Failure|Expected|Which is|Value of|error' | head -20 >&2
}

plugin_uninstall() { _register "$PLUGIN_DIR" Orvanta.dll /u /s; }

standin_install() {
    mkdir -p "$STANDIN_DIR"
    cp "$1" "$STANDIN_DIR/DataAccessStandin.dll"
    rm -f "$STANDIN_RECORD"
    _register "$STANDIN_DIR" DataAccessStandin.dll /s
}

standin_uninstall() { _register "$STANDIN_DIR" DataAccessStandin.dll /u /s; }

_write_ini() {  # file, lines...
    local file=$1
    shift
    : >"$file"
    local line
    for line in "$@"; do printf '%s\r\n' "$line" >>"$file"; done
}

write_praxo() { _write_ini "$WINDOWS_DIR/praxo32.ini" "$@"; }
write_equip() { _write_ini "$WINDOWS_DIR/PXEquip.ini" "$@"; }

host_praxo() {
    mkdir -p "$HOST_DATA"
    : >"$HOST_DATA/praxo.mdb"
    write_praxo "[System]" "DataDir=$(winpath "$HOST_DATA")" "PgmsDir=$HOST_PROGRAMS" "$@"
}

remove_host_files() {
    rm -f "$WINDOWS_DIR/praxo32.ini" "$WINDOWS_DIR/PXEquip.ini"
    local f
    # The Windows folder of the prefix may spell them in another case.
    for f in "$WINDOWS_DIR"/*; do
        case ${f##*/} in
            [Pp][Rr][Aa][Xx][Oo]32.[Ii][Nn][Ii] | [Pp][Xx][Ee][Qq][Uu][Ii][Pp].[Ii][Nn][Ii]) rm -f "$f" ;;
        esac
    done
}

_cscript_name=""

spawn_cscript() {  # case (of this folder, or a full path), args...
    local source=$1
    shift
    local ext=${source##*.} file=$PLUGIN_SCRIPTS/$source
    [[ $source == /* ]] && file=$source
    _cscript_name=${source##*/}
    cat "$PLUGIN_SCRIPTS/checks.$ext" "$file" >"$WINE_TEST_DIR/$_cscript_name"
    # The script engines report syntax and run-time errors only through Wine's debug channels.
    WINEDEBUG=fixme+vbscript,fixme+jscript,err+ole${CSCRIPT_TRACE:+,$CSCRIPT_TRACE} wine_spawn_tool --timeout 60 \
        --bits "$PLUGIN_BITS" "${PLUGIN_CSCRIPT:-$(wine_system_exe cscript.exe "$PLUGIN_BITS")}" //nologo \
        "$(winpath "$WINE_TEST_DIR/$_cscript_name")" "$@"
}

wait_cscript() {
    local code line ended=0
    code=$(wine_wait_tool) || { fail "$_cscript_name: cscript gave no exit code"; return 1; }
    while IFS= read -r line; do
        case $line in
            "ok: "*) WINE_CHECKS=$((WINE_CHECKS + 1)); echo "$_cscript_name $line" ;;
            "FAIL: "*) WINE_CHECKS=$((WINE_CHECKS + 1)); fail "$_cscript_name: ${line#FAIL: }" ;;
            "end of script") ended=1 ;;
            *) echo "$_cscript_name: $line" ;;
        esac
    done <"$WINE_TOOL_OUT"
    if [ "$ended" != 1 ]; then
        fail "$_cscript_name stopped before its end (exit code $code): $(grep -E 'vbscript|jscript|ole|wscript' \
            "$WINE_TOOL_ERR" | tr '\n' ' ')"
        return 1
    fi
}

run_cscript() {
    spawn_cscript "$@" || { fail "cannot start cscript for $1"; return 1; }
    wait_cscript
}

# The lines of a text file of the plug-in, carriage returns removed; "missing" when there is none.
plugin_file() {  # name
    if [ -f "$PLUGIN_DIR/$1" ]; then tr -d '\r' <"$PLUGIN_DIR/$1"; else echo missing; fi
}

# The visible window titled TITLE as the screen shows it, into the PNG file FILE.
screenshot_window() {  # title, file
    local rect x y w h
    rect=$(uiauto rect --title "$1") || return 1
    read -r x y w h <<<"$rect"
    import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
}

# The list window's rows as tab-separated lines: the header texts, then one line per row.
list_window_rows() {
    uiauto read-list --title 'Orvanta Images' | grep -E '^(header|row)'$'\t' | cut -f2-
}
