#!/bin/sh
# The program's waits as a user meets them: at the prompt and at the final
# key wait, in its X11 window on an Xvfb and on a terminal (a tmux pane),
# the wake-ups of all its threads a second and its CPU over an idle spell
# of SECONDS_IDLE (5) seconds, and in the window key-to-echo and
# Backspace-to-erased (bench/display_latency, XTest, SAMPLES = 40).
#
#   bench/waits_measure.sh                 this tree's program (BUILD=build/bench)
#   BEFORE=old/wavetable bench/waits_measure.sh
#                                          and another build of it, the same way in
#                                          the same run: a before/after table
#
# A wake-up is a context switch of one of the program's threads: every time
# a thread sleeps and is woken again.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$top/build/bench}
seconds=${SECONDS_IDLE:-5}
samples=${SAMPLES:-40}

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DWT_BENCH=ON -DWT_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target wavetable display_latency >/dev/null

. "$top/bench/xvfb_measure.sh"
start_xvfb

# "wake-ups/s cpu%" over the idle spell.
idle() {  # pid
    s0=$(switches "$1" ctxt_switches)
    c0=$(cpu_ns "$1")
    sleep "$seconds"
    s1=$(switches "$1" ctxt_switches)
    c1=$(cpu_ns "$1")
    awk -v s=$((s1 - s0)) -v c=$((c1 - c0)) -v t="$seconds" 'BEGIN { printf "%.1f/s %.2f%%", s / t, c / (t * 1e7) }'
}

# The program's window on the Xvfb: "prompt | final | echo | erase".
window_run() {  # program
    dir=$(mktemp -d -p "$work")
    (cd "$dir" && exec "$1" </dev/null >/dev/null 2>&1) &
    program=$!
    xdotool search --sync --name '^wavetable$' >/dev/null
    sleep 1
    prompt=$(idle "$program")
    latency=$("$build/bench/display_latency" "$samples")
    echo_ms=$(echo "$latency" | awk '/^key to echo/ { print $5 " ms (max " $11 " ms)" }')
    erase_ms=$(echo "$latency" | awk '/^Backspace/ { print $5 " ms (max " $11 " ms)" }')
    xdotool type --delay 20 128
    xdotool key Return
    sleep 1
    final=$(idle "$program")
    xdotool key space
    wait "$program" || true
    program=""
    echo "$prompt|$final|$echo_ms|$erase_ms"
}

# The program on a terminal: "prompt | final".
terminal_run() {  # program
    dir=$(mktemp -d -p "$work")
    session="waits$$"
    tmux new-session -d -s "$session" -x 80 -y 24 "cd '$dir' && exec env -u DISPLAY '$1'"
    pane=$(tmux list-panes -t "$session" -F '#{pane_pid}')
    sleep 1
    prompt=$(idle "$pane")
    tmux send-keys -t "$session" 128 Enter
    sleep 1
    final=$(idle "$pane")
    tmux send-keys -t "$session" Space
    sleep 0.5
    tmux kill-session -t "$session" 2>/dev/null || true
    echo "$prompt|$final"
}

row() {  # label, window result, terminal result
    w=$2
    t=$3
    echo "| $1 | $(echo "$w" | cut -d'|' -f1) | $(echo "$w" | cut -d'|' -f2) | $(echo "$t" | cut -d'|' -f1) |" \
        "$(echo "$t" | cut -d'|' -f2) | $(echo "$w" | cut -d'|' -f3) | $(echo "$w" | cut -d'|' -f4) |"
}

echo "| program | X11 prompt (wake-ups, CPU) | X11 final wait | terminal prompt | terminal final wait |" \
    "key to echo, median | Backspace to erased, median |"
echo "|---|---|---|---|---|---|---|"
if [ -n "${BEFORE:-}" ]; then
    row "before" "$(window_run "$BEFORE")" "$(terminal_run "$BEFORE")"
fi
row "after" "$(window_run "$build/wavetable")" "$(terminal_run "$build/wavetable")"
