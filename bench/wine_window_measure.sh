#!/bin/sh
# Measures the Windows program's window under Wine on an Xvfb of its own,
# drawn by "DirectX" and by "GDI" (DRIVERS="DirectX GDI" by default): idle
# CPU at the prompt and at the final wait (the program's process, the Wine
# server and the X server), key-to-echo latency, and the cost of a full
# 512-row refresh pass of each.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
windows=${WINDOWS_BUILD:-$top/build/windows-bench}
linux=${BUILD:-$top/build/bench}
seconds=${SECONDS_IDLE:-5}
drivers=${DRIVERS:-DirectX GDI}
prefix=${WINEPREFIX:-$top/build/wine-prefix-display}

cmake -S "$top" -B "$windows" --toolchain "$top/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DWT_BENCH=ON -DWT_TESTS=OFF >/dev/null
cmake --build "$windows" -j2 --target wavetable gdi_pass dx_pass >/dev/null
cmake -S "$top" -B "$linux" -DCMAKE_BUILD_TYPE=Release -DWT_BENCH=ON -DWT_TESTS=OFF >/dev/null
cmake --build "$linux" -j2 --target display_latency >/dev/null

. "$top/bench/xvfb_measure.sh"
start_xvfb
WT_WINE_DISPLAY=$DISPLAY
export WT_WINE_DISPLAY

# The processes of this Wine prefix but the program: the Wine server
# (which serves every system call that crosses processes), and Wine's own
# services (the desktop process handles X events of the desktop).
wine_processes() {  # wineserver | others
    for p in /proc/[0-9]*; do
        pid=${p#/proc/}
        [ "$pid" = "$program" ] && continue
        { tr '\0' '\n' < "$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$prefix" || continue
        case "$(cat "$p/comm" 2>/dev/null)" in
            wineserver*) [ "$1" = wineserver ] && echo "$pid" ;;
            *) [ "$1" = others ] && echo "$pid" ;;
        esac
    done
}

idle_cpu() {  # label
    ws=$(wine_processes wineserver)
    others=$(wine_processes others)
    p0=$(cpu_ns "$program"); w0=$(cpu_ns $ws); o0=$(cpu_ns $others); x0=$(cpu_ns "$server")
    sleep "$seconds"
    p1=$(cpu_ns "$program"); w1=$(cpu_ns $ws); o1=$(cpu_ns $others); x1=$(cpu_ns "$server")
    echo "$1 over ${seconds} s, % of one core: program $(percent $((p1 - p0))), wineserver $(percent $((w1 - w0)))," \
        "other Wine processes $(percent $((o1 - o0))), Xvfb $(percent $((x1 - x0)))"
}

cd "$work"
# The passes first, on the fresh server.
for driver in $drivers; do
    echo "== $driver: refresh passes"
    case $driver in
        GDI) pass=gdi_pass ;;
        DirectX) pass=dx_pass ;;
    esac
    WINEPREFIX=$prefix "$top/tools/wine-run.sh" "$windows/bench/$pass.exe"
done
for driver in $drivers; do
    echo "== $driver"
    ZVGFX=$driver WINEPREFIX=$prefix "$top/tools/wine-run.sh" "$windows/wavetable.exe" </dev/null >/dev/null 2>&1 &
    program=$!
    window=$(xdotool search --sync --name '^wavetable$' | head -n1)
    # Wine makes the window its client area's size once it is up; without a
    # window manager the keyboard follows the pointer.
    sleep 2
    xdotool mousemove --window "$window" 256 256
    sleep 1
    idle_cpu "idle CPU at the prompt"
    "$linux/bench/display_latency"
    xdotool type --delay 20 128
    xdotool key Return
    sleep 3
    idle_cpu "idle CPU at the final wait"
    xdotool key space
    wait "$program"
    program=""
done
# Wine's server and desktop would stay a few seconds more; not after us.
WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
