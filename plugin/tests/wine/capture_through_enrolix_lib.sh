# A capture through Orvanta.dll with the real Enrolix.exe against the stand-in. Sourced after lib.sh, site.sh
# (e2e_init done) and the plug-in's plugin_lib.sh.
#
#   capture_site DLL        the usual local SQL Server site, the plug-in registered, praxo32.ini, and PXEquip.ini
#                           naming the acquisition folder C:\Capture\Images and the review folder C:\Capture\Review
#   capture_host_files      only praxo32.ini and PXEquip.ini of that site, and an empty C:\Capture
#   capture_run FILE...     the host script sets patient Smith, John (12-345, exam 678) and runs "Capture Sorvane";
#                           FILE... are placed in the acquisition folder while the waiting box is up, then it is
#                           answered OK; waits for Enrolix's first visit. CAPTURE_COMMAND_LINE is the command line
#                           Enrolix was started with.
#   capture_review_files    the review folder's files, one a line

CAPTURE_IMAGES='C:\Capture\Images'
CAPTURE_REVIEW='C:\Capture\Review'
CAPTURE_COMMAND_LINE=""

capture_site() {  # Orvanta.dll
    e2e_local_sql_site WS01
    plugin_install "$1" || return 1
    capture_host_files
}

# praxo32.ini and PXEquip.ini of that site, and an empty C:\Capture.
capture_host_files() {
    remove_host_files
    host_praxo
    local c
    c=$(unixpath 'C:\')
    rm -rf "$c/Capture"
    mkdir -p "$c/Capture"
    write_equip "[Equipment]" "Number=2" "1=3:a:Orvanta:Capture Sorvane" "2=4:b:Orvanta:Review Sorvane" \
        "[3]" "EquipDataPath=$CAPTURE_IMAGES" "[4]" "EquipDataPath=$CAPTURE_REVIEW"
}

capture_run() {  # files to place
    CSCRIPT_TRACE=+process spawn_cscript capture.vbs ordinary "Was OK" || return 1
    wait_box "Orvanta Capture" >/dev/null || fail "no waiting box"
    local images f i
    images=$(unixpath "$CAPTURE_IMAGES")
    for f in "$@"; do printf 'exported image %s\r\n' "$f" >"$images/$f"; done
    click_box "Orvanta Capture" OK >/dev/null || fail "cannot answer the waiting box"
    wait_cscript
    for i in $(seq 150); do
        [ "$(e2e_sql "$E2E_LOCAL_MDF" "SELECT count(*) FROM VISIT")" = 0 ] || break
        sleep 0.2
    done
    # Wine's process trace shows the command line as debugstr_w writes it: \" for ", \\ for \.
    CAPTURE_COMMAND_LINE=$(grep -a 'CreateProcessInternalW' "$WINE_TOOL_ERR" | grep -a -i 'Enrolix' | head -n 1 |
        sed -e 's/.*cmdline L"//' -e 's/"$//' -e 's/\\"/"/g' -e 's/\\\\/\\/g')
}

capture_review_files() { (cd "$(unixpath "$CAPTURE_REVIEW")" && find . -maxdepth 1 -type f | sed 's|^\./||' | sort); }
