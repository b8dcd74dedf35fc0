#!/bin/sh
# The Wayland program on headless sway, as idle daemons, lock screens and
# users run it: a table of cases, each started on outputs of its own size
# and scale, observed with grim, wtype, swaymsg and /proc.
# Usage: program_test.sh <glimmerbox-wl>
set -u
program=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../x11/scripts/x_server.sh"
. "$here/sway.sh"
for tool in sway swaymsg swayidle grim wtype weston-simple-egl python3 identify compare; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (packages sway, swayidle, grim, wtype, weston, python3, imagemagick)"; exit 1; }
done
tmp=$(mktemp -d)
chmod 755 "$tmp"
pids=
sway_pid=
cleanup() {
    for pid in $pids $sway_pid; do kill -CONT "$pid" 2>/dev/null; kill "$pid" 2>/dev/null; done
    [ -n "${KEEP:-}" ] || rm -rf "$tmp"
}
trap cleanup EXIT
# dash runs the EXIT trap on a signal only through a trap of that signal.
trap 'exit 130' INT
trap 'exit 143' TERM

# HEADLESS-1 refreshes at 120 Hz, so that a client paced by --delay shows its
# own rate; HEADLESS-2, made on demand, has scale 2.
printf '%s\n' 'xwayland disable' 'output HEADLESS-1 mode --custom 320x240@120Hz' \
    'output HEADLESS-2 resolution 640x480 scale 2' 'output HEADLESS-3 resolution 320x240' >"$tmp/config"
# The scene on one output: bright, coloured and moving between two shots.
# Sets SEEN; with "dark", true when the output shows no scene instead.
shows_scene() {
    grim -o "$1" -t ppm "$tmp/first.ppm" && sleep 0.2 && grim -o "$1" -t ppm "$tmp/second.ppm" || return 1
    brightest=$(identify -format '%[fx:int(255*maxima)]' "$tmp/first.ppm")
    colours=$(identify -format '%k' "$tmp/first.ppm")
    changed=$(compare -metric AE "$tmp/first.ppm" "$tmp/second.ppm" null: 2>&1)
    SEEN="$1: $(identify -format '%wx%h' "$tmp/first.ppm"), brightest $brightest, $colours colours, ${changed%.*} pixels changed"
    if [ "${2:-}" = dark ]; then [ "$brightest" -le 64 ]; else [ "$brightest" -gt 64 ] && [ "$colours" -ge 16 ] && [ "${changed%.*}" -gt 0 ]; fi
}
# Usage: expect_scene <case> <output> [dark]
expect_scene() {
    if wait_for 15 shows_scene "$2" "${3:-}"; then echo "$1: $SEEN"; else fail "$1: ${3:-no} scene where expected: $SEEN"; fi
}

# Starts the program in the background with the arguments; sets run.
# Usage: start <case> [arguments...]
start() {
    name=$1
    shift
    "$program" "$@" 2>"$tmp/$name.err" &
    run=$!
    pids="$pids $run"
}
# Waits for the end of run, then checks its time, exit code and lines on
# standard error (each its own, "glimmerbox-wl: ...").
# Usage: expect_end <case> <most ms> <exit code> <lines> [text the line has]
expect_end() {
    started_ms=$(now_ms)
    if wait_for 10 process_gone "$run"; then
        ended_ms=$(($(now_ms) - started_ms))
        code=0
        wait "$run" || code=$?
        lines=$(wc -l <"$tmp/$1.err")
        echo "$1: ended after $ended_ms ms, exit code $code, $lines lines on standard error $(head -n 1 "$tmp/$1.err")"
        [ "$ended_ms" -le "$2" ] || fail "$1: took $ended_ms ms, more than $2"
        [ "$code" -eq "$3" ] || fail "$1: exit code $code, not $3"
        if [ "$lines" -ne "$4" ] || grep -qv '^glimmerbox-wl: ' "$tmp/$1.err" ||
            { [ -n "${5:-}" ] && ! grep -q "$5" "$tmp/$1.err"; }; then
            fail "$1: not $4 lines of its own${5:+ naming $5} on standard error:"
            cat "$tmp/$1.err"
        fi
    else
        fail "$1: still running 10 s later"
    fi
}

start_sway "$tmp" HEADLESS-2

