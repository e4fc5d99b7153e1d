#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks that it holds what a
# Linux desktop expects: both programs, a valid menu entry and catalogue entry,
# the icon in the theme's sizes, the manual pages and the user guide.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "install check: $*" >&2; exit 1; }

for file in bin/vestrels bin/vestrels-cli \
            share/applications/vestrels.desktop \
            share/metainfo/io.github.vestrels.Vestrels.metainfo.xml \
            share/man/man1/vestrels.1 share/man/man1/vestrels-cli.1 \
            share/doc/vestrels/Readme.htm; do
  [ -s "$prefix/$file" ] || fail "missing $file"
done
[ -x "$prefix/bin/vestrels" ] && [ -x "$prefix/bin/vestrels-cli" ] || fail "programs not executable"

# Each icon is a PNG of its folder's size (width and height from the header).
for size in 16 22 24 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/vestrels.png"
  [ -s "$icon" ] || fail "missing icon $size"
  read -r w h < <(od -An -tu1 -j16 -N8 "$icon" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "icon $size is ${w}x${h}"
done

desktop-file-validate "$prefix/share/applications/vestrels.desktop"
grep -qx 'Exec=vestrels' "$prefix/share/applications/vestrels.desktop" || fail "menu entry does not start vestrels"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/io.github.vestrels.Vestrels.metainfo.xml" >/dev/null \
  || appstreamcli validate --no-net "$prefix/share/metainfo/io.github.vestrels.Vestrels.metainfo.xml"
for page in vestrels vestrels-cli; do
  warnings=$(groff -k -Tutf8 -man -ww -z "$prefix/share/man/man1/$page.1" 2>&1)
  [ -z "$warnings" ] || fail "manual page $page: $warnings"
done
"$prefix/bin/vestrels-cli" --help >/dev/null || fail "installed vestrels-cli does not run"
echo "install check: all files in place"
