#!/usr/bin/env bash
# The zip a user unpacks: exactly the saver, the install text and the licence,
# at its top level; the saver is the one just built; the texts are for
# Windows (CRLF) and name this version. The installer is a 64-bit program.
source "$(dirname "$0")/../../scripts/harness.sh"
: "${ZIP:?}" "${INSTALLER:?}" "${VERSION:?}" "${RIMEGLASS_SCR:?}" "${OBJDUMP:?}"
harness_init zip

listing=$(python3 -m zipfile -l "$ZIP" | awk 'NR > 1 { print $1 }' | sort | tr '\n' ' ')
echo "zip holds: $listing"
check "the zip holds the saver and the two texts, no folder" \
  [ "$listing" = "INSTALL.txt LICENSE.txt Rimeglass.scr " ]

python3 -m zipfile -e "$ZIP" "$HARNESS_DIR"
check "its Rimeglass.scr is the saver just built" cmp -s "$HARNESS_DIR/Rimeglass.scr" "$RIMEGLASS_SCR"

crlf_only() { ! grep -q $'[^\r]$' "$1" && [ -s "$1" ]; }
for text in INSTALL.txt LICENSE.txt; do
  check "$text ends every line with CRLF" crlf_only "$HARNESS_DIR/$text"
done
check "INSTALL.txt names version $VERSION" grep -q "^Rimeglass $VERSION," "$HARNESS_DIR/INSTALL.txt"
check "INSTALL.txt says how to install" grep -q $'^Installing\r$' "$HARNESS_DIR/INSTALL.txt"
check "INSTALL.txt says how to remove" grep -q $'^Removing\r$' "$HARNESS_DIR/INSTALL.txt"
check "the licence is MIT" grep -q '^MIT License' "$HARNESS_DIR/LICENSE.txt"
check "held by the Rimeglass developers" \
  grep -q '^Copyright (c) [0-9]* the Rimeglass developers' "$HARNESS_DIR/LICENSE.txt"

check "the installer is a 64-bit Windows program" \
  grep -q 'file format pei-x86-64' <<<"$("$OBJDUMP" -f "$INSTALLER")"
