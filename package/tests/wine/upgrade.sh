#!/usr/bin/env bash
# A newer package over this build's: one product left, the newer files, the plug-in's text files as they were,
# the registry exactly as regsvr32 of the newer DLL leaves it; this build's package refused over the newer one;
# removal leaves nothing but the text files. The newer package is built here from copies of the binaries marked
# at their end. Argument: package.conf.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$(dirname "$0")/package_lib.sh"

newer=$WINE_TEST_DIR/newer
mkdir -p "$newer"
cp "$PLUGIN_FILE" "$newer/Orvanta.dll"
cp "$ENROLIX_FILE" "$newer/Enrolix.exe"
cp "$CHECK_FILE" "$newer/OrvantaCheck.exe"
# Bytes after the image change nothing for the loader, but tell the files apart.
printf 'newer' | tee -a "$newer/Orvanta.dll" >>"$newer/Enrolix.exe"
newer_version=$(awk -F. '{ printf "%s.%s.%04d", $1, $2, $3 + 1 }' <<<"$VERSION")
newer_msi=$newer/Orvanta-$newer_version-$ARCH.msi
"$CMAKE" -DARCH="$ARCH" -DSCOPE=machine -DVERSION="$newer_version" -DPLUGIN="$newer/Orvanta.dll" \
    -DENROLIX="$newer/Enrolix.exe" -DCHECK="$newer/OrvantaCheck.exe" -DGUIDS="$GUIDS" -DWIXL="$WIXL" -DMSIBUILD="$MSIBUILD" -DOUTPUT="$newer_msi" \
    -P "$MAKE_PACKAGE" >"$WINE_TEST_DIR/make-package.out" 2>&1 || { cat "$WINE_TEST_DIR/make-package.out"; fail "newer package not built"; wine_finish; }

prepare_site

install_package 0 "this build's package" "$MACHINE_PACKAGE"
PLUGIN_DIR=$(unixpath "$MACHINE_PLUGIN")
run_cscript writelog.vbs True "written before the upgrade"
install_package 0 "the newer package over it" "$newer_msi"
check_file_contains "$PLUGIN_DIR/KW_Orvanta.log" "written before the upgrade"
newer_product=$(awk -F. '{ printf "%d.%d.%d", $1, $2, $3 }' <<<"$newer_version")
check_eq "Orvanta ($ARCH) $newer_product" "$(products)" "one product, the newer one"
same_file "$newer/Orvanta.dll" "$MACHINE_PLUGIN\\Orvanta.dll" "the newer plug-in"
same_file "$newer/Enrolix.exe" "$SCANSUITE_BIN\\Enrolix.exe" "the newer registration tool"
run_cscript "$PACKAGE_SCRIPTS/installed.vbs"
registry_dump upgraded
registered_like_regsvr32 upgraded machine

# Back to the older version: refused, the newer one stays.
install_package 1603 "this build's package over the newer one" "$MACHINE_PACKAGE"
check_eq "Orvanta ($ARCH) $newer_product" "$(products)" "still the newer product"
same_file "$newer/Orvanta.dll" "$MACHINE_PLUGIN\\Orvanta.dll" "still the newer plug-in"

removed_as_before "remove the newer package" "$newer_msi"
text_files_left "after the removal" before removed

remove_imaging_site
remove_host_files
wine_finish
