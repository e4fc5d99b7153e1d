# Shared by scripts/run and scripts/test: installs the Debian packages the
# project needs when they are missing, then configures and builds a tree.
# shellcheck shell=bash

VESTRELS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

VESTRELS_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libwxgtk3.2-dev libgtk-3-dev wx3.2-i18n
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libchm-dev
  xvfb xauth xdotool fonts-dejavu-core
  desktop-file-utils appstream
  fp-utils clang
)

vestrels_install_packages() {
  local missing=()
  local p
  for p in "${VESTRELS_PACKAGES[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# vestrels_build DIR [cmake options...]; VESTRELS_TARGET limits the build.
vestrels_build() {
  local dir=$1
  shift
  cmake -S "$VESTRELS_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" ${VESTRELS_TARGET:+--target "$VESTRELS_TARGET"}
}
