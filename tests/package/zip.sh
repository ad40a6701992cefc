#!/usr/bin/env bash
# The zip a user unpacks: exactly the saver, the install text and the licence,
# at its top level; the saver is the one just built; the texts are for
# Windows (CRLF) and name this version. The installer is a 64-bit program.
set -euo pipefail
: "${ZIP:?}" "${INSTALLER:?}" "${VERSION:?}" "${RIMEGLASS_SCR:?}" "${OBJDUMP:?}"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/rimeglass-zip.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
check() {
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

listing=$(python3 -m zipfile -l "$ZIP" | awk 'NR > 1 { print $1 }' | sort | tr '\n' ' ')
echo "zip holds: $listing"
check "the zip holds the saver and the two texts, no folder" \
  [ "$listing" = "INSTALL.txt LICENSE.txt Rimeglass.scr " ]

python3 -m zipfile -e "$ZIP" "$WORK"
check "its Rimeglass.scr is the saver just built" cmp -s "$WORK/Rimeglass.scr" "$RIMEGLASS_SCR"

crlf_only() { ! grep -q $'[^\r]$' "$1" && [ -s "$1" ]; }
for text in INSTALL.txt LICENSE.txt; do
  check "$text ends every line with CRLF" crlf_only "$WORK/$text"
done
check "INSTALL.txt names version $VERSION" grep -q "^Rimeglass $VERSION," "$WORK/INSTALL.txt"
check "INSTALL.txt says how to install" grep -q $'^Installing\r$' "$WORK/INSTALL.txt"
check "INSTALL.txt says how to remove" grep -q $'^Removing\r$' "$WORK/INSTALL.txt"
check "the licence is MIT" grep -q '^MIT License' "$WORK/LICENSE.txt"
check "held by the Rimeglass developers" \
  grep -q '^Copyright (c) [0-9]* the Rimeglass developers' "$WORK/LICENSE.txt"

check "the installer is a 64-bit Windows program" \
  grep -q 'file format pei-x86-64' <<<"$("$OBJDUMP" -f "$INSTALLER")"
