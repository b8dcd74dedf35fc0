#!/bin/sh
# Runs a Windows program under wine64 for ctest. Wine's helper processes must
# not inherit ctest's pipes (ctest would wait for them), so its output goes to
# a file that is printed afterwards, and stdin is closed.
# Usage: run_wine.sh <environment file> <program> [arguments...]
. "$1"
shift
log=$(mktemp)
"$E2E_WINE" "$@" </dev/null >"$log" 2>&1
status=$?
cat "$log"
rm -f "$log"
exit $status
