#!/bin/sh
# The preview end to end. The probe hosts the saver's child window; meanwhile
# this script captures the child's pixels from the X side, because Wine draws
# an OpenGL child of another process's window into an offscreen X window of
# the child's size, not into the host.
# Usage: preview_test.sh <environment file> <probe> <saver>
set -u
env_file=$1 probe=$2 saver=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$env_file"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
size=152x112

# Coloured, varied and moving pixels in one of the X windows of the child's
# size. Wine makes that X window a little after the Windows child exists, and
# a busy machine draws late, so this polls up to a deadline.
child_pixels_shown() {
    ids=$(xwininfo -root -tree | awk -v geometry=" $size+0+0 " 'index($0, geometry) { print $1 }')
    [ -n "$ids" ] || { seen="no $size X window at +0+0 (xwininfo -root -tree)"; return 1; }
    for id in $ids; do
        import -window "$id" "$tmp/first.ppm" && sleep 0.2 && import -window "$id" "$tmp/second.ppm" || continue
        brightest=$(identify -format '%[fx:int(255*maxima)]' "$tmp/first.ppm")
        colours=$(identify -format '%k' "$tmp/first.ppm")
        changed=$(compare -metric AE "$tmp/first.ppm" "$tmp/second.ppm" null: 2>&1)
        seen="X window $id: brightest channel $brightest, $colours colours, $changed pixels changed in 200 ms"
        if [ "$brightest" -gt 64 ] && [ "$colours" -ge 16 ] && [ "${changed%.*}" -gt 0 ]; then
            return 0
        fi
    done
    return 1
}

check_child_pixels() {
    deadline=$(($(date +%s) + 20))
    seen=
    until child_pixels_shown; do
        if [ "$(date +%s)" -ge $deadline ]; then
            echo "FAIL: no $size X window at +0+0 showed a coloured, moving scene within 20 s; last seen: $seen"
            return 1
        fi
        sleep 0.1
    done
    echo "$seen"
}

sh "$here/run_wine.sh" "$env_file" "$probe" preview "$saver" "$tmp/ready" "$tmp/done" &
probe_pid=$!
deadline=$(($(date +%s) + 40))
while [ ! -s "$tmp/ready" ] && [ "$(date +%s)" -lt $deadline ] && kill -0 $probe_pid 2>/dev/null; do
    sleep 0.05
done
status=0
if [ -s "$tmp/ready" ]; then
    check_child_pixels || status=1
else
    echo "FAIL: the probe never reported a preview child"
    status=1
fi
touch "$tmp/done"
wait $probe_pid || status=1
exit $status
