# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by scripts/run and scripts/test: installs the Debian packages the
# project needs when they are missing, then configures and builds a tree.
# Both may be run again and again; root (or sudo) is asked for only when a
# package is missing.
# shellcheck shell=bash

VESTRELS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What building and running the programs need.
VESTRELS_RUN_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libwxgtk3.2-dev libgtk-3-dev wx3.2-i18n
  nlohmann-json3-dev libchm-dev
  fonts-dejavu-core xdg-utils
)

# What the test suite adds: the test and benchmark libraries, clang for the
# fuzz targets, a virtual display and a robot for the window tests, chmcmd
# (fp-utils) for compiled-help issues, the desktop files' validators, the
# Debian package's build and lintian, a session bus with the accessibility
# bus and its Python reader for the screen-reader test, and ripgrep, which
# the text search's benchmark measures itself against.
VESTRELS_TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev clang
  xvfb xauth xdotool fp-utils
  desktop-file-utils appstream
  dpkg-dev lintian
  dbus at-spi2-core python3-pyatspi
  ripgrep
)

# vestrels_install_packages PACKAGE...: installs those not installed yet.
vestrels_install_packages() {
  local missing=()
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "These Debian packages are missing: ${missing[*]}" >&2
      echo "Neither root nor sudo is available here: have an administrator run" >&2
      echo "  apt-get install ${missing[*]}" >&2
      echo "then run scripts/$(basename "$0") again." >&2
      exit 1
    fi
    sudo="sudo"
  fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# vestrels_build_programs DIR: both programs, their manual pages and what
# installing and packaging need, configured without any test tool, as on a
# machine that has only the packages above.
vestrels_build_programs() {
  vestrels_build "$1" -DBUILD_TESTING=OFF
}

# vestrels_build DIR [cmake options...]; VESTRELS_TARGET limits the build.
vestrels_build() {
  local dir=$1
  shift
  cmake -S "$VESTRELS_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" ${VESTRELS_TARGET:+--target "$VESTRELS_TARGET"}
}
