#!/usr/bin/env bash
# What `cmake --install` puts in place: the program, which prints its help and version without a
# display and says in one line that it has none when started without one, the desktop entry and
# the software-centre metadata that pass their validators, the icons and the manual pages, which
# name the smallest screen the program accepts.
#   check_install.sh BUILD_FOLDER
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for file in bin/tessel share/applications/tessel.desktop \
            share/metainfo/org.tessel_editor.tessel.metainfo.xml \
            share/icons/hicolor/scalable/apps/tessel.svg \
            share/icons/hicolor/48x48/apps/tessel.png \
            share/man/man1/tessel.1.gz share/man/es/man1/tessel.1.gz share/doc/tessel/copyright; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done

desktop-file-validate "$prefix/share/applications/tessel.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.tessel_editor.tessel.metainfo.xml"
grep -q '^Exec=tessel %f$' "$prefix/share/applications/tessel.desktop" || fail "Exec takes no file"

# The smallest screen the program accepts is the one its manual pages and metainfo name.
header=$(dirname "$0")/../../src/app/StartupChecks.h
width=$(sed -n 's/.*kMinimumScreenWidth = \([0-9]*\);.*/\1/p' "$header")
height=$(sed -n 's/.*kMinimumScreenHeight = \([0-9]*\);.*/\1/p' "$header")
[ -n "$width" ] && [ -n "$height" ] || fail "no minimum screen size in $header"
zgrep -q "at least $width x $height pixels" "$prefix/share/man/man1/tessel.1.gz" ||
    fail "the manual page names another smallest screen than ${width} x $height"
zgrep -q "al menos $width x $height puntos" "$prefix/share/man/es/man1/tessel.1.gz" ||
    fail "the Spanish manual page names another smallest screen than ${width} x $height"
metainfo=$prefix/share/metainfo/org.tessel_editor.tessel.metainfo.xml
grep -q "<display_length side=\"shortest\" compare=\"ge\">$height<" "$metainfo" &&
    grep -q "<display_length side=\"longest\" compare=\"ge\">$width<" "$metainfo" ||
    fail "the metainfo names another smallest screen than ${width} x $height"

# Without any display: --help and --version print and end, a mistake ends with 1, and so does a
# start, with one line that says why.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u XDG_SESSION_TYPE
           -u QT_QPA_PLATFORM)
version=$("${nodisplay[@]}" "$prefix/bin/tessel" --version)
grep -q "^tessel [0-9]*\.[0-9]*\.[0-9]*$" <<<"$version" || fail "--version printed '$version'"
grep -q "$version" <(zcat "$prefix/share/man/man1/tessel.1.gz") || fail "man page lacks $version"
grep -q "release version=\"${version#tessel }\"" \
    "$prefix/share/metainfo/org.tessel_editor.tessel.metainfo.xml" || fail "metainfo release"
"${nodisplay[@]}" "$prefix/bin/tessel" --help | grep -q -- "--version" || fail "--help"
status=0
"${nodisplay[@]}" "$prefix/bin/tessel" --nada 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "an unknown option ended with $status"
status=0
said=$("${nodisplay[@]}" "$prefix/bin/tessel" 2>&1 >/dev/null) || status=$?
[ "$status" -eq 1 ] || fail "a start without a display ended with $status"
grep -q "^tessel: no hay pantalla a la que conectarse" <<<"$said" && [ "$(wc -l <<<"$said")" -eq 1 ] ||
    fail "a start without a display said '$said'"
echo "installed files valid"
