#!/usr/bin/env bash
# The review as the host runs it: the list window of a prepared review folder read from outside (rows,
# order, labels, column widths), header clicks, double-clicks that open a file through an association of the
# prefix or report why they cannot, the keyboard, Exit and the close box; an empty list; NumPatientImageFiles
# and LogoToolTip. Arguments: Orvanta.dll, the recorder program.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$(dirname "$0")/plugin_lib.sh"
RECORDER=$2
export LC_ALL=C.UTF-8  # United States formats

LIST_TITLE='Orvanta Images'
BOX_TITLE='Orvanta Interface'
REVIEW=$WINE_TEST_DIR/review
D=a_b_c_d_e  # the device's own fields

# --- The review folder ---
mkdir -p "$REVIEW"
for name in "AB1234XY_77_${D}_OD_2012-05-21_10-22-33.jpg" "AB1234XY_78_${D}_OS_2012-12-01_09-15-00.jpg" \
    "AB1234XY_79_${D}_OU_2012-05-21_08-00-00.xyz" "AB1234XY_80_${D}_OD_20120521_11-00-00.jpg" \
    "AB1234XY_82.jpg" "AB1234XY_87_${D}_OD_2009-01-01_10-00-00.jpg" "ab1234xy_85_${D}_OD_2013-01-01_10-00-00.jpg" \
    "AB1234XYZ_88_${D}_OD_2013-01-01_10-00-00.jpg" "OTHER_89_${D}_OD_2013-01-01_10-00-00.jpg"; do
    echo image >"$REVIEW/$name"
done
mkdir "$REVIEW/AB1234XY_81_${D}_OS_2011-01-01_07-00-00"
NAME60="AB1234XY_83_${D}_OD_2010-03-04_12-00-00_ppppppppppp.jpg"
NAME61="AB1234XY_84_${D}_OD_2010-03-04_11-59-59_pppppppppppp.jpg"
check_eq "60 61" "${#NAME60} ${#NAME61}" "lengths of the long names"
echo image >"$REVIEW/$NAME60"
echo image >"$REVIEW/$NAME61"
HIDDEN="AB1234XY_86_${D}_OD_2014-01-01_10-00-00.jpg"
echo image >"$REVIEW/$HIDDEN"
_wine 30 attrib +h "$(winpath "$REVIEW/$HIDDEN")" >/dev/null 2>&1

remove_host_files
host_praxo
write_equip "[Equipment]" "Number=2" "1=7:x:Orvanta:Capture Sorvane" "2=8:y:Orvanta:Review Sorvane" \
    "[8]" "EquipDataPath=$(winpath "$REVIEW")"
plugin_install "$1" || wine_finish

# .jpg opens in the recorder, which notes its arguments and show state beside itself.
RECORDER_EXE=$WINE_TEST_DIR/viewer/recorder.exe
RECORD=$RECORDER_EXE.record
mkdir -p "${RECORDER_EXE%/*}"
cp "$RECORDER" "$RECORDER_EXE"
_wine 30 reg add 'HKCR\.jpg' /ve /d OrvantaTest.Image /f >/dev/null 2>&1
_wine 30 reg add 'HKCR\OrvantaTest.Image\shell\open\command' /ve /d "\"$(winpath "$RECORDER_EXE")\" \"%1\"" /f \
    >/dev/null 2>&1
# The record of the viewer's next start.
viewer_record() {
    local _
    for _ in $(seq 150); do
        grep -q '^end' "$RECORD" 2>/dev/null && break
        sleep 0.1
    done
    tr -d '\r' <"$RECORD" 2>/dev/null
    rm -f "$RECORD"
}

# --- Reading the window ---
LIST=$WINE_TEST_DIR/list.txt
read_list() { uiauto read-list --title "$LIST_TITLE" >"$LIST" || fail "cannot read the list"; }
column() { grep '^row' "$LIST" | cut -f "$(($1 + 1))" | paste -sd' '; }
list_value() { grep "^$1" "$LIST" | cut -f2; }
# Exam numbers top to bottom.
exams() { read_list; column 2; }
check_widths() {
    local widths needed i
    read -ra widths <<<"$(grep '^width' "$LIST" | cut -f2-)"
    read -ra needed <<<"$(grep '^needed' "$LIST" | cut -f2-)"
    for i in 0 1 2 3 4; do
        check_that "column $((i + 1)) is ${widths[$i]:-?} px wide, its text needs ${needed[$i]:-?}" \
            [ "${widths[$i]:-0}" -ge "${needed[$i]:-1}" ]
    done
}
row_of() { grep '^row' "$LIST" | cut -f3 | grep -nx "$1" | cut -d: -f1; }  # exam -> row (1-based)

