# Shared by the display measurements (sourced): an Xvfb of the script's
# own, a scratch directory, and CPU time read from /proc. The script sets
# `seconds` (the idle spell) and `program` (the pid measured) itself.

work=$(mktemp -d)
cleanup() {
    [ -n "${program:-}" ] && kill "$program" 2>/dev/null || true
    [ -n "${server:-}" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Starts the server and points DISPLAY at it.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    server=$!
    while [ ! -s "$work/display" ]; do sleep 0.05; done
    DISPLAY=:$(head -n1 "$work/display")
    export DISPLAY
}

# CPU time of every thread of the processes, in nanoseconds.
cpu_ns() {
    total=0
    for pid in "$@"; do
        for t in /proc/"$pid"/task/*/schedstat; do
            read -r ns _ < "$t" 2>/dev/null || ns=0
            total=$((total + ns))
        done
    done
    echo "$total"
}

# Nanoseconds of CPU time over the idle spell as a percentage of one core.
percent() {
    awk -v d="$1" -v s="$seconds" 'BEGIN { printf "%.1f", d / (s * 1e7) }'
}

# Context switches of every thread of the process: the lines of
# /proc/<pid>/task/*/status that match $2 (ctxt_switches: all of them,
# ^voluntary_ctxt_switches: each time a thread slept).
switches() {  # pid, pattern
    total=0
    for t in /proc/"$1"/task/*/status; do
        n=$(awk -v p="$2" '$0 ~ p { s += $2 } END { print s + 0 }' "$t" 2>/dev/null || echo 0)
        total=$((total + n))
    done
    echo "$total"
}
