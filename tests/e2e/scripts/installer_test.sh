#!/bin/sh
# The 64-bit installer in the shared prefix: silent install, the installed
# saver run the way the system runs it, reinstall, silent uninstall through
# the entry's own command, and the saver choice of every signed-in account
# kept throughout, read back with `reg query`; then installing and
# uninstalling while the installed saver runs, and a signed installer.
# Usage: installer_test.sh <environment file> <probe> <setup.exe> <saver> <version>
set -u
env_file=$1 probe=$2 setup=$3 saver=$4 version=$5
here=$(cd "$(dirname "$0")" && pwd)
. "$env_file"
tmp=$(mktemp -d "$(dirname "$env_file")/installer.XXXXXX")
trap 'rm -rf "$tmp" "$WINEPREFIX/drive_c/hold.bat" "$WINEPREFIX/drive_c/held.txt"' EXIT
desktop='HKCU\Control Panel\Desktop'
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Glimmerbox'
installed='C:\windows\system32\glimmerbox.scr'
installed_file=$WINEPREFIX/drive_c/windows/system32/glimmerbox.scr
folder="$WINEPREFIX/drive_c/Program Files/Glimmerbox"
before='C:\windows\system32\before.scr'
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

# Expects value $2 of key $1 to be $3 (case-insensitively: Windows paths);
# "-" expects no such value.
expect_value() {
    if [ "$3" = - ]; then
        run reg query "$1" /v "$2" && fail "$4: $1 $2 is [$(value "$1" "$2")], expected none"
        return 0
    fi
    got=$(value "$1" "$2")
    [ "$(printf %s "$got" | tr A-Z a-z)" = "$(printf %s "$3" | tr A-Z a-z)" ] ||
        fail "$4: $1 $2 is [$got], expected [$3]"
}

# Sets value $1 of the desktop key to $2, or removes it for "-".
set_desktop() {
    if [ "$2" = - ]; then run reg delete "$desktop" /v "$1" /f; else run reg add "$desktop" /v "$1" /d "$2" /f; fi
}

# The file name of the uninstaller that the entry runs.
entry_uninstaller() { value "$entry" UninstallString | sed 's/^"C:\\Program Files\\Glimmerbox\\\([^"]*\)".*/\1/'; }

# Expects nothing left beside the saver, and in the folder only the entry's
# uninstaller and install.log.
expect_only_own_files() {
    kept=$(entry_uninstaller)
    leftover=$(ls "$installed_file".* 2>/dev/null; cd "$folder" && ls | grep -vx -e "$kept" -e install.log)
    [ -z "$leftover" ] || fail "$1: left behind: $leftover"
    [ -f "$folder/$kept" ] || fail "$1: no $kept, the entry's uninstaller"
}

# Expects a silent setup to fail with exit code $1.
setup_fails() { run "$setup" /S; code=$?; [ $code -eq "$1" ] || fail "$2: setup /S exited with $code, expected $1"; }

# Installs silently, with the switch given after the name.
install() { run "$setup" /S ${2:-} || fail "$1: setup /S ${2:-} exited with $?: $(cat "$tmp/out")"; }

# Runs the entry's QuietUninstallString as winget does, expecting exit code
# $2 (0 by default); once it has ended, a success has removed everything.
uninstall() {
    sh "$here/run_wine.sh" "$env_file" "$probe" uninstall QuietUninstallString "${2:-0}" >"$tmp/out" ||
        fail "$1: $(cat "$tmp/out")"
    [ "${2:-0}" -ne 0 ] && return 0
    run reg query "$entry" && fail "$1: the uninstall entry is still there once the uninstaller has ended"
    [ -e "$installed_file" ] && fail "$1: $installed_file is still there once the uninstaller has ended"
}

# The installed saver in preview, as the screen saver settings keep it while
# they are open, until stop_preview.
start_preview() {
    rm -f "$tmp/ready" "$tmp/done"
    sh "$here/run_wine.sh" "$env_file" "$probe" preview "$installed" "$tmp/ready" "$tmp/done" >"$tmp/preview" 2>&1 &
    preview_pid=$! deadline=$(($(date +%s) + 40))
    until [ -s "$tmp/ready" ] || ! kill -0 $preview_pid 2>/dev/null || [ "$(date +%s)" -ge $deadline ]; do sleep 0.05; done
    [ -s "$tmp/ready" ] || fail "$1: the installed saver's preview did not start: $(cat "$tmp/preview")"
}
stop_preview() { touch "$tmp/done" && wait $preview_pid || fail "$1: the preview: $(cat "$tmp/preview")"; }

