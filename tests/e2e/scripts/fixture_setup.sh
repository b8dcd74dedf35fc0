#!/bin/sh
# Starts the end-to-end tests' private X server and Wine prefix, and writes
# the environment file every test sources. With screen sizes, Xephyr runs
# inside the Xvfb with one Xinerama head per size, and Wine is told to take
# its monitors from Xinerama: that is how Wine gets several monitors here.
# Usage: fixture_setup.sh <work folder> [WxH WxH...]
set -eu
work=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
env_file=$work/e2e.env
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
mkdir -p "$work"

# A run that was cut short leaves its server and prefix behind.
if [ -f "$env_file" ]; then
    sh "$here/fixture_cleanup.sh" "$work"
fi

for tool in "$wine" "$wineserver"; do
    [ -x "$tool" ] || { echo "FAIL: $tool is missing (packages wine64 and wine)"; exit 1; }
done
for tool in Xvfb xdpyinfo xwininfo import identify compare; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (packages xvfb, x11-utils, imagemagick)"; exit 1; }
done
if [ $# -gt 0 ]; then
    command -v Xephyr >/dev/null || { echo "FAIL: Xephyr is missing (package xserver-xephyr)"; exit 1; }
fi

. "$here/../../x11/scripts/x_server.sh"
start_x_server "$work/xvfb.log" Xvfb -screen 0 1024x768x24 || exit 1
xvfb_pid=$X_SERVER_PID
display=$X_DISPLAY
xephyr_pid=
if [ $# -gt 0 ]; then
    heads=
    for size in "$@"; do heads="$heads -screen $size"; done
    # shellcheck disable=SC2086
    start_x_server "$work/xephyr.log" env DISPLAY="$display" Xephyr $heads +xinerama || exit 1
    xephyr_pid=$X_SERVER_PID
    display=$X_DISPLAY
fi

prefix=$work/prefix
urls=$work/opened-urls.txt
browser=$work/browser.sh
cat >"$env_file" <<ENV
# Written by fixture_setup.sh; sourced by every end-to-end test.
E2E_XVFB_PID=$xvfb_pid
E2E_XEPHYR_PID=$xephyr_pid
E2E_WINE=$wine
E2E_URL_FILE=$urls
export DISPLAY=$display
export WINEPREFIX=$prefix
export WINESERVER=$wineserver
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=\${E2E_EXTRA_OVERRIDES:+;\$E2E_EXTRA_OVERRIDES}"
ENV
. "$env_file"

# Wine's browser hand-off lands here, so a test can read what was opened.
cat >"$browser" <<SCRIPT
#!/bin/sh
for last in "\$@"; do :; done
printf '%s\n' "\$last" >>"$urls"
SCRIPT
chmod +x "$browser"
: >"$urls"

# The prefix must not exist yet: wine64 then creates it once. (An empty
# folder makes it initialise twice, and the second service manager left
# behind cannot start RpcSs, so every desktop start stalls for 10 s.)
rm -rf "$prefix"
"$wine" wineboot -i </dev/null >"$work/wineboot.log" 2>&1 || { echo "FAIL: wineboot -i failed"; cat "$work/wineboot.log"; exit 1; }
# Then one persistent server for the whole run, so no test pays for its start.
"$wineserver" -w
"$wineserver" -p </dev/null >"$work/wineserver.log" 2>&1 || { echo "FAIL: wineserver did not start"; cat "$work/wineserver.log"; exit 1; }

# Unmanaged windows close at once instead of waiting for a window manager.
cat >"$work/settings.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
"UseXRandR"="$([ $# -eq 0 ] && echo Y || echo N)"

[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]
"Browsers"="$browser"
REG
"$wine" regedit /S "$work/settings.reg" </dev/null >"$work/regedit.log" 2>&1 || { echo "FAIL: regedit failed"; cat "$work/regedit.log"; exit 1; }
if [ $# -gt 0 ]; then
    # The monitors are read when the server starts: start it again.
    "$wineserver" -k
    "$wineserver" -w
    "$wineserver" -p </dev/null >"$work/wineserver.log" 2>&1 || { echo "FAIL: wineserver did not start again"; exit 1; }
fi
echo "X display $display (Xvfb pid $xvfb_pid${xephyr_pid:+, Xephyr pid $xephyr_pid}), prefix $prefix"
