# The checks of the shell test scripts: each check is counted, each failure counted and reported on stderr,
# and wine_finish ends the script with the verdict. lib.sh brings them to the Wine scenarios; a script that runs
# without Wine sources this file itself.
#
#   check_eq EXPECTED ACTUAL WHAT
#   check_contains TEXT PART WHAT
#   check_that WHAT [!] COMMAND...   the command succeeds (with "!": fails); returns 1 when the check failed
#   check_file_contains FILE PART
#   matches TEXT PATTERN             TEXT matches the extended regular expression (for check_that)
#   fail MESSAGE
#   wine_finish

WINE_FAILURES=0
WINE_CHECKS=0

fail() {
    WINE_FAILURES=$((WINE_FAILURES + 1))
    echo "FAIL: $*" >&2
}

check_eq() {  # expected, actual, what
    WINE_CHECKS=$((WINE_CHECKS + 1))
    if [ "$1" = "$2" ]; then
        echo "ok: $3"
    else
        fail "$3: expected [$1], got [$2]"
    fi
}

check_contains() {  # text, part, what
    WINE_CHECKS=$((WINE_CHECKS + 1))
    case $1 in
        *"$2"*) echo "ok: $3" ;;
        *) fail "$3: [$2] not in [$1]" ;;
    esac
}

# The command's success is the check; with "!" first, its failure. Returns 1 when the check failed, so that a
# caller can add details: check_that "files as before" cmp -s a b || diff a b >&2
check_that() {  # what, [!] command...
    local what=$1 expected=0 rc=0
    shift
    if [ "${1:-}" = '!' ]; then
        expected=1
        shift
    fi
    WINE_CHECKS=$((WINE_CHECKS + 1))
    "$@" || rc=1
    if [ "$rc" = "$expected" ]; then
        echo "ok: $what"
        return 0
    fi
    fail "$what"
    return 1
}

# Whether TEXT matches the extended regular expression; BASH_REMATCH holds the groups afterwards.
matches() { [[ $1 =~ $2 ]]; }  # text, pattern

check_file_contains() {  # file, part
    WINE_CHECKS=$((WINE_CHECKS + 1))
    if [ -f "$1" ] && grep -qF -- "$2" "$1"; then
        echo "ok: $1 holds [$2]"
    else
        fail "$1 does not hold [$2]"
    fi
}

wine_finish() {
    if [ "$WINE_FAILURES" -ne 0 ]; then
        echo "$WINE_FAILURES of $WINE_CHECKS checks failed" >&2
        exit 1
    fi
    echo "all $WINE_CHECKS checks passed"
    exit 0
}
