#!/usr/bin/env bash
# The review benchmark under the Wine harness: a review folder of 100,000 files of which 1,000 are the
# patient's, another of 10,000 files of one patient, the plug-in registered, then review_bench.
# Arguments: the x64 build folder.
set -uo pipefail
source "$ORVANTA_WINE_LIB"
source "$ORVANTA_SOURCE_DIR/plugin/tests/wine/plugin_lib.sh"
BUILD=$(cd "$1" && pwd)

# Image file names: key, exam, five device fields, eye, date, time.
make_files() {  # folder, key, count, first exam
    mkdir -p "$1"
    awk -v key="$2" -v n="$3" -v first="$4" 'BEGIN {
        split("OD OS OU", eyes, " ")
        for (i = 0; i < n; i++)
            printf "%s_%d_op_%d_a_b_c_%s_%d-%02d-%02d_%02d-%02d-%02d.jpg\n", key, first + i, i, eyes[i % 3 + 1],
                2000 + i % 25, 1 + i % 12, 1 + i % 28, i % 24, i % 60, (i * 7) % 60
    }' | (cd "$1" && xargs touch)
}

COUNT_DIR=$WINE_TEST_DIR/count
LIST_DIR=$WINE_TEST_DIR/list
echo "creating 110,000 files ..."
for p in $(seq 0 98); do make_files "$COUNT_DIR" "P$(printf %05d "$p")" 1000 1; done
make_files "$COUNT_DIR" BENCHCOUNT 1000 1
make_files "$LIST_DIR" BENCHLIST 10000 1

remove_host_files
host_praxo
write_equip "[Equipment]" "Number=2" "1=11:a:Orvanta:Review Sorvane" "2=12:b:Orvanta:Review Belcor" \
    "[11]" "EquipDataPath=$(winpath "$COUNT_DIR")" "[12]" "EquipDataPath=$(winpath "$LIST_DIR")"
plugin_install "$BUILD/plugin/com/Orvanta.dll" || wine_finish

code=$(wine_run_tool --timeout 600 "$BUILD/plugin/bench/review_bench.exe" "Review Sorvane" BENCHCOUNT \
    "$(winpath "$COUNT_DIR")" "Review Belcor" BENCHLIST "$(winpath "$LIST_DIR")")
cat "$WINE_TOOL_OUT"
[ "$code" = 0 ] || { cat "$WINE_TOOL_ERR" >&2; fail "review_bench exited with ${code:-nothing}"; }
plugin_uninstall
remove_host_files
rm -rf "$COUNT_DIR" "$LIST_DIR"
wine_finish
