#!/usr/bin/env bash
# Renders karbelon.svg into window/karbelon-<size>.rgba: raw 8-bit RGBA rows,
# the window icon that the Qt build embeds. A developer's tool: the files are
# committed, so the build needs neither librsvg2-bin nor imagemagick.
#
# Raw pixels because every decoding path costs start-up time: Qt's SVG icon
# engine loads libQt6Svg, and even a PNG read asks each installed image
# plugin (SVG, JPEG, GIF, ICO) first, loading all of them; together about a
# seventh of the window's start-up.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
for tool in rsvg-convert convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "make-window-icon: $tool is missing (apt-get install librsvg2-bin imagemagick)" >&2
        exit 1
    fi
done

mkdir -p "$here/window"
for size in 16 24 32 48 64; do
    # Each size rendered from the drawing itself, not scaled from a larger one.
    rsvg-convert -w "$size" -h "$size" "$here/karbelon.svg" |
        convert png:- -depth 8 "rgba:$here/window/karbelon-$size.rgba"
done
echo "wrote $here/window/karbelon-{16,24,32,48,64}.rgba"
