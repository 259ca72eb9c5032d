#!/bin/sh
# Builds wavetable (installing what the build needs) and runs it in the
# current directory, where it writes its wavetable files; wavetable-export
# is built beside it, so that the build can be installed. Its build folder
# is its own (build/run, without the tests): tools/test.sh builds its
# suites elsewhere, so either can run first.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup-debian.sh" build
cmake -S "$top" -B "$top/build/run" -DCMAKE_BUILD_TYPE=Release -DWT_TESTS=OFF >/dev/null
cmake --build "$top/build/run" --target wavetable wavetable-export -j"$(nproc)" >/dev/null
exec "$top/build/run/wavetable" "$@"
