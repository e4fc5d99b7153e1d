#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a build into a temporary prefix and checks that it holds what a
# Linux desktop and a Debian package expect: both programs, a valid menu entry
# and catalogue entry, the icon in the theme's sizes and as a drawing, the
# manual pages and the changelog compressed, the licence in a machine-readable
# copyright file and the user guide in UTF-8.
set -euo pipefail
build=$1
source_dir=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" --strip >/dev/null

fail() { echo "install check: $*" >&2; exit 1; }

for file in bin/vestrels bin/vestrels-cli \
            share/applications/vestrels.desktop \
            share/metainfo/io.github.vestrels.Vestrels.metainfo.xml \
            share/man/man1/vestrels.1.gz share/man/man1/vestrels-cli.1.gz \
            share/doc/vestrels/changelog.gz share/doc/vestrels/copyright \
            share/icons/hicolor/scalable/apps/vestrels.svg \
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
  zcat "$prefix/share/man/man1/$page.1.gz" | grep -q 'GNU General Public License' || fail "manual page $page: no licence"
  warnings=$(zcat "$prefix/share/man/man1/$page.1.gz" | groff -k -Tutf8 -man -ww -z 2>&1)
  [ -z "$warnings" ] || fail "manual page $page: $warnings"
done
grep -qx 'License: GPL-3+' "$prefix/share/doc/vestrels/copyright" || fail "copyright names no licence"
grep -q 'GPL-3.0-or-later' "$prefix/share/metainfo/io.github.vestrels.Vestrels.metainfo.xml" || fail "catalogue entry names no licence"
zcat "$prefix/share/doc/vestrels/changelog.gz" | cmp -s - "$source_dir/CHANGELOG" || fail "changelog is not the repository's"
iconv -f UTF-8 -t UTF-8 "$prefix/share/doc/vestrels/Readme.htm" >/dev/null && grep -q 'charset=utf-8' "$prefix/share/doc/vestrels/Readme.htm" \
  || fail "installed user guide is not UTF-8"
for program in vestrels vestrels-cli; do
  ! readelf -S "$prefix/bin/$program" | grep -q '\.symtab' || fail "$program is not stripped"
done
"$prefix/bin/vestrels-cli" --help >/dev/null || fail "installed vestrels-cli does not run"
echo "install check: all files in place"
