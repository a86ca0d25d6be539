#!/usr/bin/env bash
# The capture through cscript as the host runs it, with the recorder named in PXEquip.ini in place of the
# registration program: the arguments it receives, its working folder and show state, the waiting box answered
# OK or Cancel, the files moved and renamed, and a delete that fails. Arguments: Orvanta.dll, recorder.exe,
# holdfile.exe.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$(dirname "$0")/plugin_lib.sh"

RECORDER_DIR=$WINE_TEST_DIR/bin
RECORD=$RECORDER_DIR/Registration.exe.record
IMAGES='C:\Capture\Images'
REVIEW='C:\Capture\Review'
WAITING_TITLE='Orvanta Capture'

# The record of the one start since the last clear, once the recorder has written it.
recorded() {
    local i
    for i in $(seq 100); do
        [ -f "$RECORD" ] && grep -q $'^end\r$' "$RECORD" && break
        sleep 0.1
    done
    if [ -f "$RECORD" ]; then tr -d '\r' <"$RECORD"; else echo missing; fi
}
argument() { recorded | sed -n "s/^argv\[$1\]: //p"; }
images_dir() { unixpath "$IMAGES"; }
review_dir() { unixpath "$REVIEW"; }
listing() { (cd "$1" 2>/dev/null && find . -maxdepth 1 -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' '); }

# One capture: places the files while the waiting box is up, answers it, and any further boxes in order.
capture() {  # case, expected result, waiting answer, files to place ('' for none), then "TITLE=BUTTON"...
    local case=$1 expected=$2 answer=$3 place=$4 script=capture.vbs
    shift 4
    [ "$case" != outside ] && [ "$case" != double-byte ] || script=capture_outside.js
    rm -f "$RECORD"
    spawn_cscript "$script" "$case" "$expected"
    local text
    text=$(wait_box "$WAITING_TITLE") || fail "$case: no waiting box"
    check_eq "Waiting for Technician  -  Place files in $IMAGES" "$(printf '%s' "$text" | tr -d '\r')" \
        "$case: waiting box text"
    local f
    for f in $place; do printf 'image %s' "$f" >"$(images_dir)/$f"; done
    click_box "$WAITING_TITLE" "$answer" >/dev/null || fail "$case: cannot answer $answer"
    local pair
    for pair in "$@"; do click_box "${pair%%=*}" "${pair#*=}" >/dev/null || fail "$case: no box ${pair%%=*}"; done
    wait_cscript
}

remove_host_files
host_praxo
plugin_install "$1" || wine_finish
mkdir -p "$RECORDER_DIR" "$(unixpath 'C:\')/Capture"
rm -rf "$(unixpath 'C:\')/Capture/Images" "$(unixpath 'C:\')/Capture/Review"
cp "$2" "$RECORDER_DIR/Registration.exe"
write_equip "[Equipment]" "Number=2" "1=3:a:Orvanta:Capture Sorvane" "2=4:b:Orvanta:Review Sorvane" \
    "[3]" "EquipProgPathFName=$(winpath "$RECORDER_DIR/Registration.exe")" "EquipDataPath=$IMAGES" \
    "[4]" "EquipDataPath=$REVIEW"
today=$(date +%m/%d/%Y)

# Ordinary names: the nine arguments, the program's folder and show state; the files moved and renamed.
capture ordinary "Was OK" OK "12345_OD_scan.jpg 12345_OS_scan.jpg plain.tif"
check_eq 10 "$(recorded | sed -n 's/^argc: //p')" "ordinary: nine arguments"
check_eq "12345|Smith|John|n/a|M|01/02/1960|n/a|$today|1" \
    "$(for i in 1 2 3 4 5 6 7 8 9; do argument $i; done | paste -sd'|')" "ordinary: the arguments"
check_contains "$(recorded | sed -n 's/^command line: //p')" \
    "\"12345\" \"Smith\" \"John\" \"n/a\" \"M\" \"01/02/1960\" \"n/a\" \"$today\" \"1\"" "ordinary: command line"
check_eq "$(winpath "$RECORDER_DIR")" "$(recorded | sed -n 's/^cwd: //p')" "working folder: the program's folder"
check_eq 5 "$(recorded | sed -n 's/^show: //p')" "show state 5"
check_eq "12345_678_OD_scan.jpg 12345_678_OS_scan.jpg 678_plain.tif " "$(listing "$(review_dir)")" \
    "files renamed into the review folder"
check_eq "" "$(listing "$(images_dir)")" "acquisition folder emptied"
check_eq "image 12345_OD_scan.jpg" "$(cat "$(review_dir)/12345_678_OD_scan.jpg")" "content kept"

