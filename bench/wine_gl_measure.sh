#!/bin/sh
# Measures the flip of the Windows program's "OpenGL" display under Wine on
# an Xvfb of its own (Wine's opengl32 over the Xvfb's GLX, Mesa's software
# renderer): the page copy, its halves, and the clear each frame starts with.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
windows=${WINDOWS_BUILD:-$top/build/windows-bench}

cmake -S "$top" -B "$windows" --toolchain "$top/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DWT_BENCH=ON -DWT_TESTS=OFF >/dev/null
cmake --build "$windows" -j2 --target gl_flip_pass >/dev/null

. "$top/bench/xvfb_measure.sh"
start_xvfb
WT_WINE_DISPLAY=$DISPLAY "$top/tools/wine-run.sh" "$windows/bench/gl_flip_pass.exe"
WINEPREFIX=${WINEPREFIX:-$top/build/wine-prefix-display} wineserver -k 2>/dev/null || true
