#!/bin/sh
# Frame rate and CPU time per pass of the full-screen saver under wine64 on
# two 800x600 monitors against one 1600x600 monitor: the same pixels, one
# window or two. Timing, not a test: it prints figures and checks nothing.
# Each layout gets its own fixture (Xephyr inside Xvfb, own Wine prefix),
# which goes again on exit, INT or TERM.
# Usage: monitors_bench.sh <64-bit glimmerbox.scr> [seconds, default 10]
set -eu
if [ $# -lt 1 ] || [ ! -f "$1" ]; then
    echo "usage: $0 <64-bit glimmerbox.scr> [seconds, default 10]" >&2
    exit 2
fi
saver=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
seconds=${2:-10}
scripts=$(cd "$(dirname "$0")/../e2e/scripts" && pwd)
work=$(dirname "$saver")/bench-monitors
ticks_per_second=$(getconf CLK_TCK)

results=$(mktemp)
trap 'rm -f "$results"; sh "$scripts/fixture_cleanup.sh" "$work"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# User plus system clock ticks of a process so far.
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}

# The N of the saver's title "... [N FPS]", or nothing yet.
title_fps() {
    xwininfo -root -tree | sed -n 's/.*"Glimmerbox v 1\.0   \[\([0-9]*\) FPS\]".*/\1/p' | head -n 1
}

# Runs the saver on the layout of heads given, prints one line of figures
# and adds "ms-per-pass passes-per-second" to the results file.
measure() {
    layout=$*
    # A fresh folder: files of an earlier run could be taken for this one's.
    sh "$scripts/fixture_cleanup.sh" "$work"
    rm -rf "$work"
    sh "$scripts/fixture_setup.sh" "$work" "$@" >/dev/null
    . "$work/e2e.env"
    "$E2E_WINE" "$saver" /s </dev/null >"$work/saver.log" 2>&1 &
    saver_pid=$!
    # Warm-up: until the title shows a rate twice (a full second drawn).
    deadline=$(($(date +%s) + 60))
    seen=0
    while [ $seen -lt 2 ] && [ "$(date +%s)" -lt $deadline ]; do
        [ -n "$(title_fps)" ] && seen=$((seen + 1)) && sleep 1
        sleep 0.05
    done
    if [ $seen -lt 2 ]; then
        echo "$layout: the saver showed no frame rate within 60 s; its output:"
        cat "$work/saver.log"
        return 1
    fi
    load=$(cut -d' ' -f1 /proc/loadavg)
    saver_start=$(cpu_ticks "$saver_pid")
    x_start=$(cpu_ticks "$E2E_XEPHYR_PID")
    rates=
    i=0
    while [ $i -lt "$seconds" ]; do
        sleep 1
        rates="$rates $(title_fps)"
        i=$((i + 1))
    done
    saver_ticks=$(($(cpu_ticks "$saver_pid") - saver_start))
    x_ticks=$(($(cpu_ticks "$E2E_XEPHYR_PID") - x_start))
    sh "$scripts/fixture_cleanup.sh" "$work"
    echo "$rates" | awk -v layout="$layout" -v s="$seconds" -v saver="$saver_ticks" -v x="$x_ticks" \
        -v hz="$ticks_per_second" -v load="$load" -v results="$results" '{
        for (i = 1; i <= NF; i++) sum += $i
        fps = sum / NF
        passes = fps * s
        printf "%-17s %6.1f passes/s  saver CPU %5.1f%% = %6.3f ms/pass  X server CPU %5.1f%% = %6.3f ms/pass  load %s\n",
            layout, fps, 100 * saver / hz / s, 1000 * saver / hz / passes, 100 * x / hz / s, 1000 * x / hz / passes, load
        print "  titles:" $0
        printf "%f %f\n", 1000 * saver / hz / passes, fps >> results
    }'
}

echo "Full-screen saver under wine64, llvmpipe, $seconds s per layout ($(nproc) cores)"
measure 1600x600
measure 800x600 800x600
awk 'NR == 1 { cpu = $1; fps = $2 } NR == 2 {
    printf "two heads / one head: %.2fx the saver CPU per pass, %.2fx the passes per second\n", $1 / cpu, $2 / fps
}' "$results"
