#!/usr/bin/env bash
# Renders karbelon.svg into karbelon.ico (16, 24, 32, 48, 64 and 256 pixels)
# for the Windows executable. A developer's tool: the .ico is committed, so
# the build needs neither librsvg2-bin nor imagemagick.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
for tool in rsvg-convert convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "make-ico: $tool is missing (apt-get install librsvg2-bin imagemagick)" >&2
        exit 1
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pngs=()
for size in 16 24 32 48 64 256; do
    # Each size rendered from the drawing itself, not scaled down from 256.
    rsvg-convert -w "$size" -h "$size" "$here/karbelon.svg" -o "$work/$size.png"
    pngs+=("$work/$size.png")
done
# The 256-pixel image stays PNG-compressed inside the .ico, as Windows expects.
convert "${pngs[@]}" "$here/karbelon.ico"
echo "wrote $here/karbelon.ico"
