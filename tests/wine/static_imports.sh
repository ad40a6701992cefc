#!/usr/bin/env bash
# Rimeglass.scr is a 64-bit GUI program that needs only Windows' own DLLs:
# a screen saver is copied on its own into the system folder.
source "$(dirname "$0")/../../scripts/harness.sh"
: "${RIMEGLASS_SCR:?}" "${OBJDUMP:?}"

headers=$("$OBJDUMP" -p "$RIMEGLASS_SCR")
grep -q 'file format pei-x86-64' <<<"$headers" || fail "not a 64-bit PE image"
grep -Eq 'Subsystem[[:space:]]+0*2[[:space:]]' <<<"$headers" || fail "not the GUI subsystem"
echo "ok: 64-bit, GUI subsystem"

allowed='^(kernel32|user32|gdi32|advapi32|opengl32|glu32|msvcrt|shell32|ole32|version|ntdll)\.dll$'
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')
[ -n "$imports" ] || fail "no import table found"
for dll in $imports; do
  grep -Eq "$allowed" <<<"$dll" || fail "imports $dll"
done
for needed in opengl32.dll user32.dll gdi32.dll; do
  grep -qx "$needed" <<<"$imports" || fail "$needed missing from the imports"
done
echo "ok: imports only Windows DLLs: $(echo $imports)"
