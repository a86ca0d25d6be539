#!/usr/bin/env bash
# Registering Orvanta.dll per machine and per user, and unregistering it, leaves the registry as it was; the
# keys in between are really there. Beside the other pointer size's server, both leave the other's keys whole.
# Arguments: Orvanta.dll, orvanta_client_tests.exe.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$(dirname "$0")/plugin_lib.sh"

CLASS='{BD3AAF59-38AB-46D8-A19B-93A9A17D2B55}'
LIBRARY='{EA3E15A2-1AD0-426B-8481-C5E915E56EE7}'
INTERFACE='{B79558F2-BBF3-45AF-A4E9-4970CD9495D5}'
ROOTS=('HKEY_CLASSES_ROOT' 'HKEY_LOCAL_MACHINE\Software\Classes' 'HKEY_CURRENT_USER\Software\Classes')

# The registry below each root as text, one file per root: NAME.0, NAME.1, NAME.2. A root that does not exist,
# or holds nothing but its own empty key (Wine creates HKCU\Software\Classes on first use), dumps as empty.
dump() {  # name
    local i code text
    for i in 0 1 2; do
        : >"$WINE_TEST_DIR/$1.$i"
        rm -f "$WINE_TEST_DIR/$1.$i.reg"
        code=$(wine_run_tool "$WINE_REG" export "${ROOTS[$i]}" "$(winpath "$WINE_TEST_DIR/$1.$i.reg")" /y) ||
            { fail "reg export ${ROOTS[$i]} gave no exit code"; continue; }
        [ -f "$WINE_TEST_DIR/$1.$i.reg" ] || continue
        [ "$code" = 0 ] || fail "reg export ${ROOTS[$i]} exited with $code"
        text=$(iconv -f UTF-16LE -t UTF-8 "$WINE_TEST_DIR/$1.$i.reg" | tr -d '\r' | sed '1s/^\xef\xbb\xbf//')
        [ "$(printf '%s\n' "$text" | grep -c '^\[')" -gt 1 ] && printf '%s\n' "$text" >"$WINE_TEST_DIR/$1.$i"
    done
}

same_as() {  # before, after, what
    local i
    for i in 0 1 2; do
        check_that "$3: ${ROOTS[$i]} as before" cmp -s "$WINE_TEST_DIR/$1.$i" "$WINE_TEST_DIR/$2.$i" ||
            diff "$WINE_TEST_DIR/$1.$i" "$WINE_TEST_DIR/$2.$i" | head -40 >&2
    done
}

# A key and its values from a dump, as "[key]" followed by its value lines.
key_of() {  # dump file, key below the root
    awk -v want="$2" 'BEGIN { IGNORECASE = 1 }
        /^\[/ { inside = (tolower(substr($0, 2, length($0) - 2)) == tolower(want)); if (inside) print; next }
        inside && NF { print }' "$WINE_TEST_DIR/$1"
}

check_registered() {  # dump name, root index, what
    local d=$1.$2 path
    path=$(winpath "$PLUGIN_DIR/Orvanta.dll")
    local root=${ROOTS[$2]}
    check_contains "$(key_of "$d" "$root\\Orvanta.clsOrvanta\\CLSID")" "@=\"$CLASS\"" "$3: ProgID names the class"
    check_contains "$(key_of "$d" "$root\\CLSID\\$CLASS\\ProgID")" '@="Orvanta.clsOrvanta"' "$3: class names the ProgID"
    check_contains "$(key_of "$d" "$root\\CLSID\\$CLASS\\InprocServer32")" "@=\"${path//\\/\\\\}\"" \
        "$3: InprocServer32 is the DLL"
    check_contains "$(key_of "$d" "$root\\CLSID\\$CLASS\\TypeLib")" "@=\"$LIBRARY\"" "$3: class names its type library"
    check_contains "$(grep -iF "[$root\\TypeLib\\$LIBRARY\\1.0]" "$WINE_TEST_DIR/$d")" "1.0" \
        "$3: type library 1.0 registered"
    check_contains "$(key_of "$d" "$root\\Interface\\$INTERFACE")" "@=\"_clsOrvanta\"" "$3: interface registered"
}

absent() {  # dump name, root index, what
    check_that "$3: nothing of Orvanta in ${ROOTS[$2]}" ! grep -qi -e "$CLASS" -e "$LIBRARY" -e 'Orvanta\.clsOrvanta' \
        "$WINE_TEST_DIR/$1.$2"
}

# The other pointer size's server as its registration leaves it, from the same table: its class and interface
# in its own registry view, its entry in the type library, the shared ProgID and type library keys. Written
# with the 64-bit reg.exe, which reaches the 32-bit view as Wow6432Node.
OTHER_DIR=$WINE_TEST_DIR/other
OTHER_VIEW='Wow6432Node\'
OTHER_PLATFORM=win32
[ "$WINE_BITS" = 32 ] && OTHER_VIEW='' OTHER_PLATFORM=win64
other_key() {  # table key
    case $1 in CLSID\\* | Interface\\*) printf '%s%s\n' "$OTHER_VIEW" "$1" ;; *) printf '%s\n' "$1" ;; esac
}
other_registered() {  # root
    local code key
    OTHER_CONTAINERS=()
    for key in "${OTHER_VIEW}CLSID" "${OTHER_VIEW}Interface" "${OTHER_VIEW%\\}"; do
        [ -n "$OTHER_VIEW" ] && [ "$(wine_run_tool --bits 64 "$(wine_system_exe reg.exe 64)" query \
            "$1\\Software\\Classes\\$key")" != 0 ] && OTHER_CONTAINERS+=("$key")
    done
    # Through the environment: awk -v would read the backslashes as escapes.
    ROOT=$1 VIEW=$OTHER_VIEW FILE=$(winpath "$OTHER_DIR/Orvanta.dll") awk -F'|' -v platform="$OTHER_PLATFORM" \
        -v class="$CLASS" -v interface="$INTERFACE" -v library="$LIBRARY" '
        function put(s, from, to,  i, out) {
            out = ""
            while ((i = index(s, from)) > 0) { out = out substr(s, 1, i - 1) to; s = substr(s, i + length(from)) }
            return out s
        }
        function fill(s) {
            s = put(s, "<Class>", class); s = put(s, "<Interface>", interface); s = put(s, "<Library>", library)
            s = put(s, "<Platform>", platform); s = put(s, "<File>", file)
            return put(s, "<Folder>", substr(file, 1, length(file) - length("Orvanta.dll")))
        }
        function text(s) { return "\"" put(put(s, "\\", "\\\\"), "\"", "\\\"") "\"" }
        function trim(s) { gsub(/^[ \t]+|[ \t\r]+$/, "", s); return s }
        BEGIN { root = ENVIRON["ROOT"]; view = ENVIRON["VIEW"]; file = ENVIRON["FILE"]; printf "REGEDIT4\r\n" }
        /^#/ || NF < 3 { next }
        {
            key = fill(trim($1)); name = trim($2); value = trim($3)
            if (key ~ /^(CLSID|Interface)\\/) key = view key
            printf "\r\n[%s\\Software\\Classes\\%s]\r\n", root, key
            if (value != "-") printf "%s=%s\r\n", name == "" ? "@" : text(name), text(fill(value))
        }' "$ORVANTA_SOURCE_DIR/plugin/com/ClassRegistry.txt" >"$WINE_TEST_DIR/other.reg"
    code=$(wine_run_tool --bits 64 "$(wine_system_exe reg.exe 64)" import "$(winpath "$WINE_TEST_DIR/other.reg")")
    check_eq 0 "$code" "the other pointer size's keys written"
}
# What its unregistering removes while this server stays: its own keys, not the shared ones, and the
# containers of its view that came with them and are left empty.
other_unregistered() {  # root
    local key reg
    reg=$(wine_system_exe reg.exe 64)
    for key in "CLSID\\$CLASS" "Interface\\$INTERFACE" "TypeLib\\$LIBRARY\\1.0\\0\\$OTHER_PLATFORM"; do
        wine_run_tool --bits 64 "$reg" delete "$1\\Software\\Classes\\$(other_key "$key")" /f >/dev/null
    done
    for key in "${OTHER_CONTAINERS[@]}"; do
        wine_run_tool --bits 64 "$reg" query "$1\\Software\\Classes\\$key" /s >/dev/null &&
            [ "$(grep -c '[^[:space:]]' "$WINE_TOOL_OUT")" -le 1 ] &&
            wine_run_tool --bits 64 "$reg" delete "$1\\Software\\Classes\\$key" /f >/dev/null
    done
}

