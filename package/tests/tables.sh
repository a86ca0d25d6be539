#!/usr/bin/env bash
# The tables of this build's packages, read with msiinfo: architecture, scope, version, upgrade rows, folders,
# no self-registration, the COM registration as registry rows with the installed path, and per machine the
# plug-in's text files that the users may write (Wine enforces no permissions: the rows are what is checked).
# Argument: package.conf.
set -uo pipefail
# shellcheck source=/dev/null
source "$1"

# shellcheck source=../../tests/wine/checks.sh
source "$(dirname "$0")/../../tests/wine/checks.sh"

table() { "$MSIINFO" export "$1" "$2" | tr -d '\r' | tail -n +4; }
property() { table "$1" Property | awk -F'\t' -v name="$2" '$1 == name { print $2 }'; }

CLASS='{BD3AAF59-38AB-46D8-A19B-93A9A17D2B55}'
INTERFACE='{B79558F2-BBF3-45AF-A4E9-4970CD9495D5}'
LIBRARY='{EA3E15A2-1AD0-426B-8481-C5E915E56EE7}'
DISPATCH='{00020424-0000-0000-C000-000000000046}'
product_version=$(sed 's/^0*\([0-9]\)/\1/; s/\.0*\([0-9]\)/.\1/g' <<<"$VERSION")

# What registering Orvanta.dll writes, as Registry rows: key, name, value.
expected_rows() {  # platform
    local c="Software\\Classes\\CLSID\\$CLASS" i="Software\\Classes\\Interface\\$INTERFACE"
    local t="Software\\Classes\\TypeLib\\$LIBRARY\\1.0"
    printf '%s\t%s\t%s\n' \
        'Software\Classes\Orvanta.clsOrvanta' '' 'Orvanta.clsOrvanta' \
        'Software\Classes\Orvanta.clsOrvanta\CLSID' '' "$CLASS" \
        "$c" '' 'Orvanta.clsOrvanta' \
        "$c\\InprocServer32" '' '[#OrvantaDll]' \
        "$c\\InprocServer32" 'ThreadingModel' 'Apartment' \
        "$c\\ProgID" '' 'Orvanta.clsOrvanta' \
        "$c\\VERSION" '' '1.0' \
        "$c\\TypeLib" '' "$LIBRARY" \
        "$c\\Programmable" '*' '' \
        "$i" '' '_clsOrvanta' \
        "$i\\ProxyStubClsid" '' "$DISPATCH" \
        "$i\\ProxyStubClsid32" '' "$DISPATCH" \
        "$i\\TypeLib" '' "$LIBRARY" \
        "$i\\TypeLib" 'Version' '1.0' \
        "$t" '' 'Orvanta' \
        "$t\\0\\$1" '' '[#OrvantaDll]' \
        "$t\\FLAGS" '' '0' \
        "$t\\HELPDIR" '' '[PLUGINDIR]' | LC_ALL=C sort
}

case $ARCH in
    x64) template='x64;1033' plugin_attributes=256 platform=win64 program_files=ProgramFiles64Folder
        machine_upgrade_code='{7259BB8B-A425-4C19-8B5F-4EC193E6D8DE}' ;;
    x86) template='Intel;1033' plugin_attributes=0 platform=win32 program_files=ProgramFilesFolder
        machine_upgrade_code='{4A2D438F-4387-4516-86A2-9F79EAD054D6}' ;;
esac
# SYSTEM and the administrators full control, the users (BU) read and write: no delete, no change of permissions.
text_sddl='D:(A;;FA;;;SY)(A;;FA;;;BA)(A;;FRFW;;;BU)'
# Permanent (16) and never overwritten (128): kept at removal, never emptied by an upgrade or a repair.
text_attributes=$((plugin_attributes + 16 + 128))

