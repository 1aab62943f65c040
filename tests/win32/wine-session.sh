#!/usr/bin/env bash
# The private Wine session that the Windows tests run in: a fresh prefix made
# once before the tests, its own Xvfb display and a persistent wineserver.
# Both processes are stopped again by their own ids, never by name.
#
#   wine-session.sh start DIR [OPTION...]   DIR/env then holds WINEPREFIX and DISPLAY
#   wine-session.sh stop DIR
# Options of start, for the desktops the window must also read well on:
#   --message-font FACE   the system's dialog font is 9-point FACE
#   --dpi N               the system runs at N dots per inch
#   --keep-template       keep a pristine copy of the new prefix for --from
#   --from BASE           copy BASE's pristine prefix instead of making one
#                         (seconds instead of the better part of a minute)
set -euo pipefail

usage="usage: wine-session.sh start DIR [--message-font FACE] [--dpi N] [--keep-template] [--from BASE] | stop DIR"
action=${1:?$usage}
dir=${2:?$usage}
shift 2
message_font=""
dpi=""
keep_template=false
from=""
while (($#)); do
    case "$1" in
        --message-font) message_font=${2:?$usage}; shift 2 ;;
        --dpi) dpi=${2:?$usage}; shift 2 ;;
        --keep-template) keep_template=true; shift ;;
        --from) from=${2:?$usage}; shift 2 ;;
        *) echo "$usage" >&2; exit 2 ;;
    esac
done
if [[ -n "$dpi" && ! "$dpi" =~ ^[1-9][0-9]{1,3}$ ]]; then
    echo "wine-session: --dpi wants a number of dots per inch, not '$dpi'" >&2
    exit 2
fi
if ((${#message_font} > 31)); then
    echo "wine-session: a font face name has at most 31 characters" >&2
    exit 2
fi

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

    if [[ -n "$from" ]]; then
        if [[ ! -d "$from/template" ]]; then
            echo "wine-session: $from has no template prefix (start it with --keep-template)" >&2
            exit 1
        fi
        cp -a "$from/template" "$WINEPREFIX"
        write_desktop_settings
        finish_start
        return
    fi
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
    import_registry "$regfile"
    if $keep_template; then
        wait_for_wineserver
        cp -a "$WINEPREFIX" "$dir/template"
    fi
    write_desktop_settings
    finish_start
}

# Everything written to disk before the tests start.
wait_for_wineserver() {
    if ! timeout 120 wineserver -w; then
        echo "wine-session: wineserver did not finish after the prefix was made" >&2
        exit 1
    fi
}

import_registry() {
    if ! timeout 120 wine regedit /S "$(winepath_of "$1")" >>"$dir/wineboot.log" 2>&1; then
        echo "wine-session: could not write the session's registry settings" >&2
        exit 1
    fi
}

# A LOGFONTW of 9 points at 96 DPI (lfHeight -12, normal weight) naming FACE,
# as regedit's hex list.
logfont_hex() {
    local face=$1 bytes=()
    bytes+=(f4 ff ff ff 00 00 00 00 00 00 00 00 00 00 00 00 90 01 00 00)
    # italic, underline, strike-out, DEFAULT_CHARSET, precisions, quality, pitch
    bytes+=(00 00 00 01 00 00 00 00)
    local utf16
    utf16=$(printf '%s' "$face" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1)
    # shellcheck disable=SC2206
    bytes+=($utf16)
    while ((${#bytes[@]} < 92)); do bytes+=(00); done
    local IFS=,
    printf '%s' "${bytes[*]}"
}

# The message font and DPI this session's desktop uses, if asked for.
write_desktop_settings() {
    [[ -n "$message_font$dpi" ]] || return 0
    local regfile=$dir/desktop.reg
    {
        echo "REGEDIT4"
        if [[ -n "$message_font" ]]; then
            echo
            echo '[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]'
            echo "\"MessageFont\"=hex:$(logfont_hex "$message_font")"
        fi
        if [[ -n "$dpi" ]]; then
            # Wine reads the user's value, Windows the user's and the machine's.
            local value
            value=$(printf '%08x' "$dpi")
            echo
            echo '[HKEY_CURRENT_USER\Control Panel\Desktop]'
            echo "\"LogPixels\"=dword:$value"
            echo
            echo '[HKEY_CURRENT_CONFIG\Software\Fonts]'
            echo "\"LogPixels\"=dword:$value"
        fi
    } >"$regfile"
    import_registry "$regfile"
}

finish_start() {
    wait_for_wineserver

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
        rm -rf "$dir/prefix" "$dir/template"
        ;;
    *)
        echo "$usage" >&2
        exit 2
        ;;
esac
