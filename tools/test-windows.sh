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
# (tools/wine-run.sh keeps a prefix for programs with an X display and one
# for those without.)
stop_wine() {
    for prefix in wine-prefix wine-prefix-display wine-prefix-display-dpi192; do
        WINEPREFIX="$top/build/$prefix" wineserver -k 2>/dev/null || true
    done
}
trap stop_wine EXIT

echo "== windows: build"
(cd "$top" && cmake --preset windows -DWT_TESTS=ON >/dev/null && cmake --build build/windows -j"$jobs" >/dev/null)
echo "== windows: unit tests under Wine"
# One Wine server for the programs without a display, kept until the end: a
# program that starts just as an idle server shuts down can fail to start.
# The prefix has to exist first, and the server that made it has to be gone:
# a second server on the same prefix exits at once (status 2).
"$top/tools/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true
WINEPREFIX="$top/build/wine-prefix" wineserver -w
WINEPREFIX="$top/build/wine-prefix" wineserver -p
# Wine's own processes (services, the desktop) start with the first program
# of a server and, with a persistent one, stay: started by a test, they
# would hold its output pipe open and ctest would wait for it to its
# timeout. So the first program is this one, its output nowhere.
"$top/tools/wine-run.sh" "$top/build/windows/tests/runtime_tests.exe" --gtest_list_tests >/dev/null 2>&1 || true
(cd "$top/build/windows" && ctest --output-on-failure --no-tests=error -j"$jobs" --timeout 300 -E '^Dpi192\.')
# Without an X display Wine has no desktop and the window tests skip; they
# run again with one, at 96 DPI and at 192 (Dpi192.*). The screen holds a
# window at twice the picture's size.
echo "== windows: window tests under Wine with an X display"
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 2048x1536x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb=$!
stop_all() { kill "$xvfb" 2>/dev/null || true; rm -f "$display_file"; stop_wine; }
trap stop_all EXIT
while [ ! -s "$display_file" ]; do sleep 0.05; done
(cd "$top/build/windows" &&
    WT_WINE_DISPLAY=":$(head -n1 "$display_file")" ctest --output-on-failure --no-tests=error --timeout 300 -R '^(Dpi192\.)?(GdiWindow|DxWindow|WglWindow|WindowsDriverList)\.')
kill "$xvfb" 2>/dev/null || true

echo "== windows: the program under Wine, driven from Linux"
# A Linux build of its own, or (WINE_TESTS_BUILD) one that exists, which
# then only has to build the tests of the Windows program.
linux="${WINE_TESTS_BUILD:-$top/build/wine-tests}"
cmake -S "$top" -B "$linux" -DCMAKE_BUILD_TYPE=Release -DWT_TESTS=ON \
    -DWT_WINDOWS_EXE="$top/build/windows/wavetable.exe" >/dev/null
cmake --build "$linux" --target wavetable_wine_tests -j"$jobs" >/dev/null
(cd "$linux" && ctest -L wine --output-on-failure --no-tests=error -j"$jobs" --timeout 300)
echo "== windows: all tests passed"