# --- A review through DoDeviceFunction ---
spawn_cscript review.vbs AB-1234-XY "Review Sorvane" dispatch
uiauto wait-window --title "$LIST_TITLE" --timeout-ms 20000 >/dev/null || fail "no list window"
read_list
check_eq "$(printf 'header\tPatient #\tExam #\tDate\tTime\tEye')" "$(grep '^header' "$LIST")" "headers"
check_eq "78 77 79 81 83 84 87 80 82.jpg" "$(column 2)" "newest first, texts that are no dates last"
check_eq "12/1/2012 5/21/2012 5/21/2012 1/1/2011 3/4/2010 3/4/2010 1/1/2009 20120521 " "$(column 3)" \
    "dates in the short format, the one that is no date unchanged"
check_eq "09:15:00.jpg 10:22:33.jpg 08:00:00.xyz 07:00:00 12:00:00 11:59:59 10:00:00.jpg 11:00:00.jpg " \
    "$(column 4)" "times"
check_eq "OS OD OU OS OD OD OD OD " "$(column 5)" "eyes"
check_eq "AB1234XY" "$(column 1 | tr ' ' '\n' | sort -u)" "patient column"
check_eq 1 "$(list_value active)" "the newest row is active"
check_widths
controls=$(uiauto dump --title "$LIST_TITLE")
check_contains "$controls" 'text="Double-click a row to display the selected image."' "instructions"
check_contains "$controls" 'text="Click on a column header to sort by that column."' "sort instructions"
check_contains "$controls" 'class="Button" id=2 text="Exit"' "Exit button"

# Header clicks: the date ascending with the eye second, the exam descending (numbers by number, the short
# name's "82.jpg" as text), the eye nothing.
uiauto click-header --title "$LIST_TITLE" --column 3
check_eq "82.jpg 80 87 83 84 81 77 79 78" "$(exams)" "Date header: ascending, eye second"
uiauto click-header --title "$LIST_TITLE" --column 2
check_eq "87 84 83 81 80 79 78 77 82.jpg" "$(exams)" "Exam header: descending by number"
uiauto click-header --title "$LIST_TITLE" --column 5
check_eq "87 84 83 81 80 79 78 77 82.jpg" "$(exams)" "Eye header: no change"
uiauto click-header --title "$LIST_TITLE" --column 2
check_eq "82.jpg 77 78 79 80 81 83 84 87" "$(exams)" "Exam header again: ascending"

# A double-click opens the file through its association, shown normally.
uiauto dblclick-row --title "$LIST_TITLE" --row "$(row_of 77)"
record=$(viewer_record)
check_contains "$record" "argv[1]: $(winpath "$REVIEW")\\AB1234XY_77_${D}_OD_2012-05-21_10-22-33.jpg" \
    "the viewer got the path"
check_contains "$record" "show: 1" "the viewer was started shown"
read_list
check_eq "$(row_of 77)" "$(list_value active)" "the double-clicked row is active"

# 60 and 61 characters: the whole path either way.
uiauto dblclick-row --title "$LIST_TITLE" --row "$(row_of 84)"
check_contains "$(viewer_record)" "argv[1]: $(winpath "$REVIEW")\\$NAME61" "61 characters"
uiauto dblclick-row --title "$LIST_TITLE" --row "$(row_of 83)"
check_contains "$(viewer_record)" "argv[1]: $(winpath "$REVIEW")\\$NAME60" "60 characters"

# No association; a file gone meanwhile.
uiauto dblclick-row --title "$LIST_TITLE" --row "$(row_of 79)"
check_eq "There is no file association for the xyz file type." "$(click_box "$BOX_TITLE" OK)" "no association"
rm -f "$REVIEW/AB1234XY_87_${D}_OD_2009-01-01_10-00-00.jpg"
uiauto dblclick-row --title "$LIST_TITLE" --row "$(row_of 87)"
check_eq "$(printf 'There was a problem executing the default image viewer.\n Check that it is properly installed.')" \
    "$(click_box "$BOX_TITLE" OK)" "missing file"

