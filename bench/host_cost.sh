#!/usr/bin/env bash
# The show's cost on the real Linux host, on a 1920 x 1080 Xvfb of its own:
#  1. every effect drawn and presented by the X host (bench_x_transitions):
#     wall time against the nominal, processor time of the program and of Xvfb;
#  2. `pictavo /s --trace` for SECONDS per mode (centre, stretch) at Interval
#     1 and 5, Speed 1, on six 1080p JPEGs: processor time of pictavo and of
#     Xvfb from /proc/PID/stat, and each effect's wall time from the trace
#     against its nominal time (pictavo-render transition --trace).
# With XSHIM=path/to/xshim.so the calls to the X server are also counted.
# usage: bench/host_cost.sh [BUILD_DIR] [SECONDS] [--effects-only | --shows-only]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/show_common.sh"

BUILD=${1:-build/linux}
SECONDS_PER_SHOW=${2:-120}
ONLY=${3:-}
PICTAVO=$BUILD/bin/pictavo
RENDER=$BUILD/bin/pictavo-render
BENCH=$BUILD/bin/bench_x_transitions
for program in "$PICTAVO" "$RENDER" "$BENCH"; do
    [ -x "$program" ] || { echo "missing $program (build the linux preset)" >&2; exit 1; }
done

WORK=$(mktemp -d)
XVFB_PID=
cleanup() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

start_show_display "$WORK/display"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/pictavo" "$WORK/pictures"

HZ=$(getconf CLK_TCK)

if [ "$ONLY" != --shows-only ]; then
    echo "== Effects presented by the X host (Xvfb 1920x1080, Speed 1)"
    "$BENCH" --server-pid "$XVFB_PID" --speed 1
    echo
fi
[ "$ONLY" = --effects-only ] && exit 0

make_show_pictures "$WORK/pictures"
measure_nominals "$RENDER" "$WORK/effect.trace"

show() {  # interval stretch
    printf '[Brackenfeld Applications\\Pictavo]\nInterval=%s\nSpeed=1\nStretch=%s\nPicturePath=%s/\n' \
        "$1" "$2" "$WORK/pictures" >"$XDG_CONFIG_HOME/pictavo/settings.ini"
    local trace="$WORK/show-$1-$2.trace" preload=
    rm -f "$WORK"/calls.log.*
    [ -n "${XSHIM:-}" ] && preload=$XSHIM
    local xBefore; xBefore=$(ticks "$XVFB_PID")
    XSHIM_OUT="$WORK/calls.log" LD_PRELOAD=$preload "$PICTAVO" /s --trace "$trace" &
    local pid=$!
    sleep "$SECONDS_PER_SHOW"
    local own; own=$(ticks "$pid")
    local xAfter; xAfter=$(ticks "$XVFB_PID")
    kill -TERM "$pid"; wait "$pid" 2>/dev/null || true
    local mode=centre; [ "$2" = 1 ] && mode=stretch
    local transitions; transitions=$(grep -c ' done$' "$trace" || true)
    local calls="-"
    if [ -n "$preload" ]; then
        calls=$(cat "$WORK"/calls.log.* | awk '{ n[$2]++ } END { printf "C %d P %d S %d G %d", n["C"], n["P"], n["S"], n["G"] }')
    fi
    awk -v mode="$mode" -v interval="$1" -v secs="$SECONDS_PER_SHOW" -v hz="$HZ" -v own="$own" \
        -v x="$((xAfter - xBefore))" -v n="$transitions" -v calls="$calls" 'BEGIN {
        printf "%-8s %8d %8d %10.1f %10.1f %8.1f %%  %s\n", mode, interval, n, own / hz, x / hz,
            100 * (own + x) / hz / secs, calls }' >>"$WORK/shows"
    # Each effect's wall time from "MS transition N" to "MS transition N done".
    effect_spans "$trace" >>"$WORK/effects"
}

for interval in 1 5; do
    show "$interval" 0
    show "$interval" 1
done

echo "== Shows of $SECONDS_PER_SHOW s (pictavo /s, Speed 1, six 1080p JPEGs)"
printf '%-8s %8s %8s %10s %10s %10s  %s\n' mode interval effects "pictavo s" "Xvfb s" "of a core" "X calls"
cat "$WORK/shows"
echo
report_effects "$WORK/effects"
