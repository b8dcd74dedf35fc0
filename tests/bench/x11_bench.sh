#!/bin/sh
# Frame rate and CPU cost of the scene at 1024x768 on Xvfb with llvmpipe, all
# at full speed: glimmerbox --window --delay 0, the bare GLX loop beside this
# script, and the Windows saver under wine64, taking turns for several rounds;
# then glimmerbox at its default delay. Each figure comes from the programs'
# own frame-rate titles and from /proc. Not a test: run it on a quiet machine
# after tools/build-and-test.sh (or after building the native and win64 presets).
# Usage: tests/bench/x11_bench.sh [rounds [seconds per turn]]
set -eu
rounds=${1:-3}
seconds=${2:-8}
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/x11/scripts/x_server.sh"
glimmerbox=$root/build/native/glimmerbox
bare=$root/build/native/tests/x11/bare_glx_loop
saver=$root/build/win64/glimmerbox.scr
for file in "$glimmerbox" "$bare" "$saver"; do
    [ -x "$file" ] || [ -f "$file" ] || { echo "missing $file: build the native and win64 presets first"; exit 1; }
done
work=$root/build/bench
mkdir -p "$work"
wine=/usr/lib/wine/wine64
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ticks=$(getconf CLK_TCK)

running=
cleanup() {
    [ -z "$running" ] || kill "$running" 2>/dev/null || true
    "${WINESERVER:-wineserver}" -k 2>/dev/null || true
    stop_xvfb
}
trap cleanup EXIT
# dash runs the EXIT trap on a signal only through a trap of that signal.
trap 'exit 130' INT
trap 'exit 143' TERM
# The display file of an earlier run must not be taken for this one's.
rm -f "$work/xvfb.log.display"
start_xvfb "$work/xvfb.log" +extension GLX
echo "Xvfb on $DISPLAY, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making a Wine prefix in $WINEPREFIX (once)..."
    "$wine" wineboot -i >/dev/null 2>&1
fi
# Unmanaged windows, as in the end-to-end tests.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

# CPU ticks a process (all its threads) has used so far.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
wineserver_pid() { pgrep -n -x wineserver || true; }

# Starts one program, waits for its frame-rate title, warms up, then samples
# the title once a second. Prints: frames per second, CPU seconds per frame
# of the program (with the wineserver for Wine), and of the X server.
# Usage: measure <name> <delay for glimmerbox>
measure() {
    case $1 in
        glimmerbox) "$glimmerbox" --window --delay "$2" 2>/dev/null & ;;
        bare) "$bare" 1024 768 2>/dev/null & ;;
        windows) "$wine" "$saver" /s >/dev/null 2>&1 & ;;
    esac
    running=$!
    wait_for 60 xdotool search --name '\[[0-9]* FPS\]$' || { echo "$1: no frame-rate title"; return 1; }
    window=$(xdotool search --name '\[[0-9]* FPS\]$' | head -n 1)
    [ "$1" != glimmerbox ] || xdotool windowsize "$window" 1024 768
    sleep 3
    server=$(wineserver_pid)
    program_start=$(cpu_ticks "$running")
    server_start=0
    [ "$1" != windows ] || [ -z "$server" ] || server_start=$(cpu_ticks "$server")
    x_start=$(cpu_ticks "$XVFB_PID")
    start_ns=$(date +%s%N)
    sum=0
    count=0
    while [ $count -lt "$seconds" ]; do
        sleep 1
        rate=$(xdotool getwindowname "$window" | sed -n 's/.*\[\([0-9]*\) FPS\]$/\1/p')
        sum=$((sum + ${rate:-0}))
        count=$((count + 1))
    done
    elapsed_ns=$(($(date +%s%N) - start_ns))
    program_used=$(($(cpu_ticks "$running") - program_start))
    [ "$1" != windows ] || [ -z "$server" ] || program_used=$((program_used + $(cpu_ticks "$server") - server_start))
    x_used=$(($(cpu_ticks "$XVFB_PID") - x_start))
    kill "$running"
    wait "$running" 2>/dev/null || true
    running=
    [ "$1" != windows ] || "${WINESERVER:-wineserver}" -w 2>/dev/null || true
    awk -v name="$1" -v sum="$sum" -v count="$count" -v p="$program_used" -v x="$x_used" -v hz="$ticks" \
        -v ns="$elapsed_ns" 'BEGIN {
            fps = sum / count; frames = fps * ns / 1e9
            printf "%-11s %7.1f fps   %8.5f CPU s/frame   %8.5f X server CPU s/frame   CPU share %5.1f%% + X %5.1f%%\n",
                name, fps, p / hz / frames, x / hz / frames, 100 * p / hz / (ns / 1e9), 100 * x / hz / (ns / 1e9)
        }'
}

echo "--delay 0 (full speed), 1024x768, $rounds rounds of $seconds s each:"
: >"$work/results.txt"
round=1
while [ $round -le "$rounds" ]; do
    for name in glimmerbox bare windows; do
        measure "$name" 0 | tee -a "$work/results.txt"
    done
    round=$((round + 1))
done
awk '{ fps[$1] += $2; cpu[$1] += $4; n[$1]++ }
    END {
        print "Means:"
        for (name in n) printf "%-11s %7.1f fps   %8.5f CPU s/frame\n", name, fps[name] / n[name], cpu[name] / n[name]
        printf "glimmerbox / bare loop frame rate: %.3f (target at least 0.95)\n", fps["glimmerbox"] / fps["bare"]
    }' "$work/results.txt"
echo "glimmerbox at its default delay (16667 us), 1024x768:"
measure glimmerbox 16667
