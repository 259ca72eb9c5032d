#!/bin/sh
# The batch program against its floor: `printf '128\n' | wavetable` and the
# minimal program of bench/floor.cpp, each in a scratch directory of its
# own. First checks that both write the same eight files for rate 128, then
# runs each RUNS times (default 200), interleaved, and prints the median
# wall times, peak memory and the median ratio.
#
#   bench/batch_vs_floor.sh            BUILD=dir RUNS=n to change the defaults
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$top/build/bench}
runs=${RUNS:-200}

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DWT_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target wavetable wavetable_floor run_compare >/dev/null
program=$build/wavetable
floor=$build/bench/wavetable_floor

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/check-program" "$work/check-floor" "$work/program" "$work/floor"

# Batch mode: no display to open, no driver requested.
unset DISPLAY ZVGFX

(cd "$work/check-program" && printf '128\n' | "$program" >/dev/null)
(cd "$work/check-floor" && printf '128\n' | "$floor")
for f in sawtooth squaresaw sineish moogsaw moogsquare trisquare triangle square; do
    if ! cmp -s "$work/check-program/$f.bin" "$work/check-floor/$f.bin"; then
        echo "the floor's $f.bin differs from the program's: no comparison" >&2
        exit 1
    fi
done
echo "rate 128: the floor's eight files are byte-identical to the program's"

"$build/bench/run_compare" "$runs" '128
' wavetable "$work/program" "$program" floor "$work/floor" "$floor"