# Hostile texts reach the program exactly.
capture hostile "Was OK" OK ""
check_eq 10 "$(recorded | sed -n 's/^argc: //p')" "hostile: nine arguments"
check_eq 'O"Brien|Back\|100% %PATH%' "$(for i in 2 3 4; do argument $i; done | paste -sd'|')" "hostile: names"
capture blanks "Was OK" OK ""
check_eq 10 "$(recorded | sed -n 's/^argc: //p')" "blanks: nine arguments"
check_eq ' ||Feb 2 1960' "$(for i in 4 5 6; do argument $i; done | paste -sd'|')" "blanks: middle, gender, birth"
capture outside "Was OK" OK ""
check_eq 10 "$(recorded | sed -n 's/^argc: //p')" "outside: nine arguments"
check_eq "ABCDEFGHIJKLMNOP|Zo$(printf '\xeb')|Lukasz||F" \
    "$(for i in 1 2 3 6 5; do argument $i; done | LC_ALL=C paste -sd'|')" "outside: the code page's own conversion (best fit)"

# Names outside the code page, made through the wide file API: moved and renamed under their own names.
run_cscript wide_files.js "$IMAGES" K_1_OD.jpg K_%u0141ukasz_OD.jpg K_Zo%u00EB_OS.jpg
capture ordinary "Was OK" OK ""
check_eq "K_678_1_OD.jpg K_678_Zoë_OS.jpg K_678_Łukasz_OD.jpg" "$(cd "$(review_dir)" && ls K_* | LC_ALL=C sort | paste -sd' ')" \
    "outside the code page: moved and renamed"
check_eq "" "$(listing "$(images_dir)")" "outside the code page: acquisition folder emptied"
rm -f "$(review_dir)"/K_*

# Double-byte code pages (Wine takes the code page from the locale): every character arrives whole, for the C
# runtime and for CommandLineToArgvW. The locales are made where they are missing and this runs as root.
have_locale() { locale -a 2>/dev/null | grep -qix "${1/UTF-8/utf8}"; }
for lc in zh_TW.UTF-8 ja_JP.UTF-8; do
    if ! have_locale "$lc" && [ "$(id -u)" = 0 ] && command -v locale-gen >/dev/null; then
        grep -qx "$lc UTF-8" /etc/locale.gen 2>/dev/null || echo "$lc UTF-8" >>/etc/locale.gen
        locale-gen >/dev/null 2>&1
    fi
done
dbcs() {  # locale, argument number, its bytes in that code page
    have_locale "$1" || { fail "$1: locale missing (locales package, /etc/locale.gen, locale-gen)"; return; }
    # The code page from LC_CTYPE; the boxes keep their English buttons.
    local saved_all=${LC_ALL-} saved_ctype=${LC_CTYPE-}
    unset LC_ALL
    export LC_CTYPE=$1 LC_MESSAGES=C.UTF-8
    capture double-byte "Was OK" "#1" ""  # IDOK: the buttons may speak the locale's language
    check_eq 10 "$(recorded | sed -n 's/^argc: //p')" "$1: nine arguments for the C runtime"
    check_eq 10 "$(recorded | sed -n 's/^wide argc: //p')" "$1: nine arguments for CommandLineToArgvW"
    check_eq "$3" "$(printf '%s' "$(argument "$2")" | od -An -tx1 | tr -d ' ')" "$1: argument $2 whole for the C runtime"
    check_eq "許|表|n/a" "$(for i in 2 3 4; do recorded | sed -n "s/^wide argv\[$i\]: //p"; done | paste -sd'|')" \
        "$1: the names whole for CommandLineToArgvW"
    export LC_CTYPE=$saved_ctype
    [ -z "$saved_all" ] || export LC_ALL=$saved_all
}
dbcs zh_TW.UTF-8 2 b35c
dbcs ja_JP.UTF-8 3 955c

# Cancel, then No keeps the files; Cancel, then Yes deletes them; the box closed counts as Cancel.
capture ordinary "Was OK" Cancel "a_1.jpg" "Attention=No"
check_eq "a_1.jpg " "$(listing "$(images_dir)")" "Cancel and No: the file stays"
capture ordinary "Was OK" Cancel "" "Attention=Yes"
check_eq "" "$(listing "$(images_dir)")" "Cancel and Yes: the file is deleted"

