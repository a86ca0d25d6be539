#!/usr/bin/env bash
# The README's small host, run as the README gives it: its VBScript block through cscript, with the README's
# praxo32.ini and PXEquip.ini examples in the Windows folder and the recorder in place of the registration
# program. The technician exports the README's example file while the waiting box is up; the review window
# must list it as the README says. Arguments: Orvanta.dll, recorder.exe.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$(dirname "$0")/plugin_lib.sh"
export LC_ALL=C.UTF-8  # United States formats
README=$ORVANTA_SOURCE_DIR/README.md

# The first fenced block of language LANG under the heading HEADING (a whole line).
readme_block() {  # heading, language
    awk -v heading="$1" -v fence="\`\`\`$2" '
        $0 == heading { inside = 1; next }
        inside && /^#/ { exit }
        inside && !body && $0 == fence { body = 1; next }
        body && /^```/ { exit }
        body { print }' "$README"
}
# The file name in backticks of the row that starts with CELL in the section HEADING.
readme_row_name() {  # heading, first cell
    awk -v heading="$1" -v cell="| $2 |" '
        $0 == heading { inside = 1; next }
        inside && /^#/ { exit }
        inside && index($0, cell) == 1 { print }' "$README" | sed -n 's/.*| `\([^`]*\)` |$/\1/p'
}
ini_value() { sed -n "s/^$1=//p" | head -n 1; }  # key: its first value in the INI text on input

HOST=$(readme_block '### A small host' vbscript)
PRAXO=$(readme_block "### The host's praxo32.ini" ini)
EQUIP=$(readme_block '### Configuring a capture (PXEquip.ini)' ini)
EXPORTED=$(readme_row_name '### Image file names' 'exported by the device (acquisition folder)')
CAPTURED=$(readme_row_name '### Image file names' 'after the capture (review folder)')
for part in HOST PRAXO EQUIP EXPORTED CAPTURED; do
    [ -n "${!part}" ] || fail "README: no $part example found"
done
[ "$WINE_FAILURES" = 0 ] || wine_finish

# The Windows folder gets the README's files, the data folder its database file, and the registration
# program's place the recorder.
remove_host_files
printf '%s\n' "$PRAXO" | sed 's/$/\r/' >"$WINDOWS_DIR/praxo32.ini"
printf '%s\n' "$EQUIP" | sed 's/$/\r/' >"$WINDOWS_DIR/PXEquip.ini"
data=$(unixpath "$(printf '%s\n' "$PRAXO" | ini_value DataDir)")
mkdir -p "$data"
: >"$data/praxo.mdb"
program=$(unixpath "$(printf '%s\n' "$EQUIP" | ini_value EquipProgPathFName)")
mkdir -p "$(dirname "$program")"
cp "$2" "$program"
rm -f "$program.record"
printf '%s\n' "$HOST" >"$WINE_TEST_DIR/host.vbs"
plugin_install "$1" || wine_finish

WINEDEBUG=fixme+vbscript,err+ole wine_spawn_tool --timeout 90 --bits "$PLUGIN_BITS" \
    "$(wine_system_exe cscript.exe "$PLUGIN_BITS")" //nologo "$(winpath "$WINE_TEST_DIR/host.vbs")"

# The technician: exports two images (the second of the other eye) into the folder the box names, then OK.
text=$(wait_box 'Orvanta Capture' | tr -d '\r') || fail "no waiting box"
acquisition=${text#Waiting for Technician  -  Place files in }
check_eq "Waiting for Technician  -  Place files in $acquisition" "$text" "waiting box"
images=$(unixpath "$acquisition")
check_eq "" "$(find "$images" -maxdepth 1 -type f 2>/dev/null)" "the acquisition folder starts empty"
echo image >"$images/$EXPORTED"
echo image >"$images/${EXPORTED/_OD_/_OS_}"
click_box 'Orvanta Capture' OK >/dev/null || fail "cannot answer the waiting box"

# The user: reads the review window, then closes it.
uiauto wait-window --title 'Orvanta Images' --timeout-ms 30000 >/dev/null || fail "no review window"
rows=$(list_window_rows)
check_eq "$(printf 'Patient #\tExam #\tDate\tTime\tEye')" "$(sed -n 1p <<<"$rows")" "review headers"
check_eq "$(printf '12345\t678\t3/4/2024\t10:15:00.jpg\tOD')" "$(grep -P '\tOD$' <<<"$rows")" \
    "the README's example as the review lists it"
uiauto click --title 'Orvanta Images' --button Exit
code=$(wine_wait_tool) || fail "the host gave no exit code"
check_eq 0 "$code" "the host's exit code"
out=$(cat "$WINE_TOOL_OUT")
check_contains "$out" "capture: Was OK" "capture result"
check_contains "$out" "images: 2 (Last Session: " "count and summary"
check_contains "$out" "Images=2)" "count in the summary"
check_contains "$out" "review: Was OK" "review result"
check_eq "" "$(grep -E 'vbscript|jscript|ole' "$WINE_TOOL_ERR")" "no script errors"

# What the capture did: the registration program started with the patient, the file renamed as the README says.
for _ in $(seq 50); do grep -q $'^end\r$' "$program.record" 2>/dev/null && break; sleep 0.1; done
check_eq "12345|Smith|John|n/a|M|01/02/1960" \
    "$(tr -d '\r' <"$program.record" | sed -n 's/^argv\[[1-6]\]: //p' | paste -sd'|')" "registration arguments"
section=$(printf '%s\n' "$EQUIP" | sed -n 's/^[0-9]*=\([0-9]*\):.*:Orvanta:Review Sorvane$/\1/p')
review=$(unixpath "$(printf '%s\n' "$EQUIP" | awk -v header="[$section]" '
    $0 == header { inside = 1; next }
    /^\[/ { inside = 0 }
    inside && sub(/^EquipDataPath=/, "") { print; exit }')")
check_eq "image" "$(cat "$review/$CAPTURED" 2>/dev/null)" "the capture's file name as the README gives it"
check_eq "" "$(find "$images" -maxdepth 1 -type f)" "the acquisition folder emptied"

plugin_uninstall
remove_host_files
rm -rf "$images" "$review" "$program" "$program.record"
wine_finish
