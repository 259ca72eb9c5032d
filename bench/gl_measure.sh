#!/bin/sh
# Measures the OpenGL display on an Xvfb of its own (Mesa's software
# renderer): the cost of a flip, as a program's page copy makes it, and its
# parts.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$top/build/bench}

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DWT_BENCH=ON -DWT_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target gl_flip_bench >/dev/null

work=$(mktemp -d)
cleanup() {
    [ -n "${server:-}" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
server=$!
while [ ! -s "$work/display" ]; do sleep 0.05; done
DISPLAY=:$(head -n1 "$work/display")
export DISPLAY

"$build/bench/gl_flip_bench" --benchmark_repetitions="${REPETITIONS:-5}" --benchmark_report_aggregates_only "$@"
