#!/usr/bin/env bash
# The 32-bit and the 64-bit Orvanta.dll side by side in one prefix, each registered per machine by the regsvr32
# of its own pointer size: a 32-bit client creates the 32-bit class, a 64-bit client the 64-bit one, and
# unregistering one leaves the other working. Arguments: the x86 Orvanta.dll, the x64 Orvanta.dll (an x86 build
# runs this).
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$(dirname "$0")/plugin_lib.sh"

CLASS='{BD3AAF59-38AB-46D8-A19B-93A9A17D2B55}'
[ "$WINE_BITS" = 32 ] || { fail "an x86 build runs this scenario, not $WINE_ARCH"; wine_finish; }
DIR32=$WINE_TEST_DIR/x86
DIR64=$WINE_TEST_DIR/x64
mkdir -p "$DIR32" "$DIR64"
cp "$1" "$DIR32/Orvanta.dll"
cp "$2" "$DIR64/Orvanta.dll"

as() {  # bits, function, args...: runs a plug-in step with the regsvr32 and cscript of that pointer size
    local PLUGIN_BITS=$1
    "${@:2}"
}

# The server registered for the class in the registry view of one pointer size, as reg.exe of that size reads it.
server_seen_by() {  # bits
    local code
    code=$(wine_run_tool --bits "$1" "$(wine_system_exe reg.exe "$1")" query \
        "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\$CLASS\\InprocServer32" /ve) || return 1
    if [ "$code" = 0 ]; then sed -n 's/.*REG_SZ[[:space:]]*//p' "$WINE_TOOL_OUT"; else echo none; fi
}

# Each client writes a line to the plug-in log, which lands beside the Orvanta.dll that served it.
log_of() {  # folder, text: how many lines of its plug-in log hold the text
    if [ -f "$1/Orvanta.log" ]; then grep -c -- "$2" "$1/Orvanta.log"; else echo 0; fi
}

remove_host_files
host_praxo

# Only the 32-bit server: the 64-bit client finds no class.
as 32 _register "$DIR32" Orvanta.dll /s
check_eq "$(winpath "$DIR32/Orvanta.dll")" "$(server_seen_by 32)" "32-bit view names the x86 server"
check_eq none "$(server_seen_by 64)" "64-bit view has no server yet"
as 32 run_cscript create.vbs True
as 64 run_cscript create.vbs False
as 32 run_cscript writelog.vbs True "from the 32-bit client"

# Both servers: each client gets its own.
as 64 _register "$DIR64" Orvanta.dll /s
check_eq "$(winpath "$DIR64/Orvanta.dll")" "$(server_seen_by 64)" "64-bit view names the x64 server"
check_eq "$(winpath "$DIR32/Orvanta.dll")" "$(server_seen_by 32)" "32-bit view still names the x86 server"
as 64 run_cscript writelog.vbs True "from the 64-bit client"
as 32 run_cscript writelog.vbs True "from the 32-bit client"
check_eq 2 "$(log_of "$DIR32" "from the 32-bit client")" "the x86 server served the 32-bit client twice"
check_eq 0 "$(log_of "$DIR32" "from the 64-bit client")" "the x86 server never served the 64-bit client"
check_eq 1 "$(log_of "$DIR64" "from the 64-bit client")" "the x64 server served the 64-bit client"
check_eq 0 "$(log_of "$DIR64" "from the 32-bit client")" "the x64 server never served the 32-bit client"

# Unregistering one leaves the other.
as 32 _register "$DIR32" Orvanta.dll /u /s
check_eq none "$(server_seen_by 32)" "32-bit view: unregistered"
check_eq "$(winpath "$DIR64/Orvanta.dll")" "$(server_seen_by 64)" "64-bit view: still registered"
as 64 run_cscript create.vbs True
as 64 _register "$DIR64" Orvanta.dll /u /s
check_eq none "$(server_seen_by 64)" "64-bit view: unregistered"
as 64 run_cscript create.vbs False
as 32 run_cscript create.vbs False

remove_host_files
wine_finish
