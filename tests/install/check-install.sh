#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop expects to find there.
# Usage: check-install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" --strip >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
for f in bin/norvalytintora bin/norvalytintora-cli \
         share/applications/example.norvalytintora.Paint.desktop \
         share/metainfo/example.norvalytintora.Paint.metainfo.xml \
         share/icons/hicolor/scalable/apps/norvalytintora.svg; do
    [ -f "$prefix/$f" ] || fail "$f missing"
done
for size in 16 24 32 48 64 128 256; do
    [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/norvalytintora.png" ] || fail "${size}px icon missing"
done
for b in norvalytintora norvalytintora-cli; do
    # All of readelf's output read (no grep -q): an early quit would fail the pipe, not the check.
    ! readelf -S --wide "$prefix/bin/$b" | grep ' \.debug_info ' >/dev/null || fail "$b not stripped"
done
[ -n "$(ls "$prefix/share/norvalytintora/Data/brushs")" ] || fail "brush library missing"
[ -n "$(ls "$prefix/share/norvalytintora/Data/pattens")" ] || fail "pattern library missing"
[ ! -e "$prefix/bin/Data" ] || fail "Data belongs under share/, not bin/"

desktop=$prefix/share/applications/example.norvalytintora.Paint.desktop
grep -qx 'Exec=norvalytintora %f' "$desktop" || fail "Exec line"
grep -qx 'Categories=Graphics;2DGraphics;RasterGraphics;' "$desktop" || fail "Categories line"
for type in image/bmp image/jpeg image/gif image/png image/vnd.microsoft.icon image/x-win-bitmap image/wmf image/emf; do
    grep -q "^MimeType=.*$type;" "$desktop" || fail "MIME type $type"
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/example.norvalytintora.Paint.metainfo.xml" ||
        fail "appstreamcli validate"
fi
"$prefix/bin/norvalytintora" --version | grep -q '^norvalytintora 3.9.0.12$' || fail "--version"
"$prefix/bin/norvalytintora" --help | grep -q '^Usage: norvalytintora \[FILE\]' || fail "--help"
echo "installed layout OK"
