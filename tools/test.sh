#!/bin/sh
# Builds and runs every test: the release build with all its suites (the
# layer checks among them), then the suites again under AddressSanitizer
# with UndefinedBehaviorSanitizer, the display's tests (two threads share
# the screen there) under ThreadSanitizer, the sources' format, a short
# run of the fuzz targets, and last the Windows build with its tests under
# Wine (tools/test-windows.sh). Every build is a preset of
# CMakePresets.json. Installs what it needs.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$top/tools/setup-debian.sh" test
cd "$top"

run_suite() {  # preset, configure options...
    preset=$1
    shift
    echo "== $preset: build"
    cmake --preset "$preset" "$@" >/dev/null
    cmake --build --preset "$preset" >/dev/null
    echo "== $preset: test"
    # A suite that runs no test has failed (the presets say so).
    ctest --preset "$preset" -j"$jobs"
}

# The tests of the Windows program join this build in the Windows step.
run_suite release -DWT_WINDOWS_EXE=
run_suite asan-ubsan
run_suite tsan
echo "== format"
"$top/tools/check-format.sh"
# A short run of every fuzz target; tools/fuzz.sh <seconds> runs them longer.
echo "== fuzz: 15 s per target"
"$top/tools/fuzz.sh" 15
WINE_TESTS_BUILD="$top/build/release" "$top/tools/test-windows.sh"
echo "== all tests passed"
