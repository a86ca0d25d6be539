#!/usr/bin/env bash
# Creates an empty imaging database for the stand-in (PATIENT.mdf, Empty_PATIENT.mdf or PATIENT.ib).
#   standin/make-database.sh FILE
set -euo pipefail
if [ $# -ne 1 ]; then
    echo "usage: $0 FILE" >&2
    exit 2
fi
if [ -e "$1" ]; then
    echo "$0: $1 already exists" >&2
    exit 1
fi
mkdir -p "$(dirname "$1")"
sqlite3 "$1" < "$(dirname "$0")/patient-schema.sql"
