#!/bin/sh
# Checks a built saver file: its PE format, the GUI subsystem, that it imports
# system DLLs only, and that it stays small.
# Usage: check-exe.sh OBJDUMP FILE PE32|PE32+ MAX_BYTES
set -u
objdump=$1 file=$2 format=$3 max_bytes=$4
fail() { echo "check-exe: $file: $*"; exit 1; }

[ -f "$file" ] || fail "missing"
headers=$("$objdump" -p "$file") || fail "objdump failed"

echo "$headers" | grep -q "^Magic.*($format)\$" || fail "not $format"
echo "$headers" | grep -q "^Subsystem.*(Windows GUI)" || fail "not a Windows GUI program"

allowed="KERNEL32.DLL USER32.DLL GDI32.DLL OPENGL32.DLL GLU32.DLL SHELL32.DLL MSVCRT.DLL"
imports=$(echo "$headers" | sed -n 's/^.*DLL Name: //p' | tr 'a-z' 'A-Z')
[ -n "$imports" ] || fail "no imports found"
for dll in $imports; do
    case " $allowed " in
        *" $dll "*) ;;
        *) fail "imports $dll, which is not a system DLL" ;;
    esac
done

size=$(wc -c < "$file")
[ "$size" -le "$max_bytes" ] || fail "$size bytes, more than $max_bytes"
echo "$file: $format, Windows GUI, $size bytes, imports:" $imports
