#!/usr/bin/env bash
# The review benchmark under the Wine harness: a review folder of 100,000 files of which 1,000 are the
# patient's, two of 10,000 files of one patient (each file on a date of its own among 2,100, and 100 sessions
# of 100 images each, a date a session), the plug-in registered, then review_bench and the late-bound calls of
# late_bound.vbs. Prints each figure with its goal and whether it is met, then how many
# goals are met. Exits non-zero only when a figure could not be measured.
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

# The same names in sessions: a date and an hour each, the images of a session a few seconds apart.
make_sessions() {  # folder, key, sessions, images a session
    mkdir -p "$1"
    awk -v key="$2" -v sessions="$3" -v images="$4" 'BEGIN {
        split("OD OS OU", eyes, " ")
        for (s = 0; s < sessions; s++)
            for (k = 0; k < images; k++)
                printf "%s_%d_op_%d_a_b_c_%s_%d-%02d-%02d_%02d-%02d-%02d.jpg\n", key, s * images + k + 1, k,
                    eyes[k % 3 + 1], 2010 + int(s / 12), 1 + s % 12, 1 + (s * 7) % 28, 8 + s % 9,
                    int(k * 5 / 60), (k * 5) % 60
    }' | (cd "$1" && xargs touch)
}

COUNT_DIR=$WINE_TEST_DIR/count
LIST_DIR=$WINE_TEST_DIR/list
SESSIONS_DIR=$WINE_TEST_DIR/sessions
echo "creating 120,000 files ..."
for p in $(seq 0 98); do make_files "$COUNT_DIR" "P$(printf %05d "$p")" 1000 1; done
make_files "$COUNT_DIR" BENCHCOUNT 1000 1
make_files "$LIST_DIR" BENCHLIST 10000 1
make_sessions "$SESSIONS_DIR" BENCHSESSIONS 100 100

remove_host_files
host_praxo
write_equip "[Equipment]" "Number=3" "1=11:a:Orvanta:Review Sorvane" "2=12:b:Orvanta:Review Belcor" \
    "3=13:c:Orvanta:Review Calvane" "[11]" "EquipDataPath=$(winpath "$COUNT_DIR")" \
    "[12]" "EquipDataPath=$(winpath "$LIST_DIR")" "[13]" "EquipDataPath=$(winpath "$SESSIONS_DIR")"
plugin_install "$BUILD/plugin/com/Orvanta.dll" || wine_finish

goals=0
met=0
missed=""
# A figure line that ends in "ratio R (goal at most G)", with its verdict.
report() {  # line
    local ratio goal
    read -r ratio goal < <(sed -n 's/.*ratio \([0-9.]*\) (goal at most \([0-9.]*\)).*/\1 \2/p' <<<"$1")
    goals=$((goals + 1))
    if [ -n "${ratio:-}" ] && awk -v r="$ratio" -v g="$goal" 'BEGIN { exit !(r <= g) }'; then
        met=$((met + 1))
        echo "$1: met"
    else
        missed+="${missed:+, }${1%%:*}"
        echo "$1: NOT met"
    fi
}

code=$(wine_run_tool --timeout 600 "$BUILD/plugin/bench/review_bench.exe" "Review Sorvane" BENCHCOUNT \
    "$(winpath "$COUNT_DIR")" "Review Belcor" BENCHLIST "$(winpath "$LIST_DIR")" "10,000 files on 2,100 dates" \
    "Review Calvane" BENCHSESSIONS "$(winpath "$SESSIONS_DIR")" "10,000 files in 100 sessions")
if [ "$code" = 0 ]; then
    while IFS= read -r line; do report "$line"; done < <(tr -d '\r' <"$WINE_TOOL_OUT")
else
    cat "$WINE_TOOL_ERR" >&2
    fail "review_bench exited with ${code:-nothing}"
fi

code=$(wine_run_tool --timeout 600 "$WINE_CSCRIPT" //nologo "$(winpath "$ORVANTA_SOURCE_DIR/plugin/bench/late_bound.vbs")")
read -r word count orvanta dictionary < <(tr -d '\r' <"$WINE_TOOL_OUT" | grep '^late-bound ')
if [ "$code" = 0 ] && [ "${word:-}" = late-bound ] && [ "${dictionary:-0}" -gt 0 ]; then
    report "$(awk -v n="$count" -v o="$orvanta" -v d="$dictionary" 'BEGIN {
        printf "Late-bound calls: %d property lets and gets of clsOrvanta in %d ms; the same of " \
            "Scripting.Dictionary Item in %d ms; ratio %.2f (goal at most 1.5)\n", n, o, d, o / d }')"
else
    cat "$WINE_TOOL_OUT" "$WINE_TOOL_ERR" >&2
    fail "late_bound.vbs exited with ${code:-nothing}"
fi

plugin_uninstall
remove_host_files
rm -rf "$COUNT_DIR" "$LIST_DIR" "$SESSIONS_DIR"
[ "$WINE_FAILURES" = 0 ] || exit 1
if [ "$met" = "$goals" ]; then
    echo "All $goals goals met."
else
    echo "$met of $goals goals met; not met: $missed."
fi
exit 0