# --- Overlay on every output (an idle daemon's use) ---------------------------
# fds 0 and 1 closed at the start: the connection must not take them.
"$program" 2>"$tmp/overlay.err" <&- >&- &
run=$!
pids="$pids $run"
expect_scene overlay HEADLESS-1
expect_scene overlay HEADLESS-2
fd0=$(readlink "/proc/$run/fd/0")
[ "$fd0" = /dev/null ] || fail "overlay: started with fd 0 closed, fd 0 is $fd0, not /dev/null"
# Scale 2 is drawn at full resolution, not as a half-size picture doubled.
grim -o HEADLESS-2 -t ppm "$tmp/hidpi.ppm"
convert "$tmp/hidpi.ppm" -sample 50% -sample 200% "$tmp/doubled.ppm"
doubled=$(compare -metric AE "$tmp/hidpi.ppm" "$tmp/doubled.ppm" null: 2>&1)
echo "overlay: HEADLESS-2 at scale 2: ${doubled%.*} pixels differ from the shot halved and doubled"
[ "${doubled%.*}" -gt 1000 ] || fail "overlay: HEADLESS-2 at scale 2 is drawn at half resolution"
# An output added gets a surface.
swaymsg create_output >/dev/null
expect_scene "overlay, output added" HEADLESS-3
# A scale set while it runs: the buffer follows it, and the cube stays in the
# middle (sway shows the old buffer off it at once, so no shot passes early).
swaymsg output HEADLESS-3 scale 2 >/dev/null
centred() { grim -o HEADLESS-3 -t ppm "$tmp/rescaled.ppm" && [ "$(convert "$tmp/rescaled.ppm" -fuzz 10% -trim -format \
    '%[fx:abs(page.x+w/2-page.width/2)<page.width/10 && abs(page.y+h/2-page.height/2)<page.height/10]' info:)" = 1 ]; }
wait_for 10 centred || fail "overlay: HEADLESS-3, set to scale 2 while it runs, has its cube off the middle"
# Any key ends it, with exit code 0. wtype's keyboard comes and goes with
# it, so it types until the program has seen a key.
swaymsg focus output HEADLESS-1 >/dev/null
key_ends() { wtype -s 300 q; process_gone "$run"; }
wait_for 10 key_ends
expect_end overlay 2000 0 0

# --- An output that goes: a nested sway loses one of its window outputs ------
printf 'xwayland disable\n' >"$tmp/nested.config"
env WLR_BACKENDS=wayland WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman $run_as sway -c "$tmp/nested.config" \
    >"$tmp/nested.log" 2>&1 &
nested=$!
pids="$pids $nested"
nested_ipc="$XDG_RUNTIME_DIR/sway-ipc.$(if [ -n "$run_as" ]; then echo 65534; else id -u; fi).$nested.sock"
if wait_for 20 swaymsg -s "$nested_ipc" create_output; then
    export WAYLAND_DISPLAY=wayland-2
    start nested
    expect_scene nested WL-1
    expect_scene nested WL-2
    swaymsg -s "$SWAYSOCK" '[title="WL-2$"] kill' >/dev/null
    wl2_gone() { ! swaymsg -s "$nested_ipc" -t get_outputs | grep -q '"WL-2"'; }
    wait_for 10 wl2_gone || fail "nested: WL-2 still there 10 s after its window was closed"
    expect_scene "nested, WL-2 gone" WL-1
    kill "$run"
    expect_end nested 1000 0 0
    export WAYLAND_DISPLAY=wayland-1
else
    fail "nested sway did not start:"
    cat "$tmp/nested.log"
fi
kill "$nested"

# --- A wallpaper on the bottom layer, on one output --------------------------
# A full-screen window over HEADLESS-1 stops its frames there, and holds back
# none on HEADLESS-2; SIGTERM ends it.
start bottom --layer bottom
expect_scene bottom HEADLESS-1
swaymsg focus output HEADLESS-1 >/dev/null
weston-simple-egl -f >/dev/null 2>&1 &
cover=$!
pids="$pids $cover"
# Its triangle has pure red in a corner, which the plasma never has.
ours_hidden() {
    grim -o HEADLESS-1 -t ppm "$tmp/hidden.ppm" &&
        [ "$(convert "$tmp/hidden.ppm" -fx 'r > 0.8 && g < 0.15 && b < 0.15' -format '%[fx:int(mean * w * h)]' info:)" -gt 20 ]
}
wait_for 15 ours_hidden || fail "bottom: weston-simple-egl did not cover HEADLESS-1"
expect_scene "bottom, HEADLESS-1 covered" HEADLESS-2
kill "$cover"
kill -TERM "$run"
expect_end bottom 1000 0 0

