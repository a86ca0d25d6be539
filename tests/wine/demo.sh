#!/usr/bin/env bash
# The demo: Windows x64 programs of the build, run under Wine on a headless display of their own, against
# the ODBC stand-in of the native build.
#
#   tests/wine/demo.sh BUILD_ROOT      (./dev demo passes its build folder; the x64 build is BUILD_ROOT/win64,
#                                       the stand-in BUILD_ROOT/native/standin/libstandin_odbc.so)
#
# Boots a fresh Wine prefix, runs each step with its message boxes answered automatically, shows what
# each step displayed, wrote and returned, and stops Wine and the display again.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=${1:?usage: demo.sh BUILD_ROOT}
BUILD=$ROOT/win64
[ -d "$BUILD" ] || { echo "demo: no x64 build in $BUILD (run ./dev build)" >&2; exit 1; }

HARNESS=$HERE/harness.sh
trap 'bash "$HARNESS" stop "$BUILD"' EXIT
bash "$HARNESS" start "$BUILD"
bash "$HARNESS" run "$BUILD" bash "$HERE/demo-steps.sh" "$BUILD" "$ROOT/native"
