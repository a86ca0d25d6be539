# Steps shared by the package scenarios; sourced after "$ORVANTA_WINE_LIB" with the build's package.conf as
# argument (ARCH, VERSION, the packages, the binaries they hold and the tools that build them).
#
#   install_package CODE WHAT MSI [PROPERTY=VALUE...]   msiexec /i quietly with a log; CODE is the exit code wanted
#   remove_package CODE WHAT MSI                         msiexec /x the same way
#   products                       the installed Orvanta products, one "name version" line each
#   registry_dump NAME             HKLM and HKCU Software\Classes as sorted lines, "[key]" or "[key] value"
#   registry_added BEFORE AFTER    the lines AFTER gained, without the installer's own bookkeeping
#   same_registry BEFORE AFTER WHAT    both dumps are equal
#   registered_like_regsvr32 NAME SCOPE    the keys the package added (dump NAME against "before") are exactly
#                                  those that regsvr32 of the installed DLL writes for SCOPE (machine or user);
#                                  leaves regsvr32's keys, which equal the package's, in place
#   files_dump NAME                every file and folder of the site, the plug-in and the user's plug-in folder,
#                                  with a checksum per file
#   same_files BEFORE AFTER WHAT
#   same_file EXPECTED WINPATH WHAT    the installed file is a copy of EXPECTED
#   imaging_site                   the imaging software's own files, which the packages must leave alone
#   prepare_site                   the imaging site and the host's files, no plug-in folder, then the dumps
#                                  "before"
#   removed_as_before WHAT MSI     removes the package and dumps "removed"; its registry must be as before
#   text_files_left WHAT BEFORE AFTER  after a per-machine removal: the files of AFTER are those of BEFORE and the
#                                  plug-in's three text files, which stay in its folder; then deletes that folder

# shellcheck source=/dev/null
source "$1"
# shellcheck source=../../../plugin/tests/wine/plugin_lib.sh
source "$ORVANTA_SOURCE_DIR/plugin/tests/wine/plugin_lib.sh"
PACKAGE_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

case $ARCH in
    x64) SYSTEM='C:\windows\system32' PROGRAM_FILES='C:\Program Files' ;;
    x86) SYSTEM='C:\windows\syswow64' PROGRAM_FILES='C:\Program Files (x86)' ;;
    *) echo "package_lib.sh: unknown architecture $ARCH" >&2; exit 1 ;;
esac
PLUGIN_CSCRIPT="$SYSTEM\\cscript.exe"
REGSVR32="$SYSTEM\\regsvr32.exe"
MACHINE_ORVANTA="$PROGRAM_FILES\\Orvanta"
MACHINE_PLUGIN="$MACHINE_ORVANTA\\Plugin"
SCANSUITE_BIN='C:\SCANSUITE\bin'
REGISTRY_ROOTS=('HKEY_LOCAL_MACHINE\Software\Classes' 'HKEY_CURRENT_USER\Software\Classes')
_msi_runs=0

_msiexec() {  # code, what, msiexec args...
    local expected=$1 what=$2 code
    shift 2
    _msi_runs=$((_msi_runs + 1))
    local log=$WINE_TEST_DIR/msiexec.$_msi_runs.log
    code=$(wine_run_tool --timeout 120 msiexec.exe "$@" /qn /l*v "$(winpath "$log")") ||
        { fail "$what: msiexec gave no exit code"; return 1; }
    check_eq "$expected" "$code" "$what: msiexec exit code (log $log)"
}

install_package() {  # code, what, msi, properties...
    local code=$1 what=$2 msi=$3
    shift 3
    _msiexec "$code" "$what" /i "$(winpath "$msi")" "$@"
}

remove_package() { _msiexec "$1" "$2" /x "$(winpath "$3")"; }

# The user's local application data folder, as Windows path.
local_app_data() {
    wine_run_tool reg.exe query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' \
        /v 'Local AppData' >/dev/null || return 1
    sed -n 's/^ *Local AppData *REG_SZ *//p' "$WINE_TOOL_OUT" | tr -d '\r'
}