# --- Started by swayidle as in the README's line, ended by its resume command -
# On the bottom layer, so that the key reaches sway's idle timer, not us. In
# a session of its own, which the resume command keeps to (-s 0), so that it
# ends no glimmerbox-wl but ours: not a desktop's, nor another test run's.
PATH="$(dirname "$program"):$PATH" setsid swayidle -w timeout 1 'glimmerbox-wl --layer bottom &' \
    resume 'pkill -s 0 -x glimmerbox-wl' >/dev/null 2>&1 &
idle=$!
pids="$pids $idle"
idle_run() { run=$(pgrep -n -s "$idle" -x glimmerbox-wl); }
wait_for 10 idle_run || fail "swayidle: no glimmerbox-wl 10 s after its timeout"
expect_scene swayidle HEADLESS-1
resumed() { wtype -s 300 q; process_gone "$run"; }
wait_for 10 resumed || fail "swayidle: glimmerbox-wl still runs 10 s after a key"
kill "$idle"

# --- Its own connection: the compositor stopped, then dying under it ---------
# On HEADLESS-2, as a lock screen's host starts it for that output: the
# connection handed over in WAYLAND_SOCKET, which the host closes at unlock.
# The host keeps the socket too, and on SIGUSR1 shuts it for sending while
# the compositor is stopped: the next frame asked for (every 0.1 s) then
# fails to go out (EPIPE), which must not keep it from reading the end.
start stopped --output HEADLESS-1
stopped=$run
SWAYLOCK_PLUGIN_OUTPUT_NAME=HEADLESS-2 python3 -c 'import os, signal, socket, sys
s = socket.socket(socket.AF_UNIX)
s.connect(os.path.join(os.environ["XDG_RUNTIME_DIR"], "wayland-1"))
os.set_inheritable(s.fileno(), True)
os.environ["WAYLAND_SOCKET"] = str(s.fileno())
del os.environ["WAYLAND_DISPLAY"]
child = os.fork()
if child == 0:
    os.execv(sys.argv[1], sys.argv[1:])
signal.signal(signal.SIGUSR1, lambda *_: s.shutdown(socket.SHUT_WR))
sys.exit(os.waitstatus_to_exitcode(os.waitpid(child, 0)[1]))' "$program" --delay 100000 2>"$tmp/handed.err" &
handed=$!
pids="$pids $handed"
expect_scene "own connection" HEADLESS-1
expect_scene "handed over" HEADLESS-2
pids="$pids $(pgrep -P "$handed")"
kill -STOP "$sway_pid"
kill -USR1 "$handed"
sleep 0.3
kill -INT "$stopped"
expect_end stopped 1000 0 0
start dying --output HEADLESS-1
kill -CONT "$sway_pid"
expect_scene "own connection" HEADLESS-1
# Stopped while it draws, not while it waits for events (ppoll is system
# call 271 on x86-64), so that the compositor's end finds it with a frame
# still to send. (The handed-over one ends on its host's shut socket.)
drawing_stopped() {
    kill -STOP "$1"
    for _ in 1 2 3 4 5 6 7 8 9 10; do read -r _ _ state _ <"/proc/$1/stat" && [ "$state" = T ] && break; sleep 0.01; done
    read -r call _ <"/proc/$1/syscall"
    case $call in 271 | running | '') kill -CONT "$1" && false ;; esac
}
wait_for 10 drawing_stopped "$run" || fail "dying: not stopped while drawing: $(cat $tmp/*.err)"
kill -KILL "$sway_pid"
wait_for 10 process_gone "$sway_pid"
kill -CONT "$run"
expect_end dying 1000 1 1 "lost the connection"
run=$handed
expect_end handed 1000 0 0

