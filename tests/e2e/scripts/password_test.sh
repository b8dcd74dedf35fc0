#!/bin/sh
# The password mode against a recording MPR.DLL placed beside a copy of the
# saver. "provider": with the DLL preferred, each call's arguments are checked;
# "builtin": without it, Wine's own provider is used and nothing is recorded.
# Usage: password_test.sh <environment file> <probe> <saver> <mpr.dll> provider|builtin
set -u
env_file=$1 probe=$2 saver=$3 dll=$4 mode=$5
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d "$(dirname "$env_file")/password.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
cp "$saver" "$tmp/glimmerbox.scr" && cp "$dll" "$tmp/MPR.DLL" || { echo "FAIL: cannot copy the saver and DLL"; exit 1; }
log=$tmp/calls.txt
: >"$log"
GLIMMERBOX_MPR_LOG="Z:$(printf '%s' "$log" | tr / '\\')"
export GLIMMERBOX_MPR_LOG
status=0

# Runs the copy through the probe (no window, exit 0) and compares the record.
run_and_expect() {
    overrides=$1 argument=$2 expected=$3
    E2E_EXTRA_OVERRIDES=$overrides sh "$here/run_wine.sh" "$env_file" "$probe" quiet "$tmp/glimmerbox.scr" "$argument" ||
        status=1
    recorded=$(cat "$log")
    if [ "$recorded" != "$expected" ]; then
        echo "FAIL: after '$argument' with overrides '$overrides' the provider recorded [$recorded], expected [$expected]"
        status=1
    fi
}

case $mode in
provider)
    run_and_expect mpr=n,b "/a 700" "SCRSAVE 700 0 0"
    run_and_expect mpr=n,b "/a" "SCRSAVE 700 0 0
SCRSAVE 0 0 0"
    ;;
builtin)
    run_and_expect "" "/a 700" ""
    ;;
*)
    echo "FAIL: unknown mode $mode"
    status=1
    ;;
esac
exit $status
