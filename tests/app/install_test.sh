#!/usr/bin/env bash
# Installs into a temporary prefix and checks what lands there: the binary,
# a desktop entry that validates, and the icon it names.
#   install_test.sh BUILD_DIR
set -euo pipefail
BUILD="$1"
command -v desktop-file-validate >/dev/null || { echo "SKIP: desktop-file-validate is not installed"; exit 77; }
PREFIX="$(mktemp -d /tmp/delfiles-install-XXXXXX)"
trap 'rm -rf "$PREFIX"' EXIT
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
entry="$PREFIX/share/applications/delfiles.desktop"
[ -x "$PREFIX/bin/delfiles" ] || { echo "FAIL: no bin/delfiles"; exit 1; }
[ -f "$entry" ] || { echo "FAIL: no desktop entry"; exit 1; }
desktop-file-validate "$entry"
grep -qx 'Exec=delfiles %F' "$entry" || { echo "FAIL: Exec must hand over many files"; exit 1; }
grep -q '^Name\[ja\]=' "$entry" || { echo "FAIL: no Japanese name"; exit 1; }
if grep -q '^MimeType=' "$entry"; then echo "FAIL: the entry claims MIME types"; exit 1; fi
icon="$(sed -n 's/^Icon=//p' "$entry")"
[ -f "$PREFIX/share/pixmaps/$icon.xpm" ] || { echo "FAIL: icon $icon is not installed"; exit 1; }
head -4 "$PREFIX/share/pixmaps/$icon.xpm" | grep -q '"32 32 ' || { echo "FAIL: the icon is not 32 x 32"; exit 1; }
echo PASS
