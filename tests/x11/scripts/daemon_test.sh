#!/bin/sh
# The package as it will be used: installed with dpkg, picked in a user's
# ~/.xscreensaver, and run by Debian's xscreensaver daemon on a private Xvfb.
# The daemon will not start display programs for root, so a test user runs
# it. Needs root (or password-less sudo) for dpkg and useradd; it removes the
# package and the user again.
# Usage: daemon_test.sh <glimmerbox_VERSION_amd64.deb>
set -u
deb=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_server.sh"
user=glimmerbox-ci
program=/usr/libexec/xscreensaver/glimmerbox

if [ "$(id -u)" -eq 0 ]; then
    sudo=
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo="sudo -n"
else
    echo "FAIL: this test installs a package and adds a user: run it as root or with password-less sudo"
    exit 1
fi
[ -f "$deb" ] || { echo "FAIL: $deb is missing: build it with cmake --build --preset native --target package"; exit 1; }
for tool in xscreensaver xscreensaver-command /usr/libexec/xscreensaver/xscreensaver-gl-visual dpkg useradd runuser; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (packages xscreensaver, xscreensaver-gl, passwd, util-linux)"; exit 1; }
done
if dpkg-query -W -f '${Status}' glimmerbox 2>/dev/null | grep -q 'ok installed'; then
    echo "FAIL: glimmerbox is already installed here; this test installs and removes its own copy (dpkg -r glimmerbox first)"
    exit 1
fi

tmp=$(mktemp -d)
chmod 755 "$tmp"
daemon=
home=
cleanup() {
    if [ -n "$daemon" ]; then
        as_user xscreensaver-command -exit >/dev/null 2>&1
        wait_for 10 process_gone "$daemon" || kill "$daemon" 2>/dev/null
    fi
    stop_xvfb
    # Whatever still runs as the user ends before the user goes, so that a
    # next run with the same user id finds none of it.
    if id "$user" >/dev/null 2>&1; then
        $sudo pkill -u "$user" 2>/dev/null
        wait_for 10 user_idle || $sudo pkill -KILL -u "$user" 2>/dev/null
        wait_for 10 user_idle
        $sudo userdel -r "$user" 2>/dev/null
    fi
    if dpkg-query -W -f '${Status}' glimmerbox 2>/dev/null | grep -q 'ok installed'; then
        $sudo dpkg -r glimmerbox >"$tmp/remove.log" 2>&1 || { echo "FAIL: dpkg -r glimmerbox:"; cat "$tmp/remove.log"; }
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT
user_idle() { ! pgrep -u "$user" >/dev/null; }
as_user() { $sudo runuser -u "$user" -- env DISPLAY="$DISPLAY" HOME="$home" "$@"; }

$sudo dpkg -i "$deb" >"$tmp/install.log" 2>&1 || { echo "FAIL: dpkg -i:"; cat "$tmp/install.log"; exit 1; }
echo "installed: $(dpkg-query -W -f '${Package} ${Version}' glimmerbox)"

# A leftover user of a run that was cut short goes first.
if id "$user" >/dev/null 2>&1; then $sudo userdel -r "$user" 2>/dev/null; fi
$sudo useradd -m -s /bin/sh "$user" || { echo "FAIL: useradd $user"; exit 1; }
home=$(getent passwd "$user" | cut -d: -f6)
# One program, named as the README says, started at once, with no locking,
# fading or splash screen.
$sudo tee "$home/.xscreensaver" >/dev/null <<SETTINGS
mode:		one
selected:	0
timeout:	1:00:00
cycle:		0:00:00
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
programs:							      \\
  GL: "Glimmerbox"		glimmerbox --root		    \\n\\

SETTINGS
$sudo chown "$user:" "$home/.xscreensaver"

start_xvfb "$tmp/xvfb.log" +extension GLX || exit 1
echo "Xvfb on $DISPLAY"
as_user xscreensaver -no-splash -verbose >"$tmp/daemon.log" 2>&1 &
daemon=$!
if ! wait_for 60 as_user xscreensaver-command -version; then
    echo "FAIL: the daemon did not answer within 60 s; its state: $(grep '^State' "/proc/$daemon/status" 2>/dev/null)"
    pgrep -a -u "$user"
    cat "$tmp/daemon.log"
    exit 1
fi

# The program the daemon says it started, from its log.
running_program() { sed -n 's/.*forked "glimmerbox --root" in pid \([0-9]*\) .*/\1/p' "$tmp/daemon.log" | tail -n 1; }
program_runs() { [ -n "$(running_program)" ]; }
as_user xscreensaver-command -activate >/dev/null
if wait_for 20 program_runs; then
    pid=$(running_program)
    exe=$($sudo readlink "/proc/$pid/exe")
    window=$($sudo tr '\0' '\n' <"/proc/$pid/environ" | sed -n 's/^XSCREENSAVER_WINDOW=//p')
    arguments=$($sudo tr '\0' ' ' <"/proc/$pid/cmdline")
    echo "activated: pid $pid runs $exe as \"$arguments\" with XSCREENSAVER_WINDOW=$window"
    [ "$exe" = "$program" ] || fail "the daemon ran $exe, not $program"
    if [ -z "$window" ]; then
        fail "XSCREENSAVER_WINDOW is not set for the program"
    elif wait_for 15 scene_shows "$window" "$tmp"; then
        echo "the daemon's window $window: $SCENE_SEEN"
    else
        fail "the daemon's window $window: no lit, changing cube ($SCENE_SEEN)"
    fi
    as_user xscreensaver-command -deactivate >/dev/null
    started_ms=$(now_ms)
    if wait_for 15 process_gone "$pid"; then
        echo "deactivated: the program was gone after $(($(now_ms) - started_ms)) ms"
    else
        fail "the program still runs 15 s after -deactivate"
    fi
else
    fail "no glimmerbox process 20 s after -activate"
fi
if [ "$failures" -ne 0 ]; then
    echo "The daemon's log:"
    cat "$tmp/daemon.log"
    exit 1
fi
echo "What the daemon logged about it:"
grep -i glimmerbox "$tmp/daemon.log" | sed 's/^/    /'

echo "PASS: xscreensaver ran the installed glimmerbox in its window and ended it"
exit 0
