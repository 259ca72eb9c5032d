#!/bin/sh
# Times wavetable-export on the seven tables of a run of the program
# against a plain copy of the same bytes, each as one process a round, and
# prints the figures and their ratios. wavetable-export flushes every file
# to the disk before renaming it into place, so a copy whose files are then
# flushed (sync FILE...) is timed too.
#   bench/export_vs_copy.sh [BUILD] [ROUNDS]   (default build/release, 50)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build/release}" && pwd)
rounds=${2:-50}
work=$(mktemp -d "${TMPDIR:-/tmp}/export-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/tables" "$work/copy"
(cd "$work/tables" && printf '32\n' | env -u DISPLAY "$build/wavetable")

now_ns() { date +%s%N; }
# Milliseconds a round of the command given as arguments, run in tables/.
time_rounds() {
    start=$(now_ns)
    i=0
    while [ "$i" -lt "$rounds" ]; do
        (cd "$work/tables" && "$@")
        i=$((i + 1))
    done
    echo "$start $(now_ns) $rounds" | awk '{ printf "%.3f\n", ($2 - $1) / 1e6 / $3 }'
}

export_ms=$(time_rounds sh -c 'exec "$0" *.bin 2>/dev/null' "$build/wavetable-export")
copy_ms=$(time_rounds sh -c 'exec cp *.bin "$0"' "$work/copy")
synced_ms=$(time_rounds sh -c 'cp *.bin "$0" && cd "$0" && exec sync *.bin' "$work/copy")
bytes=$(cat "$work"/tables/*.bin | wc -c)
echo "seven tables, $bytes bytes, $rounds rounds on $(df -T "$work" | awk 'NR == 2 { print $2 }')"
echo "wavetable-export *.bin:          $export_ms ms a round"
echo "cp *.bin (the same bytes):       $copy_ms ms a round"
echo "cp *.bin, then sync each copy:   $synced_ms ms a round"
echo "$export_ms $copy_ms $synced_ms" |
    awk '{ printf "export / copy: %.2f; export / copy with sync: %.2f\n", $1 / $2, $1 / $3 }'