# The keyboard: arrows move the active row, Enter opens it.
read_list
before=$(list_value active)
uiauto key --title "$LIST_TITLE" --key up
read_list
check_eq "$((before - 1))" "$(list_value active)" "up arrow"
uiauto key --title "$LIST_TITLE" --key home
read_list
check_eq 1 "$(list_value active)" "Home"
uiauto key --title "$LIST_TITLE" --key return
check_contains "$(viewer_record)" "argv[1]: $(winpath "$REVIEW")\\AB1234XY_82.jpg" "Enter opens the active row"

uiauto click --title "$LIST_TITLE" --button Exit
uiauto wait-gone --title "$LIST_TITLE" || fail "Exit did not close the window"
wait_cscript

# --- ReviewDevice directly, closed by the close box ---
spawn_cscript review.vbs AB-1234-XY "Review Sorvane" direct
uiauto wait-window --title "$LIST_TITLE" --timeout-ms 20000 >/dev/null || fail "no list window"
uiauto close --title "$LIST_TITLE" || fail "the close box did not close the window"
wait_cscript

# --- A patient without files: the header row only ---
spawn_cscript review.vbs NO-FILES "Review Sorvane" direct
uiauto wait-window --title "$LIST_TITLE" --timeout-ms 20000 >/dev/null || fail "no list window"
read_list
check_eq "$(printf 'header\tPatient #\tExam #\tDate\tTime\tEye')" "$(grep '^header' "$LIST")" "empty: headers"
check_eq 0 "$(grep -c '^row' "$LIST")" "empty: no rows"
uiauto key --title "$LIST_TITLE" --key escape
uiauto wait-gone --title "$LIST_TITLE" --timeout-ms 3000 || uiauto click --title "$LIST_TITLE" --button Exit
wait_cscript

# --- The count: the sub-folder counts, other case, hidden and the deleted file do not ---
run_cscript count.vbs AB-1234-XY "Capture Sorvane" 8 "$(winpath "$REVIEW")"
run_cscript count.vbs AB-1234-XY "Review Sorvane" 8 "$(winpath "$REVIEW")"
run_cscript count.vbs NOBODY "Review Sorvane" 0 "$(winpath "$REVIEW")"
# --- Names outside the code page, made through the wide file API: counted, listed and opened as they are ---
run_cscript wide_files.js "$(winpath "$REVIEW")" "ZOE1_90_${D}_%u0141_2012-05-21_10-22-33.jpg" \
    "ZOE1_91_Zo%u00EB_b_c_d_e_OS_2012-05-20_10-00-00.jpg"
run_cscript count.vbs ZOE-1 "Review Sorvane" 2 "$(winpath "$REVIEW")"
spawn_cscript review.vbs ZOE-1 "Review Sorvane" direct
uiauto wait-window --title "$LIST_TITLE" --timeout-ms 20000 >/dev/null || fail "no list window"
read_list
check_eq "90 91" "$(column 2)" "outside the code page: both listed"
check_eq "Ł OS" "$(column 5)" "outside the code page: the eye as the name has it"
uiauto dblclick-row --title "$LIST_TITLE" --row 2
check_contains "$(viewer_record)" "wide argv[1]: $(winpath "$REVIEW")\\ZOE1_91_Zoë_b_c_d_e_OS_2012-05-20_10-00-00.jpg" \
    "outside the code page: the viewer got the real path"
uiauto click --title "$LIST_TITLE" --button Exit
wait_cscript
# No review entry: the folder stays as it was, here one that does not exist.
write_equip "[Equipment]" "Number=1" "1=7:x:Orvanta:Capture Sorvane"
run_cscript count.vbs AB-1234-XY "Review Sorvane" 0 'C:\before'

plugin_uninstall
remove_host_files
_wine 30 reg delete 'HKCR\.jpg' /f >/dev/null 2>&1
_wine 30 reg delete 'HKCR\OrvantaTest.Image' /f >/dev/null 2>&1
wine_finish
