#!/bin/sh
# The X11 program alone on private Xvfb servers, as a daemon and a user would
# run it: its own window (scene, frame rate, mouse, an X error from another
# client, Q); windows it is given, one of them without a depth buffer (scene,
# --fps corner, a resize reaching the viewport, the window's end); the root
# window (standard files closed, SIGTERM); and a table of signals to a
# program whose server is stopped, and of a server that dies.
# Usage: program_test.sh <glimmerbox>
set -u
program=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_server.sh"
tmp=$(mktemp -d)
pids=
cleanup() {
    # A stopped server would not take the TERM.
    for pid in $pids; do kill -CONT "$pid" 2>/dev/null; kill "$pid" 2>/dev/null; done
    stop_xvfb
    rm -rf "$tmp"
}
trap cleanup EXIT
for tool in Xvfb xdpyinfo xwininfo xev xdotool import identify compare glxinfo wish; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (packages xvfb, x11-utils, xdotool, imagemagick, mesa-utils, tk)"; exit 1; }
done
start_xvfb "$tmp/xvfb.log" +extension GLX || exit 1
echo "Xvfb on $DISPLAY"

# Waits up to 15 s for the process to end; sets ended_ms (from started_ms) and code.
wait_end() {
    if wait_for 15 process_gone "$1"; then
        ended_ms=$(($(now_ms) - started_ms))
        code=0
        wait "$1" || code=$?
        return 0
    fi
    return 1
}

# The signal ends the process promptly, with exit code 0. It takes a few
# milliseconds on a quiet machine; the bound leaves room for a busy one and
# still fails a signal that waits out a long frame delay.
# Usage: signal_ends <TERM or INT> <pid> <what it runs>
signal_ends() {
    kill -"$1" "$2"
    started_ms=$(now_ms)
    if wait_end "$2"; then
        echo "$3: SIG$1 ended it after $ended_ms ms with exit code $code"
        [ "$ended_ms" -lt 5000 ] || fail "$3: SIG$1 took $ended_ms ms"
        [ "$code" -eq 0 ] || fail "$3: exit code $code after SIG$1"
    else
        fail "$3: still running 15 s after SIG$1"
    fi
}

# Standard error must hold nothing: no X error dump, no driver chatter.
quiet() {
    if [ -s "$1" ]; then
        fail "$2 wrote to standard error:"
        cat "$1"
    fi
}

frame_rate() { xdotool getwindowname "$1" | sed -n 's/^Glimmerbox v 1\.0   \[\([0-9]*\) FPS\]$/\1/p'; }
has_frame_rate() { [ -n "$(frame_rate "$1")" ]; }

# --- A window of its own ---------------------------------------------------
"$program" 2>"$tmp/own.err" &
own=$!
pids="$pids $own"
if wait_for 20 xdotool search --name '^Glimmerbox v 1\.0'; then
    window=$(xdotool search --name '^Glimmerbox v 1\.0' | head -n 1)
    size=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
    [ "$size" = 640x480 ] || fail "own window: size $size, not 640x480"
    if wait_for 15 scene_shows "$window" "$tmp"; then
        echo "own window: $SCENE_SEEN"
    else
        fail "own window: no lit, changing cube ($SCENE_SEEN)"
    fi
    if wait_for 10 has_frame_rate "$window"; then
        title=$(xdotool getwindowname "$window")
        echo "own window: title \"$title\""
        # The default delay: 60 frames a second, give or take what the clock
        # loses: the highest of five readings from 58 to 62 (61 is seen on a
        # loaded machine, where a late frame starts the spacing again).
        rates=
        for second in 1 2 3 4 5; do rates="$rates $(frame_rate "$window")"; sleep 1; done
        highest=$(echo "$rates" | tr ' ' '\n' | sort -n | tail -n 1)
        echo "own window: frame rates$rates"
        [ "$highest" -ge 58 ] && [ "$highest" -le 62 ] || fail "own window: at most $highest frames a second at the default delay"
        # A click changes nothing: the scene goes on and Q is still needed.
        xdotool mousemove --window "$window" 320 240 click 1
        if ! wait_for 15 scene_shows "$window" "$tmp" || process_gone "$own"; then
            fail "own window: a mouse click ended it or stopped the scene"
        fi
    else
        fail "own window: the title never showed the frame rate: \"$(xdotool getwindowname "$window")\""
    fi
    # An X error that is not about our window is printed, once, and changes
    # nothing else: another client frees our colormap, which we free again
    # at the end.
    colormap=$(xwininfo -id "$window" | sed -n 's/^ *Colormap: \(0x[0-9a-f]*\).*/\1/p')
    /usr/bin/python3 -c 'import sys, Xlib.display; d = Xlib.display.Display()
