#!/usr/bin/env bash
# The per-user package: the plug-in in the user's local application data, its keys under HKCU\Software\Classes
# exactly as "regsvr32 /n /i:user" writes them and nothing under the machine's classes; removal leaves nothing.
# Wine does not look up per-user classes, so the plug-in is not created here. Argument: package.conf.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$(dirname "$0")/package_lib.sh"

data=$(local_app_data) || { fail "no local application data folder"; wine_finish; }
rm -rf "$(unixpath "$data\\Orvanta")"
prepare_site

install_package 0 "install for the current user" "$USER_PACKAGE"
check_eq "Orvanta ($ARCH, current user) $(sed 's/^0*\([0-9]\)/\1/; s/\.0*\([0-9]\)/.\1/g' <<<"$VERSION")" \
    "$(products)" "one product, for the current user"
same_file "$PLUGIN_FILE" "$data\\Orvanta\\Plugin\\Orvanta.dll" "the plug-in in the user's profile"
same_file "$ENROLIX_FILE" "$SCANSUITE_BIN\\Enrolix.exe" "the registration tool beside the imaging software"
absent_file "$MACHINE_PLUGIN" "nothing in the machine's plug-in folder"
registry_dump installed
check_eq "" "$(registry_added before installed | grep -v '^\[HKEY_CURRENT_USER\\' || true)" \
    "no keys under the machine's classes"
registered_like_regsvr32 installed user

removed_as_before "remove" "$USER_PACKAGE"
same_files before removed "after the removal"

remove_imaging_site
remove_host_files
wine_finish
