#!/usr/bin/env bash
# The 32-bit and the 64-bit Orvanta.dll side by side in one prefix, each registered per machine by the regsvr32
# of its own pointer size: a 32-bit client creates the 32-bit class, a 64-bit client the 64-bit one, and
# removing either one, with regsvr32 or with the per-machine packages, leaves the other working. Arguments: the
# x86 and the x64 Orvanta.dll, the x86 and the x64 orvanta_client_tests.exe, the x86 and the x64 build's package
# folder (an x86 build runs this).
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
CLIENT32=$3 CLIENT64=$4
# The per-machine packages (the per-user ones end in -peruser.msi).
packages32=("$5"/Orvanta-*[0-9]-x86.msi) packages64=("$6"/Orvanta-*[0-9]-x64.msi)
PACKAGE32=${packages32[0]} PACKAGE64=${packages64[0]}
INSTALLED32='C:\Program Files (x86)\Orvanta\Plugin\Orvanta.dll'
INSTALLED64='C:\Program Files\Orvanta\Plugin\Orvanta.dll'

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

# Each client writes a line to the exam-data log, which lands beside the Orvanta.dll that served it.
log_of() {  # folder, text: how many lines of its exam-data log hold the text
    if [ -f "$1/KW_Orvanta.log" ]; then grep -c -- "$2" "$1/KW_Orvanta.log"; else echo 0; fi
}

# The client of one pointer size finds its own server through the registry: the ProgID creates the class, its
# DeviceNames reads, its type library entry names that DLL and loads.
works() {  # bits, dll, what
    local client=$CLIENT64
    [ "$1" = 32 ] && client=$CLIENT32
    registered_client "$3" "$client" "$2" "$1"
}

package() {  # bits, /i or /x, msi, what
    local code
    code=$(wine_run_tool --bits "$1" --timeout 120 "$(wine_system_exe msiexec.exe "$1")" "$2" "$(winpath "$3")" /qn) ||
        { fail "$4: msiexec gave no exit code"; return 1; }
    check_eq 0 "$code" "$4: msiexec exit code"
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

# Each order of removal with regsvr32: the other stays working.
for first in 32 64; do
    second=$((96 - first))
    dir_first=$DIR32 dir_second=$DIR64
    [ "$first" = 64 ] && dir_first=$DIR64 dir_second=$DIR32
    as 32 _register "$DIR32" Orvanta.dll /s
    as 64 _register "$DIR64" Orvanta.dll /s
    as "$first" _register "$dir_first" Orvanta.dll /u /s
    check_eq none "$(server_seen_by "$first")" "$first-bit view: unregistered first"
    check_eq "$(winpath "$dir_second/Orvanta.dll")" "$(server_seen_by "$second")" "$second-bit view: still registered"
    works "$second" "$dir_second/Orvanta.dll" "the $second-bit server after the $first-bit one's removal"
    as "$first" run_cscript create.vbs False
    as "$second" _register "$dir_second" Orvanta.dll /u /s
    check_eq none "$(server_seen_by "$second")" "$second-bit view: unregistered last"
    as 64 run_cscript create.vbs False
    as 32 run_cscript create.vbs False
done

# The same with the two per-machine packages installed side by side.
for first in 32 64; do
    second=$((96 - first))
    msi_first=$PACKAGE32 msi_second=$PACKAGE64 dll_second=$INSTALLED64
    [ "$first" = 64 ] && msi_first=$PACKAGE64 msi_second=$PACKAGE32 dll_second=$INSTALLED32
    package 32 /i "$PACKAGE32" "the x86 package"
    package 64 /i "$PACKAGE64" "the x64 package beside it"
    works 32 "$INSTALLED32" "both packages: the 32-bit server"
    works 64 "$INSTALLED64" "both packages: the 64-bit server"
    package "$first" /x "$msi_first" "the $first-bit package removed first"
    works "$second" "$dll_second" "the $second-bit package after the $first-bit one's removal"
    as "$first" run_cscript create.vbs False
    package "$second" /x "$msi_second" "the $second-bit package removed last"
    check_eq "none none" "$(server_seen_by 32) $(server_seen_by 64)" "both packages removed: no server"
    as 64 run_cscript create.vbs False
done

remove_host_files
wine_finish
