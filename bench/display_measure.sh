#!/bin/sh
# Measures the X11 display of the real program on an Xvfb of its own:
# idle CPU at the prompt and at the final wait, key-to-echo latency, and
# the cost of a full 512-row refresh pass; then the cost of a flip on the
# OpenGL display (the Xvfb's OpenGL is Mesa's software renderer).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$top/build/bench}
seconds=${SECONDS_IDLE:-5}

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DWT_BENCH=ON -DWT_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target wavetable display_bench display_latency gl_flip_bench >/dev/null

. "$top/bench/xvfb_measure.sh"
start_xvfb

idle_cpu() {  # label
    before=$(cpu_ns "$program")
    sleep "$seconds"
    after=$(cpu_ns "$program")
    echo "$1: $(percent $((after - before)))% of one core over ${seconds} s"
}

cd "$work"
"$build/wavetable" </dev/null >/dev/null 2>&1 &
program=$!
window=$(xdotool search --sync --name '^wavetable$' | head -n1)
sleep 1
idle_cpu "idle CPU at the prompt"
"$build/bench/display_latency"
xdotool windowfocus --sync "$window" type --delay 20 128
xdotool key Return
sleep 2
idle_cpu "idle CPU at the final wait"
xdotool key space
wait "$program"
program=""
"$build/bench/display_bench" --benchmark_min_time=1
"$build/bench/gl_flip_bench" --benchmark_repetitions="${REPETITIONS:-5}" --benchmark_report_aggregates_only
