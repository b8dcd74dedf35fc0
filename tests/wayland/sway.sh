# Sourced by the Wayland program's test and benchmark, after
# tests/x11/scripts/x_server.sh: a headless sway of our own.

# sway refuses to run as root: then it runs as nobody, in a runtime folder
# of its own that root's clients reach all the same.
run_as=
[ "$(id -u)" -ne 0 ] || run_as="setpriv --reuid=65534 --regid=65534 --clear-groups"

# Starts sway with <work folder>/config and waits until it answers, then
# makes the outputs named (HEADLESS-2 and on) and waits until each can be
# shot. Sets sway_pid, XDG_RUNTIME_DIR, WAYLAND_DISPLAY and SWAYSOCK.
# Usage: start_sway <work folder> [outputs...]
start_sway() {
    sway_dir=$1
    shift
    export XDG_RUNTIME_DIR="$sway_dir/run"
    rm -rf "$XDG_RUNTIME_DIR"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    [ -z "$run_as" ] || chown 65534:65534 "$XDG_RUNTIME_DIR"
    env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman $run_as sway -c "$sway_dir/config" \
        >"$sway_dir/sway.log" 2>&1 &
    sway_pid=$!
    export WAYLAND_DISPLAY=wayland-1 SWAYSOCK=
    sway_answers() { SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null) && swaymsg -t get_version; }
    wait_for 20 sway_answers || { echo "FAIL: sway did not start:"; cat "$sway_dir/sway.log"; exit 1; }
    SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock)
    export SWAYSOCK
    for output in "$@"; do
        swaymsg create_output >/dev/null
        wait_for 10 grim -o "$output" -t ppm "$sway_dir/probe.ppm" || fail "sway made no output $output"
    done
}

stop_sway() {
    kill -CONT "$sway_pid" 2>/dev/null
    kill "$sway_pid" 2>/dev/null
    wait_for 10 process_gone "$sway_pid"
    sway_pid=
}
