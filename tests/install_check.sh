#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop needs:
# the program, a valid desktop entry, the project file type (by name and by
# its first bytes) and the icon at every size in the hicolor theme.
set -euo pipefail
build=$(dirname "$1")
src=${OLLAN_SOURCE_DIR:?}
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
fail() { echo "install check: $*"; exit 1; }

DESTDIR="$dest" cmake --install "$build" --prefix /usr >"$dest/install.log" || fail "$(cat "$dest/install.log")"
share="$dest/usr/share"
[ -x "$dest/usr/bin/ollan" ] || fail "the program is not installed in bin"
"$dest/usr/bin/ollan" --version >/dev/null || fail "the installed program does not run"

desktop="$share/applications/ollan.desktop"
desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
grep -q '^Categories=.*Graphics;' "$desktop" || fail "the desktop entry is not in Graphics"
for type in application/x-ollan-project image/openraster image/png image/jpeg; do
  grep -q "^MimeType=.*$type;" "$desktop" || fail "the desktop entry does not open $type"
done

types="$share/mime/packages/ollan.xml"
xmllint --noout "$types" || fail "the file type declaration is not well-formed"
# The installed declaration builds a MIME database that finds a project by its
# name and by its first bytes.
XDG_DATA_DIRS="$share" update-mime-database "$share/mime" || fail "update-mime-database refused the declaration"
grep -q 'application/x-ollan-project:\*\.olp' "$share/mime/globs2" || fail "*.olp is not declared"
cp "$src/tests/fixtures/project_ok_two_layers.olp" "$dest/painting.olp"
cp "$src/tests/fixtures/project_ok_two_layers.olp" "$dest/no_extension"
printf 'not a project' > "$dest/other"
if command -v gio >/dev/null; then
  type_of() { XDG_DATA_DIRS="$share" XDG_DATA_HOME="$dest/none" gio info -a standard::content-type "$1" |
    sed -n 's/.*standard::content-type: //p'; }
  [ "$(type_of "$dest/painting.olp")" = application/x-ollan-project ] || fail "a .olp is $(type_of "$dest/painting.olp")"
  [ "$(type_of "$dest/no_extension")" = application/x-ollan-project ] ||
    fail "a project without its extension is $(type_of "$dest/no_extension")"
  [ "$(type_of "$dest/other")" != application/x-ollan-project ] || fail "any file is taken for a project"
fi

for side in 16 24 32 48 64 128 256; do
  icon="$share/icons/hicolor/${side}x${side}/apps/ollan.png"
  [ -s "$icon" ] || fail "no ${side}x${side} icon"
  python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(26); w,h=struct.unpack(">II",d[16:24]); sys.exit(0 if d[:8]==b"\x89PNG\r\n\x1a\n" and w==h==int(sys.argv[2]) else 1)' \
    "$icon" "$side" || fail "$icon is not a ${side}x${side} PNG"
done
echo "install check: ok"
