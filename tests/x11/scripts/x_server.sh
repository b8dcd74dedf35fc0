# Sourced by the X11 program's tests: a private Xvfb, waits with deadlines,
# pixel checks and a failure count.

failures=0
# Reports one failure and counts it.
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Starts Xvfb on the first free display from 200 up, with any extra arguments,
# and checks that it runs. Sets DISPLAY and XVFB_PID.
# Usage: start_xvfb <log file> [Xvfb arguments]
start_xvfb() {
    xvfb_log=$1
    shift
    n=200
    while [ $n -lt 300 ]; do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp "$@" </dev/null >"$xvfb_log" 2>&1 &
            XVFB_PID=$!
            if wait_for 20 test -S "/tmp/.X11-unix/X$n" && kill -0 "$XVFB_PID" 2>/dev/null &&
                DISPLAY=":$n" wait_for 20 xdpyinfo -display ":$n"; then
                export DISPLAY=":$n"
                return 0
            fi
            kill "$XVFB_PID" 2>/dev/null
        fi
        n=$((n + 1))
    done
    XVFB_PID=
    echo "FAIL: no free X display for Xvfb"
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
