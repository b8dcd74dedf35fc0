#!/bin/sh
# The package as it will be used: installed with dpkg, then run by Debian's
# xscreensaver daemon (picked in the user's ~/.xscreensaver) and by MATE's
# screensaver (picked in its settings) on a private Xvfb. Neither daemon
# starts display programs for root, so a test user runs them. Needs root (or
# password-less sudo) for dpkg and useradd; it removes the package and the
# user again, and puts back a glimmerbox that was installed before.
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
for tool in xscreensaver xscreensaver-command /usr/libexec/xscreensaver/xscreensaver-gl-visual mate-screensaver \
    mate-screensaver-command dbus-run-session gsettings dpkg dpkg-repack useradd runuser; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (packages xscreensaver, xscreensaver-gl," \
        "mate-screensaver, dbus-daemon, libglib2.0-bin, dpkg-repack, passwd, util-linux)"; exit 1; }
done
installed() { dpkg-query -W -f '${Status}' glimmerbox 2>/dev/null | grep -q 'ok installed'; }

tmp=$(mktemp -d)
chmod 755 "$tmp"
daemon=
home=
prior=
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
    if [ -n "$prior" ]; then
        $sudo dpkg -i "$prior" >"$tmp/restore.log" 2>&1 || { echo "FAIL: putting back $prior:"; cat "$tmp/restore.log"; }
    elif installed; then
        $sudo dpkg -r glimmerbox >"$tmp/remove.log" 2>&1 || { echo "FAIL: dpkg -r glimmerbox:"; cat "$tmp/remove.log"; }
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT
user_idle() { ! pgrep -u "$user" >/dev/null; }
as_user() { $sudo runuser -u "$user" -- env DISPLAY="$DISPLAY" HOME="$home" "$@"; }

# A glimmerbox installed here before is packed up as it is, to be put back.
if installed; then
    (cd "$tmp" && $sudo dpkg-repack glimmerbox) >"$tmp/repack.log" 2>&1 && prior=$(ls "$tmp"/glimmerbox_*.deb) ||
        { echo "FAIL: dpkg-repack glimmerbox:"; cat "$tmp/repack.log"; exit 1; }
    echo "glimmerbox $(dpkg-query -W -f '${Version}' glimmerbox) was installed: packed up as $prior, to be put back"
fi
$sudo dpkg -i "$deb" >"$tmp/install.log" 2>&1 || { echo "FAIL: dpkg -i:"; cat "$tmp/install.log"; exit 1; }
echo "installed: $(dpkg-query -W -f '${Package} ${Version}' glimmerbox)"

# A leftover user of a run that was cut short goes first.
if id "$user" >/dev/null 2>&1; then $sudo userdel -r "$user" 2>/dev/null; fi
$sudo useradd -m -s /bin/sh "$user" || { echo "FAIL: useradd $user"; exit 1; }
home=$(getent passwd "$user" | cut -d: -f6)
# One program, named as docs/linux.md says, started at once, with no locking,
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

# Checks what a daemon started: the installed program, drawing the moving
# scene in the daemon's window, and gone soon after the deactivate command.
# Usage: check_run <daemon> <pid> <deactivate command...>
check_run() {
    name=$1 pid=$2
    shift 2
    exe=$($sudo readlink "/proc/$pid/exe")
    window=$($sudo tr '\0' '\n' <"/proc/$pid/environ" | sed -n 's/^XSCREENSAVER_WINDOW=//p')
    arguments=$($sudo tr '\0' ' ' <"/proc/$pid/cmdline")
    echo "$name activated: pid $pid runs $exe as \"$arguments\" with XSCREENSAVER_WINDOW=$window"
    [ "$exe" = "$program" ] || fail "$name ran $exe, not $program"
    if [ -z "$window" ]; then
        fail "$name: XSCREENSAVER_WINDOW is not set for the program"
    elif wait_for 15 scene_shows "$window" "$tmp"; then
        echo "$name's window $window: $SCENE_SEEN"
    else
        fail "$name's window $window: no lit, changing cube ($SCENE_SEEN)"
    fi
    "$@" >/dev/null
    started_ms=$(now_ms)
    if wait_for 15 process_gone "$pid"; then
        echo "$name deactivated: the program was gone after $(($(now_ms) - started_ms)) ms"
    else
        fail "$name: the program still runs 15 s after deactivating"
    fi
}

# The program the daemon says it started, from its log.
running_program() { sed -n 's/.*forked "glimmerbox --root" in pid \([0-9]*\) .*/\1/p' "$tmp/daemon.log" | tail -n 1; }
program_runs() { [ -n "$(running_program)" ]; }
as_user xscreensaver-command -activate >/dev/null
if wait_for 20 program_runs; then
    check_run xscreensaver "$(running_program)" as_user xscreensaver-command -deactivate
else
    fail "no glimmerbox process 20 s after -activate"
fi
as_user xscreensaver-command -exit >/dev/null 2>&1
wait_for 10 process_gone "$daemon" && daemon=

# MATE's screensaver with Glimmerbox as its one theme, as its preferences set
# it, in a session bus of its own.
cat >"$tmp/mate.sh" <<'MATE'
echo "bus: $DBUS_SESSION_BUS_ADDRESS"
gsettings set org.mate.screensaver mode "'single'"
gsettings set org.mate.screensaver themes "['screensavers-glimmerbox']"
gsettings set org.mate.screensaver lock-enabled false
gsettings set org.mate.screensaver idle-activation-enabled false
exec mate-screensaver --no-daemon --debug
MATE
as_user dbus-run-session -- sh "$tmp/mate.sh" >"$tmp/mate.log" 2>&1 &
mate_command() {
    bus=$(sed -n 's/^bus: //p' "$tmp/mate.log")
    [ -n "$bus" ] && as_user env DBUS_SESSION_BUS_ADDRESS="$bus" mate-screensaver-command "$@"
}
mate_answers() { mate_command --query 2>/dev/null | grep -q '^The screensaver is'; }
# A live one: the previous daemon's may linger as a zombie.
mate_program() { pgrep -r R,S,D -u "$user" -x glimmerbox | head -n 1 | grep .; }
if ! wait_for 30 mate_answers; then
    fail "MATE's screensaver did not answer within 30 s"
elif mate_command --activate >/dev/null && wait_for 20 mate_program; then
    check_run "MATE's screensaver" "$(mate_program)" mate_command --deactivate
else
    fail "MATE's screensaver: no glimmerbox process 20 s after --activate"
fi
mate_command --exit >/dev/null 2>&1
if [ "$failures" -ne 0 ]; then
    echo "The xscreensaver daemon's log:"
    cat "$tmp/daemon.log"
    echo "MATE's screensaver's log, on themes and jobs:"
    grep -i -E 'glimmerbox|theme|job' "$tmp/mate.log"
    exit 1
fi
echo "What the daemons logged about it:"
grep 'glimmerbox --root' "$tmp/daemon.log" "$tmp/mate.log" | sed "s|^$tmp/|    |"

echo "PASS: xscreensaver and MATE's screensaver ran the installed glimmerbox in their windows and ended it"
exit 0
