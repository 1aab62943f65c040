#!/usr/bin/env bash
# Takes the README's screenshot of karbelon.exe after a calculation, under
# Wine on a private Xvfb display. A developer's tool (needs imagemagick and
# xdotool); run after `cmake --build --preset windows`.
#   tests/win32/screenshot.sh [OUTPUT.png [wine-session.sh start option...]]
# The README's is taken with a 9-point Hangul dialog font, as desktops use:
#   tests/win32/screenshot.sh docs/screenshot-windows.png --message-font NanumGothic
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
output=${1:-$root/docs/screenshot-windows.png}
shift $(($# > 0 ? 1 : 0))
bin=$root/build/windows/bin
for tool in import xdotool; do
    command -v "$tool" >/dev/null || {
        echo "screenshot: $tool is missing (scripts/install-deps.sh windows screenshot)" >&2
        exit 1
    }
done
[[ -x "$bin/karbelon_ui_automation.exe" ]] || {
    echo "screenshot: build the windows preset first" >&2
    exit 1
}

session=$(mktemp -d)
trap '"$root/tests/win32/wine-session.sh" stop "$session/wine"; rm -rf "$session"' EXIT
"$root/tests/win32/wine-session.sh" start "$session/wine" "$@" >/dev/null
export KARBELON_WINE_SESSION=$session/wine
# shellcheck source=/dev/null
. "$session/wine/env"
# No window manager on Xvfb: Wine draws the title bar itself.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1

"$root/cmake/wine-run.sh" "$bin/karbelon_ui_automation.exe" --pose 20 &
poser=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --name '^카르벨론 데미지 계산기' 2>/dev/null | head -n 1 || true)
    [[ -n "$window" ]] && break
    sleep 0.2
done
[[ -n "$window" ]] || { echo "screenshot: the window did not appear" >&2; exit 1; }
sleep 3  # the calculation and the repaint
mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
wait "$poser" || true
echo "wrote $output"
