#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the program's icon, packaging/vestrels.svg, into the PNG sizes the
# desktop's icon theme asks for (packaging/icons/) and the sizes the windows
# carry (res/bitmaps/, compiled into the program). Run it after changing the
# drawing and commit what it writes; it needs rsvg-convert (librsvg2-bin).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
svg="$root/packaging/vestrels.svg"
command -v rsvg-convert >/dev/null || { echo "render_icons.sh: install librsvg2-bin for rsvg-convert" >&2; exit 1; }
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$svg" -o "$root/packaging/icons/vestrels-$size.png"
done
for size in 16 32 48 64; do
  cp "$root/packaging/icons/vestrels-$size.png" "$root/res/bitmaps/app-$size.png"
done
