#!/bin/sh
# Builds and runs every test: the plain build, then the suite again under
# AddressSanitizer with UndefinedBehaviorSanitizer, then the display tests
# (two threads share the screen there) under ThreadSanitizer, a short run of
# the fuzz targets, and last the Windows build with its tests under Wine
# (tools/test-windows.sh). Installs what it needs.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$top/tools/setup-debian.sh" test

tests=""  # a ctest -R pattern: only these tests
run_suite() {  # name, cmake options...
    name=$1
    shift
    dir="$top/build/$name"
    echo "== $name: build"
    cmake -S "$top" -B "$dir" -DWT_TESTS=ON "$@" >/dev/null
    cmake --build "$dir" -j"$jobs" >/dev/null
    echo "== $name: test"
    # A suite that runs no test has failed.
    (cd "$dir" && ctest --output-on-failure --no-tests=error -j"$jobs" --timeout 600 ${tests:+-R "$tests"})
}

# The tests of the Windows program join this build in the Windows step.
run_suite release -DCMAKE_BUILD_TYPE=Release -DWT_WINDOWS_EXE=
run_suite asan-ubsan -DCMAKE_BUILD_TYPE=Debug "-DWT_SANITIZE=address;undefined"
tests='^(X11|Wl|Xkb|WindowEvents|LibLoader|TypedText|ConvertersTest)'
export TSAN_OPTIONS="suppressions=$top/tests/display/tsan.supp halt_on_error=1"
run_suite tsan -DCMAKE_BUILD_TYPE=Debug -DWT_SANITIZE=thread
# A short run of every fuzz target; tools/fuzz.sh <seconds> runs them longer.
echo "== fuzz: 15 s per target"
"$top/tools/fuzz.sh" 15
WINE_TESTS_BUILD="$top/build/release" "$top/tools/test-windows.sh"
echo "== all tests passed"
