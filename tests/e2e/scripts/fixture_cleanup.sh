#!/bin/sh
# Stops what fixture_setup.sh started: the Wine processes of the prefix, the
# private X servers, and removes the prefix.
# Usage: fixture_cleanup.sh <work folder>
work=$1
env_file=$work/e2e.env
[ -f "$env_file" ] || exit 0
. "$env_file"
[ -d "$WINEPREFIX" ] && "$WINESERVER" -k </dev/null >/dev/null 2>&1
# Only the servers this fixture started, checked by their command lines.
if [ -n "${E2E_XEPHYR_PID:-}" ] && grep -q Xephyr "/proc/$E2E_XEPHYR_PID/cmdline" 2>/dev/null; then
    kill "$E2E_XEPHYR_PID"
fi
if [ -n "${E2E_XVFB_PID:-}" ] && grep -q Xvfb "/proc/$E2E_XVFB_PID/cmdline" 2>/dev/null; then
    kill "$E2E_XVFB_PID"
fi
rm -rf "$WINEPREFIX" "$env_file"
exit 0
