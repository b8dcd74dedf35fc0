#!/bin/sh
# Frames per second per output, on headless sway with two 1024x768 outputs
# at 60 Hz: glimmerbox-wl at its default delay and the bare EGL layer-shell
# loop beside this script, taking turns for several rounds; then the CPU
# share of glimmerbox-wl on the overlay, and as a bottom-layer wallpaper
# with and without a full-screen window over one output. Frames are counted
# from WAYLAND_DEBUG's log (a buffer attached per frame, per surface), CPU
# from /proc (without WAYLAND_DEBUG). Not a test: run it on a quiet machine
# after building the native preset.
# Usage: tests/bench/wayland_bench.sh [rounds [seconds per turn]]
set -eu
rounds=${1:-3}
seconds=${2:-8}
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/x11/scripts/x_server.sh"
. "$root/tests/wayland/sway.sh"
ours=$root/build/native/glimmerbox-wl
bare=$root/build/native/tests/wayland/bare_egl_loop
for file in "$ours" "$bare"; do
    [ -x "$file" ] || { echo "missing $file: build the native preset first"; exit 1; }
done
work=$root/build/bench-wayland
mkdir -p "$work"
chmod 755 "$work"
ticks=$(getconf CLK_TCK)
running=
cover=
cleanup() {
    for pid in $running $cover; do kill "$pid" 2>/dev/null || true; done
    [ -z "${sway_pid:-}" ] || stop_sway
}
trap cleanup EXIT
# dash runs the EXIT trap on a signal only through a trap of that signal.
trap 'exit 130' INT
trap 'exit 143' TERM
printf '%s\n' 'xwayland disable' 'output HEADLESS-1 resolution 1024x768' 'output HEADLESS-2 resolution 1024x768' \
    >"$work/config"
start_sway "$work" HEADLESS-2
echo "headless sway, two 1024x768 outputs, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"

cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

# Runs a program for the turn with WAYLAND_DEBUG and prints its frames per
# second on each surface, over the whole seconds after a second's warm-up.
# Usage: rates <name> <command...>
rates() {
    name=$1
    shift
    WAYLAND_DEBUG=1 "$@" 2>"$work/$name.log" &
    running=$!
    sleep $((seconds + 2))
    kill "$running"
    wait "$running" 2>/dev/null || true
    running=
    awk -v name="$name" '/-> wl_surface@[0-9]+\.attach/ {
            t = $0; sub(/^\[ */, "", t); second = int(t / 1000)
            surface = $0; sub(/.*wl_surface@/, "", surface); sub(/\..*/, "", surface)
            n[surface, second]++; seen[second] = 1; surfaces[surface] = 1
        } END {
            first = -1; last = -1
            for (s in seen) { if (first < 0 || s + 0 < first) first = s + 0; if (s + 0 > last) last = s + 0 }
            for (surface in surfaces) {
                total = 0; count = 0
                for (s = first + 2; s < last; s++) { total += n[surface, s]; count++ }
                printf "%-11s surface %-3s %6.1f fps\n", name, surface, count ? total / count : 0
            }
        }' "$work/$name.log"
}

# The CPU share of glimmerbox-wl (all threads) and of sway over the turn.
# Usage: cpu <what> [arguments...]
cpu() {
    what=$1
    shift
    "$ours" "$@" 2>/dev/null &
    running=$!
    sleep 3
    program_start=$(cpu_ticks "$running")
    sway_start=$(cpu_ticks "$sway_pid")
    start_ns=$(date +%s%N)
    sleep "$seconds"
    elapsed_ns=$(($(date +%s%N) - start_ns))
    awk -v what="$what" -v p=$(($(cpu_ticks "$running") - program_start)) -v s=$(($(cpu_ticks "$sway_pid") - sway_start)) \
        -v hz="$ticks" -v ns="$elapsed_ns" 'BEGIN {
            printf "%-52s glimmerbox-wl %5.1f%% CPU, sway %5.1f%%\n", what, 100 * p / hz / (ns / 1e9), 100 * s / hz / (ns / 1e9)
        }'
    kill "$running"
    wait "$running" 2>/dev/null || true
    running=
}

echo "Frames per second per output, $rounds rounds of $seconds s:"
: >"$work/results.txt"
round=1
while [ "$round" -le "$rounds" ]; do
    rates glimmerbox-wl "$ours" | tee -a "$work/results.txt"
    rates bare "$bare" | tee -a "$work/results.txt"
    round=$((round + 1))
done
awk '{ fps[$1] += $4; n[$1]++ }
    END {
        for (name in n) printf "%-11s %6.1f fps per output on average\n", name, fps[name] / n[name]
        printf "glimmerbox-wl / bare loop: %.3f (target at least 0.95)\n", (fps["glimmerbox-wl"] / n["glimmerbox-wl"]) / (fps["bare"] / n["bare"])
    }' "$work/results.txt"

echo "CPU over $seconds s:"
cpu "overlay, default delay, both outputs"
cpu "bottom layer, default delay, both outputs" --layer bottom
swaymsg focus output HEADLESS-1 >/dev/null
weston-simple-egl -f >/dev/null 2>&1 &
cover=$!
sleep 2
cpu "bottom layer, HEADLESS-1 under a full-screen window" --layer bottom
kill "$cover"
cover=
