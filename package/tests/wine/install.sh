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
same_file "$CHECK_FILE" "$SCANSUITE_BIN\\OrvantaCheck.exe" "the site check beside it"
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

# Beside the x86 package, built here from the same files (its DLL is never loaded): its removal leaves this
# package's keys and plug-in working. Wine's 64-bit installer writes most of the x86 package's shared keys into
# the 32-bit view; the type library key is shared all the same. An x86 build runs both packages with their own
# programs in plugin_wine_both_architectures.
if [ "$ARCH" = x64 ]; then
    other_msi=$WINE_TEST_DIR/other/Orvanta-$VERSION-x86.msi
    mkdir -p "$WINE_TEST_DIR/other"
    "$CMAKE" -DARCH=x86 -DSCOPE=machine -DVERSION="$VERSION" -DPLUGIN="$PLUGIN_FILE" -DENROLIX="$ENROLIX_FILE" -DCHECK="$CHECK_FILE" \
        -DGUIDS="$GUIDS" -DWIXL="$WIXL" -DMSIBUILD="$MSIBUILD" -DOUTPUT="$other_msi" -P "$MAKE_PACKAGE" \
        >"$WINE_TEST_DIR/make-package.out" 2>&1 || { cat "$WINE_TEST_DIR/make-package.out"; fail "x86 package not built"; }
    install_package 0 "this build's package" "$MACHINE_PACKAGE"
    registry_dump alone
    install_package 0 "the x86 package beside it" "$other_msi"
    remove_package 0 "the x86 package removed first" "$other_msi"
    registry_dump beside
    # The type library's help folder names the folder of the package installed last.
    check_eq "" "$(LC_ALL=C comm -23 <(registry_added before alone | grep -v '\\HELPDIR\]') \
        <(registry_added before beside))" "the x86 package's removal leaves this package's keys"
    run_cscript "$PACKAGE_SCRIPTS/installed.vbs"
    remove_package 0 "this build's package removed last" "$MACHINE_PACKAGE"
    check_eq "" "$(products)" "no product after both removals"
    rm -rf "$(unixpath "$MACHINE_ORVANTA")" "$(unixpath 'C:\Program Files (x86)\Orvanta')"
fi

remove_imaging_site
remove_host_files
wine_finish
