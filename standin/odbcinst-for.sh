#!/usr/bin/env bash
# Prints an odbcinst.ini that registers the stand-in driver under the tool's two driver names.
#   standin/odbcinst-for.sh LIBRARY > odbcinst.ini
# LIBRARY is libstandin_odbc.so, or a native build folder that holds it in standin/.
# Point unixODBC at the file with ODBCSYSINI=<its folder> and ODBCINSTINI=odbcinst.ini.
set -euo pipefail
if [ $# -ne 1 ]; then
    echo "usage: $0 LIBRARY|NATIVE_BUILD_FOLDER > odbcinst.ini" >&2
    exit 2
fi
library=$1
[ -d "$library" ] && library=$library/standin/libstandin_odbc.so
if [ ! -f "$library" ]; then
    echo "$0: no stand-in driver at $library (build the native target standin_odbc first)" >&2
    exit 1
fi
library=$(cd "$(dirname "$library")" && pwd)/$(basename "$library")
for name in "SQL Server" "Gemini InterBase ODBC Driver 2.0"; do
    printf '[%s]\nDescription = Orvanta database stand-in\nDriver = %s\nFileUsage = 1\n\n' "$name" "$library"
done