# A file held open cannot be deleted: marker 6, the error reported, the file in both folders.
printf 'held' >"$(images_dir)/12345_held.jpg"
_wine_bg "$WINE_TEST_DIR/hold" 120 "$3" "$(images_dir)/12345_held.jpg" "$WINE_TEST_DIR/stop"
for i in $(seq 100); do grep -q held "$WINE_TEST_DIR/hold.out" 2>/dev/null && break; sleep 0.1; done
rm -f "$PLUGIN_DIR/Orvanta.log" "$PLUGIN_DIR/PX_IF_Orvanta.err"
capture ordinary "" OK "" "$ERROR_TITLE=OK"
touch "$WINE_TEST_DIR/stop"
_wine_bg_wait "$WINE_TEST_DIR/hold" 30
error=" CaptureDevice, Err Number: 70 Err Description: Permission denied 6"
check_file_contains "$PLUGIN_DIR/Orvanta.log" "$error"
check_file_contains "$PLUGIN_DIR/PX_IF_Orvanta.err" " Error in: $error"
check_file_contains "$PLUGIN_DIR/PX_IF_Orvanta.err" "      Error Num=70  Permission denied"
check_eq "12345_held.jpg " "$(listing "$(images_dir)")" "held file stays in the acquisition folder"
check_eq "held" "$(cat "$(review_dir)/12345_678_held.jpg" 2>/dev/null)" "and its copy is in the review folder"

# No program: "File Not Found", nothing started.
write_equip "[Equipment]" "Number=1" "1=3:a:Orvanta:Capture Sorvane" \
    "[3]" "EquipProgPathFName=C:\\Missing\\Registration.exe" "EquipDataPath=$IMAGES"
rm -f "$RECORD"
answer_box Attention OK
run_cscript capture.vbs ordinary ""
check_eq "File Not Found" "$(await_box Attention | tr -d '\r')" "missing program: File Not Found"
check_eq missing "$(if [ -f "$RECORD" ]; then echo started; else echo missing; fi)" "missing program: nothing started"

# Refused or failed starts: the error reported, nothing started or moved, no waiting box (the error box answered
# first would fail the scenario). The case, then PXEquip.ini's lines.
refused() {
    local case=$1 description=$2
    shift 2
    write_equip "$@"
    rm -f "$RECORD" "$PLUGIN_DIR/Orvanta.log"
    answer_box "$ERROR_TITLE" OK
    run_cscript capture.vbs ordinary ""
    check_contains "$(await_box "$ERROR_TITLE" | tr -d '\r')" "$description" "$case: the error box"
    check_file_contains "$PLUGIN_DIR/Orvanta.log" "$description"
    echo "$case: $(tr -d '\r' <"$PLUGIN_DIR/Orvanta.log" | tail -1)"
}
programs=$(unixpath "$HOST_PROGRAMS")
mkdir -p "$programs"
printf 'host' >"$programs/praxo32.exe"
rm -f "$(images_dir)"/*
printf 'image' >"$(images_dir)/12345_OD.jpg"
rm -f "$(review_dir)"/*
# Without an entry for the name the acquisition folder is the host programs folder: refused before anything.
refused unconfigured "is the host programs folder" "[Equipment]" "Number=0"
check_eq "praxo32.exe " "$(listing "$programs")" "unconfigured: the host's file stays in place"
check_eq missing "$([ -d "$programs/Data" ] && echo created || echo missing)" "unconfigured: no Data folder made"
refused "review is acquisition" "is the acquisition folder" "[Equipment]" "Number=2" \
    "1=3:a:Orvanta:Capture Sorvane" "2=4:b:Orvanta:Review Sorvane" \
    "[3]" "EquipProgPathFName=$(winpath "$RECORDER_DIR/Registration.exe")" "EquipDataPath=$IMAGES" \
    "[4]" "EquipDataPath=${IMAGES,,}\\"
# A file that is not a program cannot start: the shell's answer at marker 4.
printf 'not a program' >"$RECORDER_DIR/NotAProgram.exe"
refused "not a program" "could not be started: " "[Equipment]" "Number=1" "1=3:a:Orvanta:Capture Sorvane" \
    "[3]" "EquipProgPathFName=$(winpath "$RECORDER_DIR/NotAProgram.exe")" "EquipDataPath=$IMAGES"
check_contains "$(tr -d '\r' <"$PLUGIN_DIR/Orvanta.log")" ") 4" "not a program: marker 4"
check_eq "12345_OD.jpg " "$(listing "$(images_dir)")" "refusals and failed start: nothing moved"
check_eq "" "$(listing "$(review_dir)")" "refusals and failed start: nothing in the review folder"
check_eq missing "$(if [ -f "$RECORD" ]; then echo started; else echo missing; fi)" "refusals: nothing started"
rm -rf "$programs"

plugin_uninstall
remove_host_files
wine_finish
