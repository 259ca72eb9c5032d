#!/bin/sh
# Measures the Wayland display of the real program on a headless sway of
# its own, next to the X11 display on an Xvfb in the same run: idle CPU and
# wake-ups at the prompt and at the final wait, key-to-echo latency, and the
# cost of one full frame (at scale 1 and 2 on Wayland, a full refresh pass
# on X11).
#
# Key to echo on sway is measured on the client's side: from the key event
# reaching the program (WAYLAND_DEBUG's time stamps) to the commit of the
# frame that shows the echo; on X11 bench/display_latency measures from
# the key sent to the echo read back from the server.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$top/build/bench}
seconds=${SECONDS_IDLE:-5}

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DWT_BENCH=ON -DWT_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target wavetable display_bench display_latency wl_frame_bench >/dev/null

. "$top/bench/xvfb_measure.sh"
start_xvfb

# Sway, as "nobody" when run as root (sway refuses root), in a runtime
# folder of that user's; the output 1024 x 768 on the desktop at the scale.
sway_pid=""
start_sway() {  # scale
    runtime="$work/runtime-$1"
    mkdir -m 700 "$runtime"
    printf 'output HEADLESS-1 resolution %dx%d scale %d\nxwayland disable\n' $((1024 * $1)) $((768 * $1)) "$1" \
        >"$work/sway-$1.conf"
    chmod 644 "$work/sway-$1.conf"
    as_user=""
    if [ "$(id -u)" -eq 0 ]; then
        chown 65534:65534 "$runtime"
        chmod 755 "$work"
        as_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
    fi
    env -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_RENDERER=pixman \
        WLR_LIBINPUT_NO_DEVICES=1 $as_user sway --config "$work/sway-$1.conf" >/dev/null 2>&1 &
    sway_pid=$!
    while ! ls "$runtime"/wayland-? >/dev/null 2>&1; do sleep 0.05; done
    export XDG_RUNTIME_DIR="$runtime"
    WAYLAND_DISPLAY=$(basename "$(ls "$runtime"/wayland-? | head -n1)")
    export WAYLAND_DISPLAY
    # A headless seat has a keyboard only while a virtual one exists: one
    # that stays, so that each wtype below only changes the keymap.
    wtype -s 86400000 &
    keyboard_pid=$!
    sleep 0.5
}
keyboard_pid=""
stop_sway() {
    kill "$keyboard_pid" "$sway_pid" 2>/dev/null || true
    wait "$sway_pid" 2>/dev/null || true
    sway_pid=""
    keyboard_pid=""
}
trap 'stop_sway; cleanup' EXIT
# Keys typed on sway; the first of a new keyboard may be lost while the
# program takes its keymap, so a key that means nothing comes first.
type_keys() { wtype -k F24 -s 100 "$@"; }

# Context switches of every thread of the process: its wake-ups.
switches() {
    awk '/ctxt_switches/ { n += $2 } END { print n + 0 }' /proc/"$1"/task/*/status 2>/dev/null
}

idle() {  # label
    cpu_before=$(cpu_ns "$program")
    wake_before=$(switches "$program")
    sleep "$seconds"
    cpu_after=$(cpu_ns "$program")
    wake_after=$(switches "$program")
    echo "$1: $(percent $((cpu_after - cpu_before)))% of one core, \
$(awk -v n=$((wake_after - wake_before)) -v s="$seconds" 'BEGIN { printf "%.1f", n / s }') wake-ups/s over ${seconds} s"
}

echo "== Wayland (sway, headless, pixman)"
start_sway 1
cd "$work"
WAYLAND_DEBUG=client "$build/wavetable" </dev/null >/dev/null 2>"$work/client.log" &
program=$!
while ! grep -q 'xdg_toplevel@[0-9]*\.configure' "$work/client.log" 2>/dev/null; do sleep 0.05; done
sleep 1
idle "idle at the prompt"
# 60 pairs of "1" and Backspace at random spacings, from one keyboard
# (its first key may be lost while the program takes its keymap).
set --
i=0
while [ $i -lt 60 ]; do
    set -- "$@" -k 1 -s $((40 + $(od -An -N1 -tu1 /dev/urandom) % 47)) -k BackSpace -s $((40 + i % 37))
    i=$((i + 1))
done
type_keys "$@"
sleep 0.5
# The main surface is the one given an xdg_surface; a press of "1" (wtype's
# key 2) or Backspace (3), then that surface's next commit.
awk '
    /get_xdg_surface/ { match($0, /wl_surface@[0-9]+/); surface = substr($0, RSTART, RLENGTH) }
    { t = $0; sub(/^\[ */, "", t); sub(/\].*/, "", t) }
    /wl_keyboard@[0-9]+\.key\([0-9]+, [0-9]+, [23], 1\)/ { pressed = t; next }
    pressed != "" && index($0, surface ".commit()") { print (t - pressed); pressed = "" }
' "$work/client.log" | sort -n | awk '
    { v[NR] = $1 } END { if (NR) printf "key to echo (key event in, frame committed): median %.1f ms, min %.1f ms, max %.1f ms (%d samples)\n", v[int(NR / 2) + 1], v[1], v[NR], NR }'
type_keys -k 1 -k 2 -k 8 -k Return
sleep 2
idle "idle at the final wait"
type_keys -k space
wait "$program"
program=""
"$build/bench/wl_frame_bench" --benchmark_min_time=1
stop_sway
start_sway 2
echo "-- at scale 2"
"$build/bench/wl_frame_bench" --benchmark_min_time=1
stop_sway
unset WAYLAND_DISPLAY

echo "== X11 (Xvfb)"
"$build/wavetable" </dev/null >/dev/null 2>&1 &
program=$!
window=$(xdotool search --sync --name '^wavetable$' | head -n1)
sleep 1
idle "idle at the prompt"
"$build/bench/display_latency"
xdotool windowfocus --sync "$window" type --delay 20 128
xdotool key Return
sleep 2
idle "idle at the final wait"
xdotool key space
wait "$program"
program=""
"$build/bench/display_bench" --benchmark_min_time=1 --benchmark_filter=FullRefreshPass
