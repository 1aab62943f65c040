#!/usr/bin/env bash
# The private Wine session that the Windows tests run in: a fresh prefix made
# once before the tests, its own Xvfb display and a persistent wineserver.
# Both processes are stopped again by their own ids, never by name.
#
#   wine-session.sh start DIR    DIR/env then holds WINEPREFIX and DISPLAY
#   wine-session.sh stop DIR
set -euo pipefail

usage="usage: wine-session.sh start|stop DIR"
action=${1:?$usage}
dir=${2:?$usage}

export WINEDEBUG=-all
# No Mono or Gecko prompts, and no menu entries written into the user's home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

# Stops the process whose id is in FILE if it still is the program NAME.
stop_process() {
    local file=$1 name=$2 pid
    [[ -f "$file" ]] || return 0
    pid=$(<"$file")
    rm -f "$file"
    [[ "$pid" =~ ^[0-9]+$ ]] || return 0
    if [[ "$(cat "/proc/$pid/comm" 2>/dev/null)" != "$name"* ]]; then
        return 0
    fi
    kill -TERM "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
}

# Waits up to SECONDS for FILE to be non-empty.
wait_for_file() {
    local file=$1 seconds=$2
    for _ in $(seq $((seconds * 10))); do
        [[ -s "$file" ]] && return 0
        sleep 0.1
    done
    return 1
}

# Quotes a value for the POSIX shell that sources DIR/env.
shell_quote() {
    printf "'%s'" "${1//\'/\'\\\'\'}"
}

start() {
    # Leftovers of an interrupted run go first.
    stop
    rm -rf "$dir"
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    export WINEPREFIX=$dir/prefix

    # Xvfb picks a free display itself and writes its number to fd 3.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
        3>"$dir/display" </dev/null >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    if ! wait_for_file "$dir/display" 30; then
        echo "wine-session: Xvfb did not start; see $dir/xvfb.log" >&2
        exit 1
    fi
    export DISPLAY=":$(tr -d '[:space:]' <"$dir/display")"

    if ! timeout 300 wine wineboot --init >"$dir/wineboot.log" 2>&1; then
        echo "wine-session: wineboot --init failed; see $dir/wineboot.log" >&2
        exit 1
    fi
    # Wine draws the title bar's buttons with its Marlett font (Debian's
    # fonts-wine), which this Wine does not put into new prefixes itself.
    if [[ -f /usr/share/wine/fonts/marlett.ttf ]]; then
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    # Hangul needs a font that has it behind the dialog fonts; the number
    # conventions are pinned so that expected reports do not follow the host.
    local regfile=$dir/session.reg
    cat >"$regfile" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS Shell Dlg"="NanumGothic"
"MS Shell Dlg 2"="NanumGothic"
"Tahoma"="NanumGothic"
"Segoe UI"="NanumGothic"
"MS Sans Serif"="NanumGothic"
"Microsoft Sans Serif"="NanumGothic"

[HKEY_CURRENT_USER\Control Panel\International]
"sDecimal"="."
"sThousand"=","
REG
    if ! timeout 120 wine regedit /S "$(winepath_of "$regfile")" >>"$dir/wineboot.log" 2>&1; then
        echo "wine-session: could not write the session's registry settings" >&2
        exit 1
    fi
    # Everything written to disk before the tests start.
    if ! timeout 120 wineserver -w; then
        echo "wine-session: wineserver did not finish after the prefix was made" >&2
        exit 1
    fi

    # One server for the whole run instead of one per test.
    wineserver -f -p </dev/null >"$dir/wineserver.log" 2>&1 &
    echo $! >"$dir/wineserver.pid"

    {
        echo "export WINEPREFIX=$(shell_quote "$WINEPREFIX")"
        echo "export DISPLAY=$(shell_quote "$DISPLAY")"
        echo "export WINEARCH=win64"
    } >"$dir/env"
    echo "wine-session: prefix $WINEPREFIX, display $DISPLAY"
}

# Wine sees the Unix root as drive Z:.
winepath_of() {
    local path=$1
    printf 'Z:%s' "${path//\//\\}"
}

stop() {
    [[ -d "$dir" ]] || return 0
    if [[ -f "$dir/wineserver.pid" && -d "$dir/prefix" ]]; then
        # Asks this prefix's server, and no other, to end the Wine processes it
        # serves (services, leftover programs); they outlive a plain kill.
        WINEPREFIX=$dir/prefix timeout 30 wineserver -k 2>/dev/null || true
    fi
    stop_process "$dir/wineserver.pid" wineserver
    stop_process "$dir/xvfb.pid" Xvfb
    rm -f "$dir/env"
}

case "$action" in
    start) start ;;
    stop)
        stop
        # The prefix is only good for one run; the next start makes a new one.
        rm -rf "$dir/prefix"
        ;;
    *)
        echo "$usage" >&2
        exit 2
        ;;
esac