products() {
    local key
    for key in 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' \
        'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'; do
        wine_run_tool reg.exe query "$key" /s >/dev/null || continue
        tr -d '\r' <"$WINE_TOOL_OUT" | awk '
            /^HKEY_/ { if (name ~ /^Orvanta /) print name " " version; name = ""; version = "" }
            $1 == "DisplayName" { sub(/^ *DisplayName +REG_SZ +/, ""); name = $0 }
            $1 == "DisplayVersion" { sub(/^ *DisplayVersion +REG_SZ +/, ""); version = $0 }
            END { if (name ~ /^Orvanta /) print name " " version }'
    done | sort
}

registry_dump() {  # name
    local out=$WINE_TEST_DIR/$1.registry root i=0 reg code
    : >"$out"
    for root in "${REGISTRY_ROOTS[@]}"; do
        i=$((i + 1))
        reg=$WINE_TEST_DIR/$1.$i.reg
        rm -f "$reg"
        code=$(wine_run_tool reg.exe export "$root" "$(winpath "$reg")" /y) ||
            { fail "reg export $root gave no exit code"; continue; }
        # A root that does not exist exports nothing.
        [ -f "$reg" ] || continue
        [ "$code" = 0 ] || fail "reg export $root exited with $code"
        # Continued lines joined; each value line prefixed with its key. The root itself, which Wine creates
        # on first use, is left out.
        iconv -f UTF-16LE -t UTF-8 "$reg" | tr -d '\r' | sed '1s/^\xef\xbb\xbf//' | ROOT_KEY="[$root]" awk '
            /\\$/ { held = held substr($0, 1, length($0) - 1); next }
            { line = held $0; held = "" }
            line ~ /^\[/ { key = line; if (key != ENVIRON["ROOT_KEY"]) print key; next }
            line != "" && key != "" { print key " " line }' >>"$out"
    done
    LC_ALL=C sort -o "$out" "$out"
}

registry_added() {  # before, after
    LC_ALL=C comm -13 "$WINE_TEST_DIR/$1.registry" "$WINE_TEST_DIR/$2.registry" |
        grep -iv '^\[HKEY_[A-Z_]*\\Software\\Classes\\Installer[]\\]' || true
}

# The installer's empty containers, which it leaves behind once made.
_without_installer_containers() {
    grep -iv '^\[HKEY_[A-Z_]*\\Software\\Classes\\Installer\(\\Features\|\\Products\|\\UpgradeCodes\)\?\]$' "$1" || true
}

same_registry() {  # before, after, what
    check_that "$3: registry classes as before" cmp -s <(_without_installer_containers "$WINE_TEST_DIR/$1.registry") \
        <(_without_installer_containers "$WINE_TEST_DIR/$2.registry") ||
        diff "$WINE_TEST_DIR/$1.registry" "$WINE_TEST_DIR/$2.registry" | head -40 >&2
}

_regsvr32() {  # what, args...
    local what=$1 code
    shift
    code=$(wine_run_tool "$REGSVR32" /s "$@") || { fail "$what: regsvr32 gave no exit code"; return 1; }
    check_eq 0 "$code" "$what: regsvr32 exit code"
}

# Both files hold the same lines, and they are not empty.
_same_nonempty() { [ -s "$1" ] && cmp -s "$1" "$2"; }  # file, file

registered_like_regsvr32() {  # name, scope
    local name=$1 options=() dll lines
    [ "$2" = user ] && options=(/n /i:user)
    registry_added before "$name" >"$WINE_TEST_DIR/$name.added"
    dll=$(sed -n 's/^\[[^]]*\\InprocServer32\] @="\(.*\)"$/\1/p' "$WINE_TEST_DIR/$name.added" | head -1)
    dll=${dll//\\\\/\\}
    check_contains "$dll" 'Orvanta.dll' "$name: InprocServer32 names the installed DLL"
    _regsvr32 "$name: unregister" /u "${options[@]}" "$dll"
    registry_dump "$name.unregistered"
    check_eq "" "$(registry_added before "$name.unregistered")" \
        "$name: unregistering the DLL removes every key the package wrote"
    _regsvr32 "$name: register" "${options[@]}" "$dll"
    registry_dump "$name.regsvr32"
    registry_added before "$name.regsvr32" >"$WINE_TEST_DIR/$name.regsvr32.added"
    lines=$(wc -l <"$WINE_TEST_DIR/$name.added")
    local added=$WINE_TEST_DIR/$name.added again=$WINE_TEST_DIR/$name.regsvr32.added
    check_that "$name: the package's keys (<) are exactly regsvr32's (>), $lines lines" \
        _same_nonempty "$added" "$again" ||
        diff "$added" "$again" | head -40 >&2
}

_site_folders() {
    printf '%s\n' 'C:\Orvanta' 'C:\SCANSUITE' 'C:\Imaging' "$MACHINE_ORVANTA"
    local data
    data=$(local_app_data) && printf '%s\n' "$data\\Orvanta"
}

files_dump() {  # name
    local out=$WINE_TEST_DIR/$1.files folder dir
    : >"$out"
    while IFS= read -r folder; do
        dir=$(unixpath "$folder") || continue
        [ -e "$dir" ] || continue
        (cd "$dir" && find . -printf '%y %p\n' | while read -r kind path; do
            if [ "$kind" = f ]; then echo "$folder ${path#./} $(md5sum <"$path" | cut -c1-32)"
            else echo "$folder ${path#./}/"; fi
        done) >>"$out"
    done < <(_site_folders)
    LC_ALL=C sort -o "$out" "$out"
}

same_files() {  # before, after, what
    check_that "$3: files as before" cmp -s "$WINE_TEST_DIR/$1.files" "$WINE_TEST_DIR/$2.files" ||
        diff "$WINE_TEST_DIR/$1.files" "$WINE_TEST_DIR/$2.files" | head -20 >&2
}

same_file() {  # expected host file, installed Windows path, what
    local installed
    installed=$(unixpath "$2")
    check_that "$3: $2 is $1" cmp -s "$1" "$installed"
}

absent_file() {  # Windows path, what
    check_that "$2: no $1" [ ! -e "$(unixpath "$1")" ]
}

imaging_site() {
    local bin orvanta
    bin=$(unixpath "$SCANSUITE_BIN")
    orvanta=$(unixpath 'C:\Orvanta')
    mkdir -p "$bin" "$orvanta"
    printf '[System Parameters]\r\nDatabase=SQL Server\r\n' >"$bin/TomoCfg.ini"
    printf 'the imaging software\r\n' >"$bin/ScanSuite.exe"
    printf '[Machine]\r\nMachineName=OCT1\r\n' >"$orvanta/SystemSet.ini"
}

remove_imaging_site() { rm -rf "$(unixpath 'C:\SCANSUITE')" "$(unixpath 'C:\Orvanta')" "$(unixpath 'C:\Imaging')"; }

prepare_site() {
    remove_host_files
    host_praxo
    remove_imaging_site
    # The text files that an earlier removal left.
    rm -rf "$(unixpath "$MACHINE_ORVANTA")"
    imaging_site
    # Not there yet; the script host registers its own type library on its first run, before the snapshot.
    run_cscript create.vbs False
    registry_dump before
    files_dump before
}

removed_as_before() {  # what, msi
    remove_package 0 "$1" "$2"
    check_eq "" "$(products)" "no product after the removal"
    registry_dump removed
    same_registry before removed "after the removal"
    files_dump removed
}

text_files_left() {  # what, before, after
    local after=$WINE_TEST_DIR/$3.files
    # Through the environment: awk -v would read the backslashes as escapes.
    FOLDER="$MACHINE_ORVANTA " awk 'index($0, ENVIRON["FOLDER"]) != 1' "$after" >"$WINE_TEST_DIR/$3.others.files"
    same_files "$2" "$3.others" "$1, apart from the plug-in's text files"
    check_eq "./ Plugin/ Plugin/KW_Orvanta.log Plugin/Orvanta.log Plugin/PX_IF_Orvanta.err" \
        "$(FOLDER="$MACHINE_ORVANTA " awk 'index($0, ENVIRON["FOLDER"]) == 1 {
            $0 = substr($0, length(ENVIRON["FOLDER"]) + 1); print $1 }' "$after" | tr '\n' ' ' | sed 's/ $//')" \
        "$1: the plug-in's text files stay"
    rm -rf "$(unixpath "$MACHINE_ORVANTA")"
}
