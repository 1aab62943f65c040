#!/usr/bin/env bash
# Renders karbelon.svg into hicolor/karbelon-<size>.png, the menu icons that
# the Debian package installs beside the SVG. A developer's tool: the PNGs are
# committed, so the build needs no SVG renderer.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
if ! command -v rsvg-convert >/dev/null; then
    echo "make-hicolor-png: rsvg-convert is missing (apt-get install librsvg2-bin)" >&2
    exit 1
fi
sizes=(16 22 24 32 48 64 128 256)
mkdir -p "$here/hicolor"
for size in "${sizes[@]}"; do
    # Each size rendered from the drawing itself, not scaled from a larger one.
    rsvg-convert -w "$size" -h "$size" "$here/karbelon.svg" -o "$here/hicolor/karbelon-$size.png"
done
echo "wrote $here/hicolor/karbelon-{$(IFS=,; echo "${sizes[*]}")}.png"
