#!/bin/sh
# Bad input to the X11 program: each case prints one line on standard error
# that names the option (or variable), nothing on standard output, and exits
# with a code from 1 to 125 (no crash, so no core file). The option table
# test covers the wording of every command-line error; these are the ways in
# which the process itself can go wrong.
# Usage: bad_input_test.sh <glimmerbox>
set -u
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_server.sh"
tmp=$(mktemp -d)
plain=
cleanup() {
    [ -z "$plain" ] || kill "$plain" 2>/dev/null
    stop_xvfb
    rm -rf "$tmp"
}
trap cleanup EXIT

# One server without GLX, one with.
start_xvfb "$tmp/plain.log" -extension GLX || exit 1
no_glx=$DISPLAY
plain=$XVFB_PID
XVFB_PID=
start_xvfb "$tmp/glx.log" +extension GLX || exit 1
with_glx=$DISPLAY

# A window id that no client holds: beyond this server's first client's range.
unused_window=0x1fffff0

cases=0
# Usage: check <the word the line must name> <display> [XSCREENSAVER_WINDOW=...] -- <arguments>
check() {
    named=$1 display=$2
    shift 2
    variable=
    [ "$1" = -- ] || { variable=$1; shift; }
    shift
    cases=$((cases + 1))
    mkdir -p "$tmp/run$cases"
    code=0
    # Each case has its own time limit, so a hang fails it alone and soon.
    (
        cd "$tmp/run$cases" || exit 99
        ulimit -c unlimited 2>/dev/null
        if [ -n "$variable" ]; then
            exec timeout -k 5 20 env DISPLAY="$display" "$variable" "$program" "$@"
        else
            exec timeout -k 5 20 env -u XSCREENSAVER_WINDOW DISPLAY="$display" "$program" "$@"
        fi
    ) >"$tmp/out" 2>"$tmp/err" </dev/null || code=$?
    lines=$(wc -l <"$tmp/err")
    line=$(head -n 1 "$tmp/err")
    problem=
    [ "$code" -ge 1 ] && [ "$code" -le 125 ] && [ "$code" -ne 124 ] || problem="exit code $code"
    [ "$code" -ne 124 ] || problem="still running after 20 s"
    [ "$lines" -eq 1 ] || problem="$problem; $lines lines on standard error"
    case "$line" in *"$named"*) ;; *) problem="$problem; the line does not name $named" ;; esac
    [ ! -s "$tmp/out" ] || problem="$problem; output on standard output"
    [ -z "$(ls "$tmp/run$cases")" ] || problem="$problem; left files: $(ls "$tmp/run$cases")"
    if [ -n "$problem" ]; then
        fail "${variable:+$variable }glimmerbox $* on $display: $problem"
        sed 's/^/    /' "$tmp/err"
    else
        echo "ok: ${variable:+$variable }glimmerbox $*: exit $code: $line"
    fi
}

# Every command-line error takes this one way out.
check --bogus "$with_glx" -- --bogus
check --window-id "$with_glx" -- --window-id "$unused_window"
check XSCREENSAVER_WINDOW "$with_glx" XSCREENSAVER_WINDOW="$unused_window" -- --root
check DISPLAY ":1999" -- --window
check GLX "$no_glx" -- --window

if [ "$failures" -eq 0 ]; then
    echo "PASS: $cases bad inputs, one line each"
    exit 0
fi
exit 1
