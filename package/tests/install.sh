#!/usr/bin/env bash
# The per-machine package installed quietly at an imaging site: the files where the README says, the plug-in
# working for a script host and writing its logs, the registry exactly as regsvr32 leaves it; installed twice,
# one product; removed, everything as before but the plug-in's text files. Argument: package.conf.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$(dirname "$0")/package_lib.sh"

prepare_site

install_package 0 "install" "$MACHINE_PACKAGE"
same_file "$PLUGIN_FILE" "$MACHINE_PLUGIN\\Orvanta.dll" "the plug-in"
same_file "$ENROLIX_FILE" "$SCANSUITE_BIN\\Enrolix.exe" "the registration tool beside the imaging software"
check_eq "Orvanta ($ARCH) $(sed 's/^0*\([0-9]\)/\1/; s/\.0*\([0-9]\)/.\1/g' <<<"$VERSION")" "$(products)" \
    "one product, the package's version"
run_cscript "$PACKAGE_SCRIPTS/installed.vbs"

# The plug-in writes its text files beside itself; the package made them, empty.
PLUGIN_DIR=$(unixpath "$MACHINE_PLUGIN")
check_eq "0 0 0" "$(stat -c %s "$PLUGIN_DIR/Orvanta.log" "$PLUGIN_DIR/KW_Orvanta.log" "$PLUGIN_DIR/PX_IF_Orvanta.err" |
    tr '\n' ' ' | sed 's/ $//')" "the plug-in's text files, empty"
run_cscript writelog.vbs True "written by the installed plug-in"
check_file_contains "$PLUGIN_DIR/KW_Orvanta.log" "written by the installed plug-in"

registry_dump installed
registered_like_regsvr32 installed machine
run_cscript "$PACKAGE_SCRIPTS/installed.vbs"

# The same package again: still one product.
install_package 0 "install again" "$MACHINE_PACKAGE"
check_eq "1" "$(products | wc -l)" "installed twice, one product"

removed_as_before "remove" "$MACHINE_PACKAGE"
check_file_contains "$PLUGIN_DIR/KW_Orvanta.log" "written by the installed plug-in"
text_files_left "after the removal" before removed

# Another program folder of the imaging software, from the command line; its own files stay.
imaging=$(unixpath 'C:\Imaging\bin')
mkdir -p "$imaging"
printf 'the imaging software\r\n' >"$imaging/ScanSuite.exe"
files_dump other_before
install_package 0 "install into C:\\Imaging\\bin" "$MACHINE_PACKAGE" 'SCANSUITEDIR=C:\Imaging\bin\'
same_file "$ENROLIX_FILE" 'C:\Imaging\bin\Enrolix.exe' "the registration tool in the folder given"
absent_file "$SCANSUITE_BIN\\Enrolix.exe" "nothing in the default folder"
remove_package 0 "remove from C:\\Imaging\\bin" "$MACHINE_PACKAGE"
files_dump other_removed
text_files_left "after the removal from C:\\Imaging\\bin" other_before other_removed
registry_dump other_removed
same_registry before other_removed "after the removal from C:\\Imaging\\bin"

remove_imaging_site
remove_host_files
wine_finish
