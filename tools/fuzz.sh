#!/bin/sh
# Builds the libFuzzer targets of tests/fuzz with clang, AddressSanitizer
# and UndefinedBehaviorSanitizer, and runs each for the given number of
# seconds (default 15). Prints each target's executions and ends with
# status 1 if any of them found a crash, a leak, a hang or a sanitizer
# report; the input that did it is left in BUILD/artifacts.
#
#   tools/fuzz.sh [seconds [target...]]   JOBS=2 runs two targets at a time
#
# Targets: numeric_input line_edit lzw key_decoder (all by default).
#
# Each target starts from its seeds in tests/fuzz/corpus/<target> and from
# what earlier runs found (BUILD/corpus/<target>, kept between runs).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-15}
[ $# -gt 0 ] && shift
targets=${*:-numeric_input line_edit lzw key_decoder}
build=${BUILD:-$top/build/fuzz}
jobs=${JOBS:-1}

CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWT_FUZZ=ON -DWT_TESTS=OFF \
    "-DWT_SANITIZE=address;undefined" >/dev/null
names=""
for t in $targets; do names="$names fuzz_$t"; done
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $names >/dev/null
mkdir -p "$build/artifacts" "$build/logs"

fuzz() {  # target
    mkdir -p "$build/corpus/$1"
    "$build/tests/fuzz/fuzz_$1" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$1-" "$build/corpus/$1" "$top/tests/fuzz/corpus/$1" \
        >"$build/logs/$1.log" 2>&1
}

status=0
report() {  # target, exit status of its run
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$1.log")
    units=$(ls "$build/corpus/$1" | wc -l)
    if [ "$2" -eq 0 ]; then result=ok; else result="FAILED (see $build/logs/$1.log)"; status=1; fi
    printf '%-14s %6s s %12s executions %6s corpus units  %s\n' "$1" "$seconds" "${execs:-?}" "$units" "$result"
}

set -- $targets
while [ $# -gt 0 ]; do
    first=$1
    shift
    if [ "$jobs" -ge 2 ] && [ $# -gt 0 ]; then
        second=$1
        shift
        rc1=0 rc2=0
        fuzz "$first" & p1=$!
        fuzz "$second" & p2=$!
        wait "$p1" || rc1=$?
        wait "$p2" || rc2=$?
        report "$first" "$rc1"
        report "$second" "$rc2"
    else
        rc=0
        fuzz "$first" || rc=$?
        report "$first" "$rc"
    fi
done
exit "$status"