# Holds Windows file $1 open without sharing until release: cmd keeps a
# redirected handle while ping runs (a batch file keeps the quotes of paths
# with spaces). cmd opens the input first: C:\held.txt appears once it is held.
printf '@ping -n 60 127.0.0.1 >C:\\held.txt 9<%%1\r\n' >"$WINEPREFIX/drive_c/hold.bat"
hold() {
    rm -f "$WINEPREFIX/drive_c/held.txt"
    "$E2E_WINE" cmd /c 'C:\hold.bat' "$1" </dev/null >"$tmp/holder" 2>&1 &
    holder_pid=$! deadline=$(($(date +%s) + 20))
    until [ -e "$WINEPREFIX/drive_c/held.txt" ] || ! kill -0 $holder_pid 2>/dev/null || [ "$(date +%s)" -ge $deadline ]; do
        sleep 0.05
    done
    [ -e "$WINEPREFIX/drive_c/held.txt" ] || fail "$1 was not held: $(cat "$tmp/holder")"
}
release() {
    "$E2E_WINE" taskkill /f /im ping.exe </dev/null >/dev/null 2>&1
    deadline=$(($(date +%s) + 20))
    while kill -0 $holder_pid 2>/dev/null && [ "$(date +%s)" -lt $deadline ]; do sleep 0.1; done
}

# 0. A first install that cannot write the saver leaves nothing behind, nor
# one that cannot write its uninstaller (a file stands for its folder).
printf 'not ours' >"$installed_file"
hold "$installed"
setup_fails 4 "first install over a held file"
[ -e "$folder" ] && fail "the failed first install left $folder"
release
rm -f "$installed_file"
printf 'not a folder' >"$folder"
setup_fails 6 "first install with no folder for its uninstaller"
[ -e "$installed_file" ] && fail "the install that wrote no uninstaller left $installed_file"
rm -f "$folder"

# 1. Install over the user's saver, run what the system would run, reinstall.
set_desktop SCRNSAVE.EXE "$before"
set_desktop ScreenSaveActive 0
install "first install"
cmp -s "$installed_file" "$saver" || fail "$installed_file is not the built saver"
for pair in "DisplayName=Glimmerbox screen saver" "DisplayVersion=$version" "Publisher=Glimmerbox" \
    "DisplayIcon=$installed" "UninstallString=\"C:\\Program Files\\Glimmerbox\\$(ls "$folder" | grep -x 'uninstall.*\.exe')\" _?=C:\\Program Files\\Glimmerbox" \
    "NoModify=0x1" "NoRepair=0x1"; do
    expect_value "$entry" "${pair%%=*}" "${pair#*=}" "install"
done
size=$(value "$entry" EstimatedSize)
[ $((size)) -ge $(($(wc -c <"$saver") / 1024)) ] 2>/dev/null || fail "EstimatedSize [$size] is less than the saver's KB"
expect_value "$desktop" SCRNSAVE.EXE "$installed" "install"
expect_value "$desktop" ScreenSaveActive 1 "install"
sh "$here/run_wine.sh" "$env_file" "$probe" fullscreen "$(value "$desktop" SCRNSAVE.EXE)" || fail "the installed saver's run"
# The reinstall upgrades an earlier build, whose entry ran uninstall.exe without _?=.
mv "$folder/$(entry_uninstaller)" "$folder/uninstall.exe"
run reg add "$entry" /v UninstallString /d '"C:\Program Files\Glimmerbox\uninstall.exe"' /f
install "reinstall"
expect_only_own_files "upgrade from uninstall.exe"
run reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
count=$(grep -ic glimmerbox "$tmp/out")
[ "$count" -eq 1 ] || fail "reinstall: $count uninstall entries name Glimmerbox, expected 1"

# 2. Install over the saver while its preview runs: the installed file is
# marked first, so only a new write makes it the built saver again.
printf 'old saver' >>"$installed_file"
start_preview "install over the preview"
install "install over the preview"
cmp -s "$installed_file" "$saver" || fail "install over the preview: the saver was not replaced"
stop_preview "install over the preview"

# 3. A saver file nothing can replace or move: setup fails and the entry
# keeps the old version.
printf 'old saver' >>"$installed_file"
run reg add "$entry" /v DisplayVersion /d 0.9 /f
hold "$installed"
setup_fails 4 "setup over the held saver"
cmp -s "$installed_file" "$saver" && fail "the held saver file was replaced"
expect_value "$entry" DisplayVersion 0.9 "failed setup"
# Nor can the uninstaller: it fails with everything kept, and queues nothing
# that the restart in 4. would delete.
uninstall "failed uninstall" 4
[ -e "$installed_file" ] || fail "failed uninstall: the held saver is gone"
expect_value "$entry" DisplayVersion 0.9 "failed uninstall"
release
install "install after the failed one"

# 4. Uninstall while the preview runs, install again, restart: only the old
# saver, moved aside, and the old uninstaller may go at the restart.
start_preview "uninstall under the preview"
uninstall "uninstall under the preview"
install "install before the restart"
stop_preview "uninstall under the preview"
run wineboot -r || fail "wineboot -r: $(cat "$tmp/out")"
cmp -s "$installed_file" "$saver" || fail "after the restart, $installed_file is not the built saver"
expect_only_own_files "after the restart"
install "upgrade after the restart"
expect_only_own_files "upgrade after the restart"
uninstall "uninstall after the restart"

