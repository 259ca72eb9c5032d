#!/bin/sh
# Runs a Windows program of the build under Wine: the cross build's test
# runner (CMAKE_CROSSCOMPILING_EMULATOR) and the Windows end-to-end tests
# use it. The Wine prefix is the build's own (WINEPREFIX overrides), made
# once under a lock so that tests started together don't race to create it.
# Without WT_WINE_DISPLAY the program runs without an X display, as on a
# machine with no desktop. Programs with and without a display get prefixes
# of their own: Wine's desktop keeps the display driver of the program that
# made it, and every program of the same Wine server gets that one.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${WT_WINE_DISPLAY:-}" ]; then
    : "${WINEPREFIX:=$top/build/wine-prefix-display}"
else
    : "${WINEPREFIX:=$top/build/wine-prefix}"
fi
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# Wine takes its code pages from the locale: C.UTF-8 gives those of a US
# English Windows (ANSI 1252, OEM 437) whatever the host's locale is, so
# typed characters convert the same everywhere.
export LC_ALL=C.UTF-8
# No Mono or Gecko: their installers would ask on the first start.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ -n "${WT_WINE_DISPLAY:-}" ]; then
    export DISPLAY="$WT_WINE_DISPLAY"
else
    unset DISPLAY
fi
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    flock "$WINEPREFIX.lock" sh -c '[ -f "$WINEPREFIX/system.reg" ] || "$1" wineboot -i >/dev/null 2>&1' sh "$wine"
fi
exec "$wine" "$@"
