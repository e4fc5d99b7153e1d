#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A new user's first steps on a machine that never had the test packages:
# scripts/run on a copy of the tree, without a display, with the files of
# GoogleTest, GoogleMock and Google Benchmark hidden in a private mount
# namespace; then the README's install and package steps from the tree it
# built. Takes the source folder. Exits 77 (skipped) where no mount
# namespace can be made.
set -euo pipefail
source_dir=$(cd "$1" && pwd)

if [ "$(id -u)" -ne 0 ] || ! unshare -m true 2>/dev/null; then
  echo "clean machine check: skipped, hiding the test packages needs root and unshare -m"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar -C "$source_dir" --exclude='./build*' --exclude=./.git --exclude=./.demo-profile -cf - . | tar -C "$work" -xf -
mkdir -p "$work/empty"

# The folders that belong to the test toolkits alone (owned by no other
# installed package), topmost first.
toolkits='^(libgtest-dev|libgmock-dev|googletest|libbenchmark-dev)$'
hidden_folders() {
  local package folder owners
  for package in libgtest-dev libgmock-dev googletest libbenchmark-dev; do
    dpkg-query -W "$package" >/dev/null 2>&1 || continue
    dpkg -L "$package" | while read -r folder; do
      [ -d "$folder" ] && [ ! -L "$folder" ] || continue
      owners=$(dpkg -S "$folder" 2>/dev/null | sed 's/: .*//' | tr ', ' '\n\n' | sed 's/:.*//; /^$/d' | sort -u)
      [ -n "$owners" ] && ! grep -q -v -E "$toolkits" <<<"$owners" && echo "$folder"
    done
  done | sort -u | awk 'prev == "" || index($0, prev "/") != 1 { print; prev = $0 }'
}

log="$work/run.log"
status=0
# shellcheck disable=SC2016
unshare -m bash -c '
  set -e
  while read -r folder; do [ -z "$folder" ] || mount --bind "$1/empty" "$folder"; done <<<"$2"
  env -u DISPLAY -u WAYLAND_DISPLAY "$1/scripts/run"
' bash "$work" "$(hidden_folders)" >"$log" 2>&1 || status=$?

fail() {
  echo "clean machine check: $*" >&2
  tail -n 20 "$log" >&2
  exit 1
}
[ "$status" -eq 0 ] || fail "scripts/run ended with status $status"
for program in vestrels vestrels-cli; do
  [ -x "$work/build/$program" ] || fail "scripts/run did not build $program"
done
grep -q '^No display' "$log" || fail "scripts/run did not say that there is no display"
grep -q "InternetZone" "$log" || fail "scripts/run did not show the demo collection"

# The README's install step from that tree.
cmake --install "$work/build" --prefix "$work/prefix" >/dev/null || fail "cmake --install failed"
for program in vestrels vestrels-cli; do
  [ -x "$work/prefix/bin/$program" ] || fail "cmake --install did not install $program"
done

# The package step: without dpkg-shlibdeps it stops and names dpkg-dev,
# with it the package names the libraries the programs link.
mkdir -p "$work/packages"
if unshare -m bash -c 'mount --bind /dev/null /usr/bin/dpkg-shlibdeps 2>/dev/null || true
                       cd "$1/packages" && cpack --config "$1/build/CPackConfig.cmake" -G DEB' \
     bash "$work" >"$log" 2>&1; then
  fail "cpack made a package without dpkg-shlibdeps"
fi
grep -q dpkg-dev "$log" || fail "cpack without dpkg-shlibdeps did not name dpkg-dev"
ls "$work"/packages/*.deb >/dev/null 2>&1 && fail "cpack without dpkg-shlibdeps left a package"
if command -v dpkg-shlibdeps >/dev/null; then
  (cd "$work/packages" && cpack --config "$work/build/CPackConfig.cmake" -G DEB) >"$log" 2>&1 || fail "cpack failed"
  depends=$(dpkg-deb --field "$work"/packages/vestrels_*.deb Depends)
  for library in libwxgtk3.2 libchm; do
    [[ "$depends" == *"$library"* ]] || fail "the package's Depends lack $library: $depends"
  done
fi
echo "clean machine check: scripts/run built both programs without the test packages; install and package steps work"