d.create_resource_object("colormap", int(sys.argv[1], 16)).free(); d.sync()' "$colormap"
    xdotool mousemove --window "$window" 320 240 key q
    started_ms=$(now_ms)
    if wait_end "$own"; then
        [ "$code" -eq 0 ] || fail "own window: exit code $code after Q"
    else
        fail "own window: still running 15 s after Q"
    fi
    echo "own window: after its colormap $colormap was freed: $(cat "$tmp/own.err")"
    [ "$(grep -c 'BadColor' "$tmp/own.err")" -eq 1 ] && [ "$(wc -l <"$tmp/own.err")" -eq 1 ] ||
        fail "own window: not one line about BadColor after its colormap was freed"
else
    fail "own window: no window titled \"Glimmerbox v 1.0\" appeared"
fi

# --- Windows it is given ----------------------------------------------------
# A double-buffered TrueColor visual without a depth buffer, as 0x...
depthless_visual() {
    glxinfo -v | awk '/^Visual ID:/ { v = $3; truecolor = /class=TrueColor/ }
        /doubleBuffer=/ { double = /doubleBuffer=1/ } truecolor && double && /depthSize=0 / { print "0x" v; exit }'
}
# Usage: given_window <what> <host pid> <host window> <crop of the scene>
given_window() {
    what=$1 host_pid=$2 host=$3
    "$program" --window-id "$host" --fps 2>"$tmp/given.err" &
    given=$!
    pids="$pids $given"
    if wait_for 15 scene_shows "$host" "$tmp" "$4"; then
        echo "$what: $SCENE_SEEN"
    else
        fail "$what: no lit, changing cube ($SCENE_SEEN)"
    fi
    # --fps: white figures in the lower left corner, where the cube never goes.
    fps_corner() {
        import -window "$host" -crop 60x24+0+216 +repage "$tmp/corner.ppm" 2>/dev/null &&
            [ "$(identify -format '%[fx:int(255*minima)]' "$tmp/corner.ppm")" -lt 64 ] &&
            [ "$(identify -format '%[fx:int(255*maxima)]' "$tmp/corner.ppm")" -gt 200 ]
    }
    wait_for 10 fps_corner || fail "$what: no frame rate drawn in the lower left corner with --fps"
    # A resize reaches the viewport: the cube's middle band is centred in the
    # new width (a stale 320x240 viewport keeps the cube in the lower left).
    xdotool windowsize "$host" 640 480
    box=none
    cube_centred() {
        import -window "$host" "$tmp/resized.ppm" 2>/dev/null || return 1
        box=$(convert "$tmp/resized.ppm" -crop 640x80+0+200 +repage -threshold 10% -format '%@' info:)
        width=${box%%x*}
        left=$(echo "$box" | cut -d+ -f2)
        centre=$((left + width / 2))
        [ "$width" -ge 100 ] && [ "$centre" -gt 280 ] && [ "$centre" -lt 360 ]
    }
    if wait_for 10 cube_centred; then
        echo "$what after a resize to 640x480: cube band $box"
    else
        fail "$what: after a resize to 640x480 the cube is not centred (lit band $box)"
    fi
    # The end of the window ends the program, quietly and with exit code 0.
    kill "$host_pid"
    started_ms=$(now_ms)
    if wait_end "$given"; then
        echo "$what destroyed: the program ended after $ended_ms ms with exit code $code"
        [ "$code" -eq 0 ] || fail "$what: exit code $code when its window was destroyed"
    else
        fail "$what: still running 15 s after its window was destroyed"
    fi
    quiet "$tmp/given.err" "$what"
}

xev -geometry 320x240+0+0 -name glimmerbox-host >/dev/null 2>&1 &
host_pid=$!
pids="$pids $host_pid"
if wait_for 20 xdotool search --name '^glimmerbox-host$'; then
    # xev keeps a small window of its own in the top left corner.
    given_window "given window" "$host_pid" "$(xdotool search --name '^glimmerbox-host$' | head -n 1)" 320x150+0+90
else
    fail "no xev window to draw into"
fi

# A window on a visual without a depth buffer, made by Tk, which prints its
# id: a frame in a larger window, so that it can grow.
visual=$(depthless_visual)
printf '%s\n' 'wm withdraw .' 'toplevel .top -width 640 -height 480 -background black' \
    'frame .top.host -visual [lindex $argv 0] -colormap new -width 320 -height 240 -background black' \
    'place .top.host -x 0 -y 0' 'update' 'puts [winfo id .top.host]' 'flush stdout' >"$tmp/host.tcl"
wish "$tmp/host.tcl" "$visual" >"$tmp/host.id" 2>/dev/null &
host_pid=$!
pids="$pids $host_pid"
if [ -n "$visual" ] && wait_for 20 grep -q '^0x' "$tmp/host.id"; then
    given_window "given window without a depth buffer (visual $visual)" "$host_pid" "$(cat "$tmp/host.id")" 320x240+0+0
