#!/bin/sh
# Builds wavetable (installing what the build needs) and runs it in the
# current directory, where it writes its wavetable files.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup-debian.sh" build
cmake -S "$top" -B "$top/build/release" -DCMAKE_BUILD_TYPE=Release -DWT_TESTS=OFF >/dev/null
cmake --build "$top/build/release" --target wavetable -j"$(nproc)" >/dev/null
exec "$top/build/release/wavetable" "$@"
