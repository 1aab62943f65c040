#!/usr/bin/env bash
# Takes docs/screenshot-linux.png: the window after one press of "계산하기",
# under Xvfb with Hangul fonts, cropped to the window. Then presses "닫기" and
# checks that the program ends. Needs: scripts/install-deps.sh screenshot.
#
#   scripts/screenshot-linux.sh [build/linux/bin/karbelon] [docs/screenshot-linux.png]
set -euo pipefail
cd "$(dirname "$0")/.."

program=$(realpath -m "${1:-build/linux/bin/karbelon}")
output=$(realpath -m "${2:-docs/screenshot-linux.png}")
for tool in xvfb-run xdotool xwd convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "screenshot: $tool is missing; run scripts/install-deps.sh screenshot" >&2
        exit 1
    fi
done
if [[ ! -x "$program" ]]; then
    echo "screenshot: $program is not built (make build)" >&2
    exit 1
fi

# Runs inside the virtual display. Button centres are in window pixels:
# the control table's twips divided by 15.
shoot() {
    local program=$1 output=$2
    "$program" &
    local pid=$!
    local window
    window=$(xdotool search --sync --onlyvisible --class karbelon | head -n 1)
    sleep 0.5  # let the first paint finish
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" 120 252 click 1  # 계산하기
    sleep 0.5
    xwd -root -silent | convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
    xdotool mousemove --window "$window" 272 252 click 1  # 닫기
    for _ in $(seq 50); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            echo "wrote $output; 닫기 ended the program"
            return 0
        fi
        sleep 0.1
    done
    kill "$pid"
    echo "screenshot: the program was still running after 닫기" >&2
    return 1
}

if [[ "${SCREENSHOT_INSIDE_XVFB:-}" == 1 ]]; then
    shoot "$program" "$output"
else
    SCREENSHOT_INSIDE_XVFB=1 xvfb-run -a -s "-screen 0 800x600x24" "$0" "$program" "$output"
fi
