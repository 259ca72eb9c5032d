#!/bin/sh
# Measures the Windows program's window under Wine on an Xvfb of its own,
# drawn by "DirectX" and by "GDI" (DRIVERS="DirectX GDI" by default): the
# wake-ups and CPU of the program's threads over an idle spell of
# SECONDS_IDLE (5) seconds at the prompt and at the final wait, key-to-echo
# (bench/display_latency, XTest, SAMPLES = 40), and the cost of a full
# 512-row refresh pass of each (PASSES=0 leaves the passes out).
#
#   bench/wine_window_measure.sh       this tree's program (build/windows-bench)
#   BEFORE=old/wavetable.exe bench/wine_window_measure.sh
#                                      and another build of it, the same way in the
#                                      same run: a before/after table
#
# A wake-up is a voluntary context switch of one of the program's threads
# (under Wine each Windows thread is a thread of the Linux process): every
# time a thread sleeps and is woken again. A call to the Wine server blocks
# its thread until the server answers, so it counts as one too: a wait of
# the program's is two, the call that starts it and the wake-up that ends
# it. The idle spells are
# taken with the pointer off the window: while a
# mouse-leave notice is armed, Wine's TrackMouseEvent polls the pointer
# every hover time (400 ms), a round of server calls each time, which
# Windows does not do. POINTER=inside measures with it over the window.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
windows=${WINDOWS_BUILD:-$top/build/windows-bench}
linux=${BUILD:-$top/build/bench}
seconds=${SECONDS_IDLE:-5}
samples=${SAMPLES:-40}
drivers=${DRIVERS:-DirectX GDI}
prefix=${WINEPREFIX:-$top/build/wine-prefix-display}
pointer=${POINTER:-outside}

cmake -S "$top" -B "$windows" --toolchain "$top/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DWT_BENCH=ON -DWT_TESTS=OFF >/dev/null
cmake --build "$windows" -j2 --target wavetable gdi_pass dx_pass >/dev/null
cmake -S "$top" -B "$linux" -DCMAKE_BUILD_TYPE=Release -DWT_BENCH=ON -DWT_TESTS=OFF >/dev/null
cmake --build "$linux" -j2 --target display_latency >/dev/null

. "$top/bench/xvfb_measure.sh"
start_xvfb
WT_WINE_DISPLAY=$DISPLAY
export WT_WINE_DISPLAY WINEPREFIX="$prefix"

# The processes of this Wine prefix whose name starts with $1.
prefix_processes() {
    for p in /proc/[0-9]*; do
        case "$(cat "$p/comm" 2>/dev/null)" in "$1"*) ;; *) continue ;; esac
        { tr '\0' '\n' < "$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && echo "${p#/proc/}"
    done
}

# "wake-ups/s CPU% (Wine server CPU%)" of the program over the idle spell,
# wake-ups counted as voluntary context switches (being preempted by other
# work is not one); the Wine server works for every call the program makes
# to it.
idle() {
    ws=$(prefix_processes wineserver)
    s0=$(switches "$program" ^voluntary_ctxt_switches)
    c0=$(cpu_ns "$program")
    w0=$(cpu_ns $ws)
    sleep "$seconds"
    s1=$(switches "$program" ^voluntary_ctxt_switches)
    c1=$(cpu_ns "$program")
    w1=$(cpu_ns $ws)
    awk -v s=$((s1 - s0)) -v c=$((c1 - c0)) -v w=$((w1 - w0)) -v t="$seconds" \
        'BEGIN { printf "%.1f/s %.2f%% (server %.2f%%)", s / t, c / (t * 1e7), w / (t * 1e7) }'
}

# The Windows process of this prefix running the program (Wine's loader
# keeps the name of the program it runs).
program_pid() { prefix_processes wavetable.exe | head -n1; }

# Where the pointer rests during an idle spell; the keyboard follows it
# (no window manager).
rest_pointer() {  # window
    if [ "$pointer" = inside ]; then xdotool mousemove --window "$1" 256 256; else xdotool mousemove 0 0; fi
    sleep 1
}

# The program in its window, drawn by a driver:
# "prompt | final | key to echo".
window_run() {  # program, driver
    dir=$(mktemp -d -p "$work")
    (cd "$dir" && ZVGFX=$2 exec "$top/tools/wine-run.sh" "$1" </dev/null >/dev/null 2>&1) &
    launcher=$!
    window=$(xdotool search --sync --name '^wavetable$' | head -n1)
    program=$(program_pid)
    # Wine makes the window its client area's size once it is up.
    sleep 2
    rest_pointer "$window"
    prompt=$(idle)
    xdotool mousemove --window "$window" 256 256
    sleep 0.5
    echo_ms=$("$linux/bench/display_latency" "$samples" | awk '/^key to echo/ { print $5 " ms (max " $11 " ms)" }')
    xdotool type --delay 20 128
    xdotool key Return
    sleep 2
    rest_pointer "$window"
    final=$(idle)
    xdotool mousemove --window "$window" 256 256
    sleep 0.5
    xdotool key space
    wait "$launcher" || true
    program=""
    echo "$prompt|$final|$echo_ms"
}

row() {  # label, driver, result
    echo "| $1 | $2 | $(echo "$3" | cut -d'|' -f1) | $(echo "$3" | cut -d'|' -f2) | $(echo "$3" | cut -d'|' -f3) |"
}

cd "$work"
# The passes first, on the fresh server.
if [ "${PASSES:-1}" != 0 ]; then
    for driver in $drivers; do
        echo "== $driver: refresh passes"
        case $driver in
            GDI) pass=gdi_pass ;;
            DirectX) pass=dx_pass ;;
        esac
        "$top/tools/wine-run.sh" "$windows/bench/$pass.exe"
    done
fi
echo "| program | driver | prompt (wake-ups, CPU) | final wait (wake-ups, CPU) | key to echo, median |"
echo "|---|---|---|---|---|"
for driver in $drivers; do
    if [ -n "${BEFORE:-}" ]; then
        row before "$driver" "$(window_run "$BEFORE" "$driver")"
    fi
    row after "$driver" "$(window_run "$windows/wavetable.exe" "$driver")"
done
# Wine's server and desktop would stay a few seconds more; not after us.
wineserver -k 2>/dev/null || true