# 5. Uninstall gives back exactly the user's saver and switch from before,
# unless the user changed them since (a registry edit after installing);
# with no saver recorded, the system's blank one. Windows accepts the
# current saver in any spelling of its path.
while IFS='|' read -r name active edit expect_saver expect_active switch; do
    set_desktop SCRNSAVE.EXE "$before"
    set_desktop ScreenSaveActive "$active"
    install "$name" "$switch"
    [ "$edit" != "SCRNSAVE.EXE=(short)" ] || { run winepath -s "$installed" && edit=SCRNSAVE.EXE=$(tr -d '\r' <"$tmp/out"); }
    [ -z "$edit" ] || set_desktop "${edit%%=*}" "${edit#*=}"
    uninstall "$name"
    expect_value "$desktop" SCRNSAVE.EXE "$expect_saver" "$name"
    expect_value "$desktop" ScreenSaveActive "$expect_active" "$name"
done <<'ROWS'
restored|0||C:\windows\system32\before.scr|0
another saver picked since|0|SCRNSAVE.EXE=C:\windows\system32\picked.scr|C:\windows\system32\picked.scr|1
no switch before|-||C:\windows\system32\before.scr|-
switched off since|1|ScreenSaveActive=0|C:\windows\system32\before.scr|0
current with forward slashes|0|SCRNSAVE.EXE=C:/windows/system32/glimmerbox.scr|C:\windows\system32\before.scr|0
current with a dot|0|SCRNSAVE.EXE=C:\windows\system32\.\glimmerbox.scr|C:\windows\system32\before.scr|0
current by its short name|0|SCRNSAVE.EXE=(short)|C:\windows\system32\before.scr|0
current with a trailing space|0|SCRNSAVE.EXE=C:\windows\system32\glimmerbox.scr |C:\windows\system32\before.scr|0
kept with /KEEPSAVER, chosen since|0|SCRNSAVE.EXE=C:\windows\system32\glimmerbox.scr|C:\windows\System32\scrnsave.scr|0|/KEEPSAVER
ROWS

# Every other signed-in account (a hive under HKEY_USERS) whose saver is
# Glimmerbox gets back its recorded saver, else the system's blank one.
other='HKU\S-1-5-21-0-0-0-1001'
while IFS='|' read -r name theirs recorded expect_saver; do
    install "$name"
    run reg add "$other\Control Panel\Desktop" /v SCRNSAVE.EXE /d "$theirs" /f
    [ -z "$recorded" ] || run reg add "$other\Software\Glimmerbox\PreviousScreenSaver" /v SCRNSAVE.EXE /d "$recorded" /f
    [ -z "$recorded" ] || run reg add "$other\Software\Glimmerbox\PreviousScreenSaver" /v Recorded /t REG_DWORD /d 1 /f
    uninstall "$name"
    expect_value "$other\Control Panel\Desktop" SCRNSAVE.EXE "$expect_saver" "$name"
    expect_value "$other\Software\Glimmerbox\PreviousScreenSaver" Recorded - "$name"
done <<'ROWS'
another account, nothing recorded|C:\WINDOWS\SYSTEM32\GLIMMERBOX.SCR||C:\windows\System32\scrnsave.scr
another account, its saver recorded|C:\windows\system32\glimmerbox.scr|C:\windows\system32\theirs.scr|C:\windows\system32\theirs.scr
another account's own choice|C:\windows\system32\theirs.scr|C:\windows\system32\before.scr|C:\windows\system32\theirs.scr
ROWS
run reg delete "$other" /f

# 6. The other build's entry stops setup before it writes anything.
run reg add "$entry" /v DisplayIcon /d 'C:\windows\syswow64\glimmerbox.scr' /f
setup_fails 3 "setup over the other build's entry"
[ -e "$installed_file" ] && fail "setup placed the saver over the other build's entry"
run reg delete "$entry" /f

# 7. A signed installer (a throwaway certificate) installs a signed saver and
# writes a signed uninstaller.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=Glimmerbox-test -addext extendedKeyUsage=codeSigning \
    -keyout "$tmp/key.pem" -out "$tmp/cert.pem" 2>/dev/null
GLIMMERBOX_SIGN_CERT=$tmp/cert.pem GLIMMERBOX_SIGN_KEY=$tmp/key.pem GLIMMERBOX_SIGN_TIME=$(date +%s) \
    sh "$here/../../../packaging/windows/make-setup.sh" --sign x64 "$version" "$saver" "$tmp/signed.exe" >"$tmp/out" 2>&1 ||
    fail "cannot make a signed installer: $(cat "$tmp/out")"
setup=$tmp/signed.exe
install "signed install"
for file in "$installed_file" "$folder/$(entry_uninstaller)"; do
    osslsigncode verify -CAfile "$tmp/cert.pem" -in "$file" >"$tmp/out" 2>&1 ||
        fail "signed install: $file does not verify: $(tail -3 "$tmp/out")"
done
uninstall "signed uninstall"
# Nothing is left after the restart at worst.
run wineboot -r || fail "wineboot -r: $(cat "$tmp/out")"
[ -e "$folder" ] && fail "after the last uninstall and a restart, $folder is still there: $(ls "$folder")"
exit $status
