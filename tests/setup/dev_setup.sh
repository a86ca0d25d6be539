#!/usr/bin/env bash
# ./dev setup against stand-ins for apt-get, dpkg and dpkg-query: a package index that fails to download, x86
# packages that cannot be installed, a kernel without 32-bit code, and x64 packages that cannot be installed.
set -uo pipefail
DEV=$(cd "$(dirname "$0")/../.." && pwd)/dev
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/bin"

# Nothing counts as installed; every call is recorded. APT_FAIL names what fails: update, i386, amd64.
cat >"$WORK/bin/dpkg-query" <<'STUB'
#!/bin/sh
exit 1
STUB
cat >"$WORK/bin/dpkg" <<'STUB'
#!/bin/sh
echo "dpkg $*" >>"$STANDIN_CALLS"
STUB
cat >"$WORK/bin/id" <<'STUB'
#!/bin/sh
echo 0
STUB
cat >"$WORK/bin/apt-get" <<'STUB'
#!/bin/sh
echo "apt-get $*" >>"$STANDIN_CALLS"
case " $* " in
*" update "*)
    case $APT_FAIL in *update*)
        echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
        echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
        exit 100 ;;
    esac ;;
*:i386*)
    case $APT_FAIL in *i386*)
        echo "E: Unable to correct problems, you have held broken packages."
        exit 100 ;;
    esac ;;
*" install "*)
    case $APT_FAIL in *amd64*)
        echo "E: Unable to locate package wixl"
        exit 100 ;;
    esac ;;
esac
exit 0
STUB
chmod +x "$WORK"/bin/*
printf '#!/bin/sh\nexit 42\n' >"$WORK/runs32"
printf '#!/bin/sh\nexit 126\n' >"$WORK/runs64only"
chmod +x "$WORK/runs32" "$WORK/runs64only"

# shellcheck source=../wine/checks.sh
source "$(dirname "$0")/../wine/checks.sh"
# A check on a run of ./dev setup; when it fails, the run's output follows.
check() {  # description, command...
    check_that "$@" || sed 's/^/    /' "$WORK/out" >&2
}

# Each row: name | what apt-get fails | probe | expected exit | expected in the output | x86 status | i386 install tried
while IFS='|' read -r name fail probe code output status tried; do
    [ -n "$name" ] || continue
    build=$WORK/$name
    export STANDIN_CALLS=$WORK/$name.calls APT_FAIL=$fail ORVANTA_BUILD=$build ORVANTA_X86_PROBE=$WORK/$probe
    : >"$STANDIN_CALLS"
    rc=0
    PATH="$WORK/bin:$PATH" ORVANTA_APT_PAUSE=0 "$DEV" setup >"$WORK/out" 2>&1 || rc=$?
    check "$name: exit code $rc, expected $code" [ "$rc" = "$code" ]
    check "$name: output says '$output'" grep -qF "$output" "$WORK/out"
    if [ -n "$status" ]; then
        check "$name: x86 status '$status'" grep -qxF "$status" "$build/x86-status"
    fi
    i386=no
    grep -q 'install.*:i386' "$STANDIN_CALLS" && i386=yes
    check "$name: i386 install tried: $i386, expected $tried" [ "$i386" = "$tried" ]
done <<'ROWS'
index broken, x86 uninstallable|update i386|runs32|0|setup: package index update 3 of 3 failed: E: Failed to fetch|the x86 packages could not be installed: E: Unable to correct problems, you have held broken packages.|yes
x86 uninstallable|i386|runs32|0|setup: x86 left out: the x86 packages could not be installed: E: Unable to correct problems|the x86 packages could not be installed: E: Unable to correct problems, you have held broken packages.|yes
index broken, installs fine|update|runs32|0|setup: going on with the package indexes as they are|ok|yes
kernel without 32-bit code|update i386|runs64only|0|setup: x86 left out: this kernel runs no 32-bit code|this kernel runs no 32-bit code (a tiny i386 program did not run)|no
x64 uninstallable|amd64|runs32|1|setup: the x64 packages could not be installed: E: Unable to locate package wixl||no
ROWS

wine_finish
