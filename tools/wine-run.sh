#!/bin/sh
# Runs a Windows program of the build under Wine: the cross build's test
# runner (CMAKE_CROSSCOMPILING_EMULATOR) and the Windows end-to-end tests
# use it. The Wine prefix is the build's own (WINEPREFIX overrides), made
# once under a lock so that tests started together don't race to create it.
# Without WT_WINE_DISPLAY the program runs without an X display, as on a
# machine with no desktop. Programs with and without a display get prefixes
# of their own: Wine's desktop keeps the display driver of the program that
# made it, and every program of the same Wine server gets that one.
# WT_WINE_DPI (say 192) gives the desktop that many dots per inch, in
# prefixes of their own, so that the usual ones stay at 96.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
dpi=${WT_WINE_DPI:-}
if [ -n "${WT_WINE_DISPLAY:-}" ]; then
    : "${WINEPREFIX:=$top/build/wine-prefix-display${dpi:+-dpi$dpi}}"
else
    : "${WINEPREFIX:=$top/build/wine-prefix${dpi:+-dpi$dpi}}"
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
# The prefix is made once its marker is there, its DPI set too.
if [ ! -f "$WINEPREFIX/.wt-made" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    flock "$WINEPREFIX.lock" sh -c '
        [ -f "$WINEPREFIX/.wt-made" ] && exit 0
        [ -f "$WINEPREFIX/system.reg" ] || "$1" wineboot -i >/dev/null 2>&1
        if [ -n "$2" ]; then
            "$1" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null 2>&1
        fi
        touch "$WINEPREFIX/.wt-made"' sh "$wine" "$dpi"
fi
exec "$wine" "$@"