# --- A stand-in host: a protocol error at once, or the connection closed ----
# while EGL starts (after the program's own roundtrips, at EGL's request for
# the globals), which under a host is the normal end.
# Usage: stand_in <case> error|closes
stand_in() {
    python3 -c 'import os, socket, struct, sys
ours, host = socket.socketpair()
os.set_inheritable(ours.fileno(), True)
if os.fork() == 0:
    os.environ["WAYLAND_SOCKET"] = str(ours.fileno())
    os.execv(sys.argv[2], sys.argv[2:])
def send(target, opcode, body):
    host.send(struct.pack("=II", target, (8 + len(body)) << 16 | opcode) + body)
def string(text):
    return struct.pack("=I", len(text) + 1) + text + bytes(4 - len(text) % 4)
if sys.argv[1] == "error":  # wl_display@1.error(object 1, code 1, text)
    send(1, 0, struct.pack("=II", 1, 1) + string(b"glimmerbox test"))
else:  # its two roundtrips, each ending in a wl_display.sync; then EGL asks for wl_registry
    for offered in [b"wl_compositor", b"zwlr_layer_shell_v1"], []:
        asked = host.recv(4096)
        for name, interface in enumerate(offered, 1):  # to wl_registry@2
            send(2, 0, struct.pack("=I", name) + string(interface) + struct.pack("=I", 4))
        send(struct.unpack_from("=I", asked, len(asked) - 4)[0], 0, struct.pack("=I", 0))
    host.recv(4096)
host.close()
sys.exit(os.waitstatus_to_exitcode(os.wait()[1]))' "$2" "$program" 2>"$tmp/$1.err" &
    run=$!
    pids="$pids $run"
}
stand_in protocol error
expect_end protocol 5000 1 1 "protocol error: wl_display@1: error 1: glimmerbox test"
stand_in closed-in-egl closes
expect_end closed-in-egl 5000 0 0

# --- Rates: frames per second at the default delay, the highest of five ------
# seconds. HEADLESS-1 refreshes at 120 Hz: the default delay is 60 frames a
# second there (62 seen in a second of a loaded machine, where frames come
# up to a refresh early or late; 105 or more if it took every refresh), and
# at least 59 unless time is lost between frames (a frame spaced from the
# callback, not from the previous one, gave 58 at most).
start_sway "$tmp"
WAYLAND_DEBUG=1 "$program" 2>"$tmp/rate.log" &
run=$!
pids="$pids $run"
# Each frame attaches a buffer: "[  1234.567]  -> wl_surface@N.attach(...)", in milliseconds.
per_second() { awk '/attach/ { sub(/^\[ */, ""); n[int($1 / 1000)]++ } END { for (s in n) print s, n[s] }' "$tmp/rate.log" | sort -n; }
seconds_logged() { [ "$(per_second | wc -l)" -ge 7 ]; }
wait_for 20 seconds_logged || fail "rate: fewer than 7 seconds of frames in 20 s"
kill "$run"
rates=$(per_second | sed '1d;$d' | cut -d' ' -f2 | tr '\n' ' ')
highest=$(echo "$rates" | tr ' ' '\n' | sort -n | tail -n 1)
echo "rate: frames in whole seconds: $rates"
[ "${highest:-0}" -ge 59 ] && [ "$highest" -le 65 ] || fail "rate: at most ${highest:-no} frames a second, not 59 to 65"

# --- Bad starts: one line, exit code 1 ---------------------------------------
start unknown --output HEADLESS-9
expect_end unknown 2000 1 1 'no such output (the outputs: HEADLESS-1)'

# --- A window of its own (for compositors without layer-shell) --------------
# Titled Glimmerbox; Q ends it, and so does the close request.
for ending in key close; do
    start "window-$ending" --window
    window_shown() { swaymsg -t get_tree | grep -q '"name": "Glimmerbox"'; }
    wait_for 15 window_shown || fail "window: no window titled Glimmerbox"
    expect_scene "window" HEADLESS-1
    if [ "$ending" = key ]; then wait_for 10 key_ends; else swaymsg '[title="^Glimmerbox$"] kill' >/dev/null; fi
    expect_end "window-$ending" 2000 0 0
done
stop_sway

if [ "$failures" -eq 0 ]; then
    echo "PASS: every output covered and drawn at its scale, outputs coming and going, covered, keys, signals, the compositor stopped or dying, a handed-over connection, a protocol error, a host closing it as EGL starts, the frame rate, a window of its own"
    exit 0
fi
exit 1
