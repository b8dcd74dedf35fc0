#!/bin/sh
# Runs of the built glimmerbox-icon: the committed icon is exactly what it
# makes, the seed and the time reach the picture, and bad arguments or an
# unwritable place write nothing and leave no temporary behind.
# Usage: icon_tool_test.sh TOOL COMMITTED_ICON
set -u
tool=$1 committed=$2
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/tmp" "$scratch/out"
TMPDIR=$scratch/tmp
export TMPDIR
status=0
fail() { echo "FAIL: $*"; status=1; }

"$tool" --out "$scratch/made.ico" || fail "the tool failed"
cmp "$committed" "$scratch/made.ico" ||
    fail "res/glimmerbox.ico is out of date; make it again: glimmerbox-icon --out res/glimmerbox.ico"
for other in "--seed 3" "--time 5000"; do
    # shellcheck disable=SC2086
    "$tool" $other --out "$scratch/other.ico" || fail "$other: the tool failed"
    cmp -s "$scratch/made.ico" "$scratch/other.ico" && fail "$other makes the same icon"
done

"$tool" --time 25 --out "$scratch/out/x.ico" 2>"$scratch/err"
[ $? -eq 2 ] && [ "$(wc -l <"$scratch/err")" -eq 1 ] || fail "a bad time: not exit 2 with one line: $(cat "$scratch/err")"
"$tool" --out "$scratch/out/missing/x.ico" 2>/dev/null
[ $? -eq 1 ] || fail "an unwritable place: not exit 1"
left=$(find "$scratch/out" "$scratch/tmp" -mindepth 1)
[ -z "$left" ] || fail "files left behind: $left"
exit $status
