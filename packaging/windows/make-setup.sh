#!/bin/sh
# Makes the installer of one built saver with makensis. With --sign it packs
# a signed copy of the saver, and the uninstaller and the installer are signed
# as makensis writes them (sign.sh, which reads GLIMMERBOX_SIGN_*); builds made
# by CMake never sign.
# Usage: make-setup.sh [--sign] x64|x86 VERSION SAVER OUTFILE
set -eu
here=$(cd "$(dirname "$0")" && pwd)
sign=
if [ "${1:-}" = --sign ]; then
    sign=1
    shift
fi
arch=$1 version=$2 saver=$3 out=$4
# makensis reads and writes relative to the script's folder.
case $saver in /*) ;; *) saver=$PWD/$saver ;; esac
case $out in /*) ;; *) out=$PWD/$out ;; esac
quad=$(echo "$version.0.0.0" | cut -d. -f1-4)
set -- -V2 -DARCH="$arch" -DVERSION="$version" -DVERSION_QUAD="$quad" \
    -DICON="$here/../../res/glimmerbox.ico" -DOUTFILE="$out"
if [ -n "$sign" ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cp "$saver" "$work/glimmerbox.scr"
    sh "$here/sign.sh" "$work/glimmerbox.scr"
    saver=$work/glimmerbox.scr
    set -- "$@" -DSIGN="sh '$here/sign.sh'"
fi
"${MAKENSIS:-makensis}" "$@" -DSAVER="$saver" "$here/glimmerbox.nsi"