for scope in machine user; do
    if [ "$scope" = machine ]; then
        msi=$MACHINE_PACKAGE upgrade_code=$machine_upgrade_code root=2 allusers=1
        name="Orvanta ($ARCH)" top=$program_files
    else
        msi=$USER_PACKAGE upgrade_code='{84B4BEC0-5AFC-4C1B-B8EE-6CCAEFAA1B61}' root=1 allusers=''
        name="Orvanta ($ARCH, current user)" top=LocalAppDataFolder
    fi
    w="$scope package"
    check_eq "Orvanta-$VERSION-$ARCH$([ "$scope" = user ] && echo -peruser).msi" "${msi##*/}" "$w: file name"
    [ -f "$msi" ] || { echo "FAIL: $msi not built" >&2; exit 1; }
    check_eq "$template" "$("$MSIINFO" suminfo "$msi" | sed -n 's/^Template: //p')" "$w: architecture"
    check_eq "$upgrade_code" "$(property "$msi" UpgradeCode)" "$w: upgrade code"
    check_eq "$product_version" "$(property "$msi" ProductVersion)" "$w: product version"
    check_eq "$name" "$(property "$msi" ProductName)" "$w: product name"
    check_eq "$allusers" "$(property "$msi" ALLUSERS)" "$w: ALLUSERS"
    check_eq 'C:\SCANSUITE\bin\' "$(property "$msi" SCANSUITEDIR)" "$w: default folder of Enrolix.exe"

    # Self-registration in any form: the SelfReg table, its actions, or COM tables that the installer fills in.
    tables=$("$MSIINFO" tables "$msi" | tr -d '\r')
    for t in SelfReg Class ProgId TypeLib; do
        check_eq "" "$(grep -qx "$t" <<<"$tables" && table "$msi" "$t")" "$w: no $t table, or no rows in it"
    done
    check_eq "" "$(table "$msi" InstallExecuteSequence | cut -f1 | grep -E 'SelfReg|SelfUnreg|Register(Class|ProgId|TypeLib)')" \
        "$w: no registration actions"

    check_eq "$(printf '%s\t%s\t%s\t%s\t%s\n' "$upgrade_code" 0.0.0 "$product_version" 768 OLDERFOUND \
        "$upgrade_code" "$product_version" '' 2 NEWERFOUND | LC_ALL=C sort)" \
        "$(table "$msi" Upgrade | awk -F'\t' '{ print $1 "\t" $2 "\t" $3 "\t" $5 "\t" $7 }' | LC_ALL=C sort)" \
        "$w: replaces older versions and this version's other packages, stops at newer ones"
    check_eq "$plugin_attributes" "$(table "$msi" Component | awk -F'\t' '$1 == "Plugin" { print $4 }')" \
        "$w: architecture of the plug-in's component"
    check_eq "$(expected_rows "$platform")" \
        "$(table "$msi" Registry | awk -F'\t' -v root="$root" '$2 == root && $3 ~ /^Software\\Classes\\/ { print $3 "\t" $4 "\t" $5 }' |
            LC_ALL=C sort)" "$w: registry rows of the COM registration"
    check_eq "$(printf '%s\t%s\t%s\n' "$root" PluginFolder '[PLUGINDIR]' "$root" ScanSuiteFolder '[SCANSUITEDIR]')" \
        "$(table "$msi" Registry | awk -F'\t' '$3 == "Software\\Orvanta" && $6 == "Plugin" { print $2 "\t" $4 "\t" $5 }' |
            LC_ALL=C sort)" "$w: the folders remembered for repair and removal"
    check_eq 20 "$(table "$msi" Registry | wc -l)" "$w: no other registry rows"

    # The plug-in's folder: Program Files of the architecture per machine, the user's profile per user.
    check_eq "$(printf '%s\t%s\t%s\n' ORVANTADIR "$top" Orvanta PLUGINDIR ORVANTADIR Plugin)" \
        "$(table "$msi" Directory | awk -F'\t' '$1 == "ORVANTADIR" || $1 == "PLUGINDIR" { print $1 "\t" $2 "\t" $3 }' |
            LC_ALL=C sort)" "$w: the plug-in's folder"
    check_eq "" "$(property "$msi" ORVANTADIR)$(property "$msi" PLUGINDIR)" "$w: no fixed plug-in folder"

    # Per machine: the keys both architectures share in a component of their own, and the text files.
    shared='' texts='' locks=''
    if [ "$scope" = machine ]; then
        shared=$(printf '%s\n' 'Software\Classes\Orvanta.clsOrvanta' 'Software\Classes\Orvanta.clsOrvanta\CLSID' \
            "Software\\Classes\\TypeLib\\$LIBRARY\\1.0" "Software\\Classes\\TypeLib\\$LIBRARY\\1.0\\FLAGS" \
            "Software\\Classes\\TypeLib\\$LIBRARY\\1.0\\HELPDIR" | LC_ALL=C sort)
        texts=$(printf 'KW_Orvanta.log\t%s\nOrvanta.log\t%s\nPX_IF_Orvanta.err\t%s\n' \
            "$text_attributes" "$text_attributes" "$text_attributes")
        locks=$(printf 'KW_Orvanta.log\tFile\t%s\nOrvanta.log\tFile\t%s\nPX_IF_Orvanta.err\tFile\t%s\n' \
            "$text_sddl" "$text_sddl" "$text_sddl")
    fi
    components=$(table "$msi" Component)
    check_eq "$shared" "$(table "$msi" Registry | awk -F'\t' '$6 == "ClassShared" { print $3 }' | LC_ALL=C sort)" \
        "$w: the shared class keys"
    files=$(table "$msi" File)
    check_eq "$texts" "$(awk -F'\t' 'NR == FNR { attributes[$1] = $4; next }
        $3 ~ /\.(log|err)$/ { print $3 "\t" attributes[$2] }' <(printf '%s\n' "$components") <(printf '%s\n' "$files") |
        LC_ALL=C sort)" "$w: the plug-in's text files and their components"
    check_eq "$locks" "$(table "$msi" MsiLockPermissionsEx 2>/dev/null | awk -F'\t' 'NR == FNR { name[$1] = $3; next }
        { print ($3 == "File" ? name[$2] : $2) "\t" $3 "\t" $4 }' <(printf '%s\n' "$files") - | LC_ALL=C sort)" \
        "$w: write permission on the text files, on nothing else"
    check_eq "" "$(table "$msi" LockPermissions 2>/dev/null)" "$w: no other permission rows"
done

# The same components for Enrolix.exe and the site check in both packages: files in the imaging software's folder.
for component in Enrolix:Enrolix.exe Check:OrvantaCheck.exe; do
    check_eq "$(table "$MACHINE_PACKAGE" Component | awk -F'\t' -v c="${component%%:*}" '$1 == c { print $2 }')" \
        "$(table "$USER_PACKAGE" Component | awk -F'\t' -v c="${component%%:*}" '$1 == c { print $2 }')" \
        "one component for ${component#*:}"
    for msi in "$MACHINE_PACKAGE" "$USER_PACKAGE"; do
        check_eq "SCANSUITEDIR" \
            "$(table "$msi" Component | awk -F'\t' -v c="${component%%:*}" '$1 == c { print $3 }')" \
            "${msi##*/}: ${component#*:} in the imaging software's folder"
        check_eq "${component#*:}" \
            "$(table "$msi" File | awk -F'\t' -v c="${component%%:*}" '$2 == c { print $3 }')" \
            "${msi##*/}: the file of ${component%%:*}"
    done
done

wine_finish
