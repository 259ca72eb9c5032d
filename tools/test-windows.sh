#!/bin/sh
# The Windows build and its tests: the program and the unit suites built
# with the mingw-w64 cross compiler and run under Wine, then the Linux-side
# tests of the Windows program (tests/wine/: on Wine's console in a tmux
# pane, and as a batch tool). Installs what it needs.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$top/tools/setup-debian.sh" windows

# Wine's server stays a few seconds after the last program; not after us.
WINEPREFIX="$top/build/wine-prefix"
export WINEPREFIX
stop_wine() { wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT

echo "== windows: build"
(cd "$top" && cmake --preset windows -DWT_TESTS=ON >/dev/null && cmake --build build/windows -j"$jobs" >/dev/null)
echo "== windows: unit tests under Wine"
(cd "$top/build/windows" && ctest --output-on-failure -j"$jobs" --timeout 300)

echo "== windows: the program under Wine, driven from Linux"
linux="$top/build/wine-tests"
cmake -S "$top" -B "$linux" -DCMAKE_BUILD_TYPE=Release -DWT_WINDOWS_EXE="$top/build/windows/wavetable.exe" >/dev/null
cmake --build "$linux" --target wavetable_wine_tests -j"$jobs" >/dev/null
(cd "$linux" && ctest -L wine --output-on-failure -j"$jobs" --timeout 300)
echo "== windows: all tests passed"
