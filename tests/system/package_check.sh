#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs a build with `cpack -G DEB` and has lintian judge the package: no
# error and no warning may remain. Takes the build folder.
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >/dev/null
package=$(ls "$out"/vestrels_*.deb)
dpkg-deb --field "$package" Depends | grep -q 'xdg-utils' || { echo "package check: xdg-utils is no dependency" >&2; exit 1; }
lintian --fail-on error,warning --no-tag-display-limit "$package"
echo "package check: lintian passes $(basename "$package")"
