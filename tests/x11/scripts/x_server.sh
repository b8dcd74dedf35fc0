# Sourced by the X11 program's tests: a private Xvfb, waits with deadlines,
# pixel checks and a failure count.

failures=0
# Reports one failure and counts it.
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Starts Xvfb on a display number it picks itself (-displayfd claims it
# atomically, so parallel runs never share a server), with any extra
# arguments, and waits until it answers. Sets DISPLAY and XVFB_PID.
# Usage: start_xvfb <log file> [Xvfb arguments]
start_xvfb() {
    xvfb_log=$1
    shift
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp "$@" 3>"$xvfb_log.display" </dev/null >"$xvfb_log" 2>&1 &
    XVFB_PID=$!
    if wait_for 20 grep -q '^[0-9][0-9]*$' "$xvfb_log.display" &&
        wait_for 20 xdpyinfo -display ":$(cat "$xvfb_log.display")"; then
        export DISPLAY=":$(cat "$xvfb_log.display")"
        return 0
    fi
    kill "$XVFB_PID" 2>/dev/null
    XVFB_PID=
    echo "FAIL: Xvfb did not start"
    cat "$xvfb_log"
    return 1
}

# Stops the server start_xvfb started, if any.
stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    XVFB_PID=
}

# Runs the command every 50 ms until it succeeds or the seconds run out.
# Usage: wait_for <seconds> <command...>
wait_for() {
    deadline=$(($(date +%s) + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# Milliseconds of the monotonic-enough wall clock, for measured waits.
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# True once the process has ended (it may still be a zombie of this shell).
# Read from /proc, which shows every user's processes: kill -0 would fail
# with a permission error for another user's and call it gone.
process_gone() { [ ! -d "/proc/$1" ] || grep -q '^State:.*Z' "/proc/$1/status" 2>/dev/null; }

# Checks a window's pixels: bright, coloured and moving between two captures
# 300 ms apart. Optional crop geometry limits the check to part of it. A
# capture of a window that goes meanwhile can hang, hence the time limit.
# Usage: scene_shows <window> <work folder> [crop]
scene_shows() {
    crop=${3:+-crop $3 +repage}
    # shellcheck disable=SC2086
    timeout 10 import -window "$1" $crop "$2/first.ppm" 2>/dev/null && sleep 0.3 &&
        timeout 10 import -window "$1" $crop "$2/second.ppm" 2>/dev/null || return 1
    brightest=$(identify -format '%[fx:int(255*maxima)]' "$2/first.ppm")
    colours=$(identify -format '%k' "$2/first.ppm")
    changed=$(compare -metric AE "$2/first.ppm" "$2/second.ppm" null: 2>&1)
    SCENE_SEEN="brightest channel $brightest, $colours colours, ${changed%.*} pixels changed in 300 ms"
    [ "$brightest" -gt 64 ] && [ "$colours" -ge 16 ] && [ "${changed%.*}" -gt 0 ]
}