else
    fail "no Tk window on a visual without a depth buffer (visual \"$visual\")"
fi

# --- The root window, ended by SIGTERM --------------------------------------
# Started with standard input and output closed, as a daemon may: the X
# connection must not take fd 0.
"$program" --root 2>"$tmp/root.err" <&- >&- &
root_run=$!
pids="$pids $root_run"
if wait_for 15 scene_shows root "$tmp" 400x300+312+234; then
    echo "root window: $SCENE_SEEN"
else
    fail "root window: no lit, changing cube ($SCENE_SEEN)"
fi
fd0=$(readlink "/proc/$root_run/fd/0")
[ "$fd0" = /dev/null ] || fail "root window: started with fd 0 closed, fd 0 is $fd0, not /dev/null"
signal_ends TERM "$root_run" "root window"
quiet "$tmp/root.err" "root window"

# --- Signals while the server is stopped, and a server that dies -----------
# Each case on a server of its own. Where the program waits, from its main
# thread's system call (x86-64 numbers): poll is Xlib waiting for the server,
# ppoll the frame wait.
in_call() { [ "$(cut -d' ' -f1 "/proc/$1/syscall" 2>/dev/null)" = "$2" ]; }
poll_call=7
ppoll_call=271

# Usage: server_case <own or given> <TERM, INT or kill> <x-call or frame-wait>
#     <exit code> <lines on standard error> <most milliseconds> [arguments]
server_case() {
    window=$1 event=$2 where=$3 want_code=$4 want_lines=$5 limit_ms=$6
    shift 6
    what="$window window${*:+ $*}: server killed"
    [ "$event" = kill ] || what="$window window${*:+ $*}: SIG$event, server stopped during the $where"
    start_x_server "$tmp/case.log" Xvfb -screen 0 640x480x24 +extension GLX || { fail "$what: no server"; return; }
    server=$X_SERVER_PID
    pids="$pids $server"
    export DISPLAY="$X_DISPLAY"
    if [ "$window" = given ]; then
        xev -geometry 320x240+0+0 -name case-host >/dev/null 2>&1 &
        pids="$pids $!"
        wait_for 20 xdotool search --name '^case-host$' || { fail "$what: no xev window"; return; }
        set -- "$@" --window-id "$(xdotool search --name '^case-host$' | head -n 1)"
    fi
    "$program" "$@" 2>"$tmp/case.err" &
    run=$!
    pids="$pids $run"
    # Drawing first: frames going on, or the first one done and a long wait begun.
    if [ "$where" = frame-wait ]; then
        wait_for 20 in_call "$run" $ppoll_call || { fail "$what: never reached its frame wait"; return; }
    else
        wait_for 20 xdotool search --name '^(Glimmerbox v 1\.0|case-host)$' &&
            wait_for 15 scene_shows "$(xdotool search --name '^(Glimmerbox v 1\.0|case-host)$' | head -n 1)" "$tmp" ||
            { fail "$what: no scene drawn"; return; }
    fi
    if [ "$event" = kill ]; then
        kill -KILL "$server"
    else
        kill -STOP "$server"
        if [ "$where" = x-call ]; then
            wait_for 10 in_call "$run" $poll_call || fail "$what: not waiting for the stopped server"
        else
            in_call "$run" $ppoll_call || fail "$what: not in its frame wait"
        fi
        kill -"$event" "$run"
    fi
    started_ms=$(now_ms)
    if wait_end "$run"; then
        lines=$(wc -l <"$tmp/case.err")
        echo "$what: ended after $ended_ms ms with exit code $code and $lines lines on standard error"
        [ "$ended_ms" -le "$limit_ms" ] || fail "$what: took $ended_ms ms"
        [ "$code" -eq "$want_code" ] || fail "$what: exit code $code, not $want_code"
        # The program's own lines, not a library's.
        if [ "$lines" -ne "$want_lines" ] || grep -qv '^glimmerbox: ' "$tmp/case.err"; then
            fail "$what: not $want_lines lines of its own on standard error:"
            cat "$tmp/case.err"
        fi
    else
        fail "$what: still running 15 s later"
    fi
    kill -CONT "$server" 2>/dev/null
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
}

server_case own TERM x-call 0 0 1000
server_case given INT x-call 0 0 1000
# A stop signal in the frame wait ends the loop; the way out must not wait
# for the server either.
server_case own INT frame-wait 0 0 1000 --delay 10000000
server_case own kill frame-wait 1 1 5000 --delay 10000000

if [ "$failures" -eq 0 ]; then
    echo "PASS: own window, given windows, root window, signals and servers that stop or die"
    exit 0
fi
exit 1
