#!/usr/bin/env bash
# Builds the Debian package into a scratch folder and checks that its binaries are stripped and
# that, built with debug information, that information comes as a package of its own whose
# files carry the binaries' build ids. Usage: check-package.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Uncompressed: the test is about the contents, and compressing the debug information is slow.
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" \
      -D CPACK_DEBIAN_COMPRESSION_TYPE=none >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; fail "cpack"; }
deb=$(ls "$out"/norvalytintora_*.deb)
dpkg-deb -x "$deb" "$out/root"
# grep reads all of readelf's output: with -q it could quit first, and readelf's SIGPIPE would fail
# the pipe (pipefail) whatever the sections are.
has_debug() { readelf -S --wide "$1" | grep ' \.debug_info ' >/dev/null; }
build_id() { readelf -n "$1" | sed -n 's/.*Build ID: *//p'; }
for b in norvalytintora norvalytintora-cli; do
    [ -x "$out/root/usr/bin/$b" ] || fail "$b missing from the package"
    ! has_debug "$out/root/usr/bin/$b" || fail "$b carries debug information"
done
if has_debug "$build/bin/norvalytintora"; then
    ddeb=$(ls "$out"/norvalytintora-dbgsym_*.ddeb 2>/dev/null) || fail "no debug symbol package"
    dpkg-deb -x "$ddeb" "$out/debug"
    for b in norvalytintora norvalytintora-cli; do
        id=$(build_id "$out/root/usr/bin/$b")
        [ -n "$id" ] || fail "$b has no build id"
        f="$out/debug/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug"
        [ -f "$f" ] && has_debug "$f" || fail "no debug information for $b ($id)"
    done
fi
echo "package stripped: $(du -k "$out/root/usr/bin/norvalytintora" | cut -f1) KiB program"
