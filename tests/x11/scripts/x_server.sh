# Sourced by the X11 program's tests: a private Xvfb, waits with deadlines,
# pixel checks and a failure count; and by the Wine fixture for its servers.

failures=0
# Reports one failure and counts it.
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Starts an X server and waits up to 20 s until it answers. It picks its own
# display number (-displayfd claims it atomically, so parallel runs never
# share a server), and does not reset when its last client leaves (a client
# connecting during the reset would fail). Sets X_SERVER_PID and X_DISPLAY;
# on failure prints the server's log and returns 1.
# Usage: start_x_server <log file> <server command and arguments...>
start_x_server() {
    x_log=$1
    shift
    # Emptied here, not by the background redirection: that one runs later,
    # in the child, and a file left by an earlier run would be read first.
    : >"$x_log.display"
    "$@" -displayfd 3 -noreset -nolisten tcp 3>"$x_log.display" </dev/null >"$x_log" 2>&1 &
    X_SERVER_PID=$!
    x_deadline=$(($(date +%s) + 20))
    while [ "$(date +%s)" -lt "$x_deadline" ] && ! process_gone "$X_SERVER_PID"; do
        X_DISPLAY=:$(cat "$x_log.display" 2>/dev/null)
        if [ "$X_DISPLAY" != : ] && xdpyinfo -display "$X_DISPLAY" >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.05
    done
    kill "$X_SERVER_PID" 2>/dev/null
    echo "FAIL: $* did not start"
    cat "$x_log"
    return 1
}

# Starts Xvfb with GLX or not as the arguments say, sets DISPLAY and XVFB_PID.
# Usage: start_xvfb <log file> [Xvfb arguments]
start_xvfb() {
    XVFB_PID=
    xvfb_log=$1
    shift
    start_x_server "$xvfb_log" Xvfb -screen 0 1024x768x24 "$@" || return 1
    XVFB_PID=$X_SERVER_PID
    export DISPLAY="$X_DISPLAY"
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
