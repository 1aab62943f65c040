#!/usr/bin/env bash
# Packs the rendered hicolor PNGs (make-hicolor-png.sh) at 16, 24, 32, 48, 64
# and 256 pixels into karbelon.ico, the Windows executable's icon. A
# developer's tool: the .ico is committed, so the build needs no imagemagick.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
if ! command -v convert >/dev/null; then
    echo "make-ico: convert is missing (apt-get install imagemagick)" >&2
    exit 1
fi
pngs=()
for size in 16 24 32 48 64 256; do
    pngs+=("$here/hicolor/karbelon-$size.png")
done
# The 256-pixel image stays PNG-compressed inside the .ico, as Windows expects.
convert "${pngs[@]}" "$here/karbelon.ico"
echo "wrote $here/karbelon.ico"
