#!/bin/sh
# Runs a Windows program under Wine: CMake's cross-compiling emulator.
# Inside a test session (tests/win32/wine-session.sh) it uses that session's
# private prefix and Xvfb display; otherwise the caller's own.
set -eu
if [ -n "${KARBELON_WINE_SESSION:-}" ]; then
    if [ ! -f "$KARBELON_WINE_SESSION/env" ]; then
        echo "wine-run: no Wine session in $KARBELON_WINE_SESSION (did its setup test run?)" >&2
        exit 1
    fi
    # shellcheck source=/dev/null
    . "$KARBELON_WINE_SESSION/env"
fi
# No debug chatter, no prompts to download Mono or Gecko, and no menu entries
# in the user's home for the shortcuts that the installer tests make.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine's own long-lived helpers (services, the desktop) are started by the
# first program that needs them and inherit its output; were that CTest's
# pipe, CTest would wait for them until the session ends. So the program's
# output goes through a file of its own.
log=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
status=0
wine "$@" </dev/null >"$log" 2>&1 || status=$?
cat "$log"
rm -f "$log"
exit "$status"