remove_host_files
host_praxo
mkdir -p "$PLUGIN_DIR" "$OTHER_DIR"
cp "$1" "$OTHER_DIR/Orvanta.dll"
cp "$1" "$PLUGIN_DIR/Orvanta.dll"
run_cscript create.vbs False

# Per machine.
dump before
_register "$PLUGIN_DIR" Orvanta.dll /s
dump machine
check_registered machine 0 "per machine, merged view"
check_registered machine 1 "per machine"
absent machine 2 "per machine"
run_cscript create.vbs True
_register "$PLUGIN_DIR" Orvanta.dll /u /s
dump unregistered
same_as before unregistered "per machine, after unregistering"
run_cscript create.vbs False

# Per user: DllInstall with "user" only, never DllRegisterServer.
_register "$PLUGIN_DIR" Orvanta.dll /s /n /i:user
dump user
check_registered user 2 "per user"
absent user 1 "per user"
_register "$PLUGIN_DIR" Orvanta.dll /s /u /n /i:user
dump user_unregistered
same_as before user_unregistered "per user, after unregistering"

# Unregistering what is not registered changes nothing either.
_register "$PLUGIN_DIR" Orvanta.dll /s /u
_register "$PLUGIN_DIR" Orvanta.dll /s /u /n /i:user
dump twice
same_as before twice "unregistering twice"

# Beside the other pointer size's server: registering and unregistering this one, then this one staying while
# the other goes. Wine looks up no per-user classes: the client runs for the machine only.
for scope in machine user; do
    root=HKEY_LOCAL_MACHINE options=()
    [ "$scope" = user ] && root=HKEY_CURRENT_USER options=(/n /i:user)
    other_registered "$root"
    dump "other_$scope"
    _register "$PLUGIN_DIR" Orvanta.dll /s "${options[@]}"
    [ "$scope" = machine ] && registered_client "beside the other's server" "$2" "$PLUGIN_DIR/Orvanta.dll"
    _register "$PLUGIN_DIR" Orvanta.dll /s /u "${options[@]}"
    dump "other_$scope.after"
    same_as "other_$scope" "other_$scope.after" "$scope: the other's keys after this server came and went"
    _register "$PLUGIN_DIR" Orvanta.dll /s "${options[@]}"
    other_unregistered "$root"
    [ "$scope" = machine ] && registered_client "after the other's removal" "$2" "$PLUGIN_DIR/Orvanta.dll"
    _register "$PLUGIN_DIR" Orvanta.dll /s /u "${options[@]}"
    dump "other_$scope.last"
    same_as before "other_$scope.last" "$scope: the last server's removal"
done

remove_host_files
wine_finish
