#!/bin/sh
# Builds and runs every test: the plain build, then the suite again under
# AddressSanitizer with UndefinedBehaviorSanitizer. Installs what it needs.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$top/tools/setup-debian.sh" test

run_suite() {  # name, cmake options...
    name=$1
    shift
    dir="$top/build/$name"
    echo "== $name: build"
    cmake -S "$top" -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j"$jobs" >/dev/null
    echo "== $name: test"
    (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 600)
}

run_suite release -DCMAKE_BUILD_TYPE=Release
run_suite asan-ubsan -DCMAKE_BUILD_TYPE=Debug "-DWT_SANITIZE=address;undefined"
echo "== all tests passed"
