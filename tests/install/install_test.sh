#!/usr/bin/env bash
# Installs the built program into a temporary prefix and checks what a
# desktop needs of it; then builds the Debian package, unpacks it into another
# prefix and starts the packaged program on the offscreen platform.
# Usage: install_test.sh BUILD_FOLDER
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/alborx share/applications/alborx.desktop share/mime/packages/alborx.xml \
            share/icons/hicolor/scalable/apps/alborx.svg share/icons/hicolor/16x16/apps/alborx.png \
            share/icons/hicolor/256x256/apps/alborx.png; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done

desktop-file-validate "$prefix/share/applications/alborx.desktop" || fail "desktop entry"
grep -q '^Exec=alborx --otworz %f$' "$prefix/share/applications/alborx.desktop" || fail "Exec line"
xmllint --noout "$prefix/share/mime/packages/alborx.xml" || fail "MIME XML"
xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/alborx.svg" || fail "icon SVG"

# The MIME database built from our package knows the type by name and by
# its magic.
mkdir -p "$work/mime/packages"
cp "$prefix/share/mime/packages/alborx.xml" "$work/mime/packages/"
update-mime-database "$work/mime" || fail "update-mime-database"
[ -f "$work/mime/application/x-alborx-catalogue.xml" ] || fail "MIME type not registered"
grep -q 'PALBORX!100' "$work/mime/magic" || fail "MIME magic not registered"
grep -q 'abx' "$work/mime/globs2" || fail "MIME glob not registered"

# Help and version answer without a display and write no settings. (Outputs
# are taken whole first: grep -q ending a pipe early would fail it.)
cd "$work"
version="$(env -u DISPLAY "$prefix/bin/alborx" --version)"
[ "$version" = 'ALBORX! 1.0' ] || fail "--version"
usage="$(env -u DISPLAY "$prefix/bin/alborx" --help)"
[[ "$usage" == *--otworz* ]] || fail "--help"
[ ! -e "$work/alborx.cfg" ] || fail "--help wrote the settings"

# The installed program starts and keeps running until stopped.
started() {
  local binary="$1" rc=0
  QT_QPA_PLATFORM=offscreen timeout 3 "$binary" >/dev/null 2>&1 || rc=$?
  [ "$rc" -eq 124 ] || fail "$binary ended with $rc instead of running"
}
started "$prefix/bin/alborx"

# The Debian package holds the same files and starts the same way.
(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack"
package="$build/alborx_1.0_$(dpkg --print-architecture).deb"
[ -f "$package" ] || fail "no package was built"
info="$(dpkg-deb --info "$package")"
[[ "$info" == *Depends:*libqt6widgets6* ]] || fail "package dependencies"
dpkg-deb -x "$package" "$work/deb"
for file in usr/bin/alborx usr/share/applications/alborx.desktop usr/share/mime/packages/alborx.xml \
            usr/share/icons/hicolor/48x48/apps/alborx.png; do
  [ -f "$work/deb/$file" ] || fail "$file is not in the package"
done
started "$work/deb/usr/bin/alborx"
echo "install and package: passed"
