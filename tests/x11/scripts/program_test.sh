#!/bin/sh
# The X11 program alone on a private Xvfb, as a daemon and a user would run it:
# its own window (scene, frame-rate title, mouse, Q), a window it is given
# (scene, --fps corner, a resize reaching the viewport, the window's end), the
# root window (SIGTERM) and a long --delay that SIGINT must cut short.
# Usage: program_test.sh <glimmerbox>
set -u
program=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_server.sh"
tmp=$(mktemp -d)
pids=
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    stop_xvfb
    rm -rf "$tmp"
}
trap cleanup EXIT
for tool in Xvfb xdpyinfo xev xdotool import identify compare; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (packages xvfb, x11-utils, xdotool, imagemagick)"; exit 1; }
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
        # The default delay: at most 60 frames a second.
        [ "$(frame_rate "$window")" -le 60 ] || fail "own window: $(frame_rate "$window") frames a second at the default delay"
        # A click changes nothing: the scene goes on and Q is still needed.
        xdotool mousemove --window "$window" 320 240 click 1
        if ! wait_for 15 scene_shows "$window" "$tmp" || process_gone "$own"; then
            fail "own window: a mouse click ended it or stopped the scene"
        fi
    else
        fail "own window: the title never showed the frame rate: \"$(xdotool getwindowname "$window")\""
    fi
    xdotool mousemove --window "$window" 320 240 key q
    started_ms=$(now_ms)
    if wait_end "$own"; then
        [ "$code" -eq 0 ] || fail "own window: exit code $code after Q"
    else
        fail "own window: still running 15 s after Q"
    fi
else
    fail "own window: no window titled \"Glimmerbox v 1.0\" appeared"
fi
quiet "$tmp/own.err" "own window"

# --- A window it is given ---------------------------------------------------
xev -geometry 320x240+0+0 -name glimmerbox-host >/dev/null 2>&1 &
host_pid=$!
pids="$pids $host_pid"
if wait_for 20 xdotool search --name '^glimmerbox-host$'; then
    host=$(xdotool search --name '^glimmerbox-host$' | head -n 1)
    "$program" --window-id "$host" --fps 2>"$tmp/given.err" &
    given=$!
    pids="$pids $given"
    # xev keeps a small window of its own in the top left corner.
    if wait_for 15 scene_shows "$host" "$tmp" 320x150+0+90; then
        echo "given window: $SCENE_SEEN"
    else
        fail "given window: no lit, changing cube ($SCENE_SEEN)"
    fi
    # --fps: white figures in the lower left corner, where the cube never goes.
    fps_corner() {
        import -window "$host" -crop 60x24+0+216 +repage "$tmp/corner.ppm" 2>/dev/null &&
            [ "$(identify -format '%[fx:int(255*minima)]' "$tmp/corner.ppm")" -lt 64 ] &&
            [ "$(identify -format '%[fx:int(255*maxima)]' "$tmp/corner.ppm")" -gt 200 ]
    }
    wait_for 10 fps_corner || fail "given window: no frame rate drawn in the lower left corner with --fps"
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
        echo "given window after a resize to 640x480: cube band $box"
    else
        fail "given window: after a resize to 640x480 the cube is not centred (lit band $box)"
    fi
    # The end of the window ends the program, quietly and with exit code 0.
    kill "$host_pid"
    started_ms=$(now_ms)
    if wait_end "$given"; then
        echo "given window destroyed: the program ended after $ended_ms ms with exit code $code"
        [ "$code" -eq 0 ] || fail "given window: exit code $code when its window was destroyed"
    else
        fail "given window: still running 15 s after its window was destroyed"
    fi
    quiet "$tmp/given.err" "given window"
else
    fail "no xev window to draw into"
fi

# --- The root window, ended by SIGTERM --------------------------------------
"$program" --root 2>"$tmp/root.err" &
root_run=$!
pids="$pids $root_run"
if wait_for 15 scene_shows root "$tmp" 400x300+312+234; then
    echo "root window: $SCENE_SEEN"
else
    fail "root window: no lit, changing cube ($SCENE_SEEN)"
fi
signal_ends TERM "$root_run" "root window"
quiet "$tmp/root.err" "root window"

# --- SIGINT cuts a 10 s frame delay short -----------------------------------
"$program" --window --delay 10000000 2>"$tmp/slow.err" &
slow=$!
pids="$pids $slow"
# The signals are held from before the window exists, so once it is there a
# signal is not lost.
if wait_for 20 xdotool search --name '^Glimmerbox v 1\.0'; then
    signal_ends INT "$slow" "--delay 10000000"
else
    fail "--delay 10000000: no window appeared"
fi
quiet "$tmp/slow.err" "--delay 10000000"

if [ "$failures" -eq 0 ]; then
    echo "PASS: own window, given window, root window and signals"
    exit 0
fi
exit 1
