#!/usr/bin/env bash
# A picture of the image list window with sample rows, for the README. Run under the harness:
#   tests/wine/harness.sh run build/win64 bash plugin/tests/wine/screenshot.sh build/win64 docs/review-window.png
# Arguments: the x64 build folder, the PNG file to write.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$(dirname "$0")/plugin_lib.sh"
BUILD=$1
OUT=$(realpath -m "$2")
export LC_ALL=C.UTF-8

REVIEW=$WINE_TEST_DIR/review
mkdir -p "$REVIEW"
for name in 1048227_3120_op_1_macula_512_128_OD_2026-11-30_09-41-12.jpg \
    1048227_3120_op_2_macula_512_128_OS_2026-11-30_09-43-55.jpg \
    1048227_3120_op_3_disc_200_200_OD_2026-11-30_09-47-03.jpg \
    1048227_2985_op_1_macula_512_128_OD_2026-05-21_14-02-37.jpg \
    1048227_2985_op_2_macula_512_128_OS_2026-05-21_14-05-10.jpg \
    1048227_2711_op_1_line_raster_hd_OU_2025-12-01_10-22-33.jpg; do
    echo image >"$REVIEW/$name"
done
remove_host_files
host_praxo
write_equip "[Equipment]" "Number=1" "1=5:x:Orvanta:Review Sorvane" "[5]" "EquipDataPath=$(winpath "$REVIEW")"
plugin_install "$BUILD/plugin/com/Orvanta.dll" || wine_finish

spawn_cscript review.vbs 104-82-27 "Review Sorvane" direct
uiauto wait-window --title 'Orvanta Images' --timeout-ms 20000 >/dev/null || fail "no list window"
sleep 1  # drawn
mkdir -p "$(dirname "$OUT")"
screenshot_window 'Orvanta Images' "$OUT" || fail "no screenshot"
list_window_rows
uiauto click --title 'Orvanta Images' --button Exit
wait_cscript
plugin_uninstall
remove_host_files
[ -s "$OUT" ] && echo "screenshot: $OUT"
wine_finish
