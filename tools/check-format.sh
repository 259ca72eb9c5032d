#!/bin/sh
# Checks the C++ sources against .clang-format; with --fix, rewrites them
# instead. Generated sources keep their generator's layout (their folders'
# .clang-format turns formatting off).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
files=$(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
    # shellcheck disable=SC2086
    clang-format -i $files
    exit 0
fi
# shellcheck disable=SC2086
if ! clang-format --dry-run --Werror $files; then
    echo "check-format: the files above differ from .clang-format; tools/check-format.sh --fix rewrites them" >&2
    exit 1
fi
echo "check-format: $(echo "$files" | wc -l) files keep to .clang-format"
