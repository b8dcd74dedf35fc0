#!/bin/sh
# The 64-bit installer in the shared prefix: silent install, the installed
# saver run the way the system runs it, reinstall, silent uninstall, and the
# user's own saver choice kept throughout, read back with `reg query`.
# Usage: installer_test.sh <environment file> <probe> <setup.exe> <saver> <version>
set -u
env_file=$1 probe=$2 setup=$3 saver=$4 version=$5
here=$(cd "$(dirname "$0")" && pwd)
. "$env_file"
tmp=$(mktemp -d "$(dirname "$env_file")/installer.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
desktop='HKCU\Control Panel\Desktop'
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Glimmerbox'
installed='C:\windows\system32\glimmerbox.scr'
installed_file=$WINEPREFIX/drive_c/windows/system32/glimmerbox.scr
uninstaller='C:\Program Files\Glimmerbox\uninstall.exe'
status=0
fail() { printf 'FAIL: %s\n' "$*"; status=1; }

# Runs a Windows program into $tmp/out: a pipe would stay open while Wine's
# helper processes hold it.
run() { "$E2E_WINE" "$@" </dev/null >"$tmp/out" 2>&1; }

# The data of value $2 of registry key $1; empty when either is absent.
value() {
    run reg query "$1" /v "$2" || return 0
    tr -d '\r' <"$tmp/out" | awk -v name="$2" '$1 == name && $2 ~ /^REG_/ {
        sub(/^ *[^ ]+ +REG_[A-Z_]+ */, ""); print }'
}

# Expects value $2 of key $1 to be $3 (case-insensitively: Windows paths).
expect_value() {
    got=$(value "$1" "$2")
    [ "$(printf %s "$got" | tr A-Z a-z)" = "$(printf %s "$3" | tr A-Z a-z)" ] ||
        fail "$4: $1 $2 is [$got], expected [$3]"
}

# The user's saver before Glimmerbox: another saver, switched off.
set_saver() {
    run reg add "$desktop" /v SCRNSAVE.EXE /d "$1" /f && run reg add "$desktop" /v ScreenSaveActive /d "$2" /f ||
        fail "cannot set the user's saver"
}

install() {
    run "$setup" /S || fail "$1: setup /S exited with $?: $(cat "$tmp/out")"
}

# The uninstaller hands itself to a copy in %TEMP% and returns at once; the
# entry goes last, so wait for that.
uninstall() {
    quiet=$(value "$entry" QuietUninstallString)
    [ "$quiet" = "\"$uninstaller\" /S" ] || fail "$1: QuietUninstallString is [$quiet]"
    run "$uninstaller" /S || fail "$1: the uninstaller exited with $?"
    deadline=$(($(date +%s) + 30))
    while run reg query "$entry" && [ "$(date +%s)" -lt $deadline ]; do sleep 0.2; done
    run reg query "$entry" && fail "$1: the uninstall entry is still there after 30 s"
    [ -e "$installed_file" ] && fail "$1: $installed_file is still there"
    [ -e "$WINEPREFIX/drive_c/Program Files/Glimmerbox" ] && fail "$1: the uninstaller's folder is still there"
}

# 1. Install over the user's saver, run what the system would run, reinstall.
set_saver 'C:\windows\system32\before.scr' 0
install "first install"
cmp -s "$installed_file" "$saver" || fail "$installed_file is not the built saver"
for pair in "DisplayName=Glimmerbox screen saver" "DisplayVersion=$version" "Publisher=Glimmerbox" \
    "DisplayIcon=$installed" "UninstallString=\"$uninstaller\"" "NoModify=0x1" "NoRepair=0x1"; do
    expect_value "$entry" "${pair%%=*}" "${pair#*=}" "install"
done
size=$(value "$entry" EstimatedSize)
[ $((size)) -ge $(($(wc -c <"$saver") / 1024)) ] 2>/dev/null || fail "EstimatedSize [$size] is less than the saver's KB"
expect_value "$desktop" SCRNSAVE.EXE "$installed" "install"
expect_value "$desktop" ScreenSaveActive 1 "install"
sh "$here/run_wine.sh" "$env_file" "$probe" fullscreen "$(value "$desktop" SCRNSAVE.EXE)" || fail "the installed saver's run"
install "reinstall"
run reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
count=$(grep -ic glimmerbox "$tmp/out")
[ "$count" -eq 1 ] || fail "reinstall: $count uninstall entries name Glimmerbox, expected 1"

# 2. Uninstall gives back the user's saver and its on/off state.
uninstall "uninstall"
expect_value "$desktop" SCRNSAVE.EXE 'C:\windows\system32\before.scr' "uninstall"
expect_value "$desktop" ScreenSaveActive 0 "uninstall"

# 3. A saver the user picked after installing stays after uninstalling.
install "second install"
set_saver 'C:\windows\system32\picked.scr' 1
uninstall "uninstall after the user picked another saver"
expect_value "$desktop" SCRNSAVE.EXE 'C:\windows\system32\picked.scr' "uninstall after picking"

# 4. The other build's entry stops setup before it writes anything.
run reg add "$entry" /v DisplayIcon /d 'C:\windows\syswow64\glimmerbox.scr' /f
run "$setup" /S && fail "setup went on over the other build's entry"
[ -e "$installed_file" ] && fail "setup placed the saver over the other build's entry"
run reg delete "$entry" /f
exit $status
