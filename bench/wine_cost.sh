#!/usr/bin/env bash
# The show's cost on the Windows host under Wine, on a 1920 x 1080 Xvfb of
# its own without a window manager: `pictavo.scr /s` with PICTAVO_TRACE for
# SECONDS per mode (centre, stretch) at Interval 1, Speed 1, on six 1080p
# JPEGs; processor time of the .scr, wineserver and Xvfb from /proc/PID/stat,
# and each effect's wall time from the trace against its nominal time
# (pictavo-render transition --trace of a Linux build).
# usage: bench/wine_cost.sh PICTAVO_SCR PICTAVO_RENDER [SECONDS]
#   e.g. bench/wine_cost.sh build/windows64/bin/pictavo.scr build/linux/bin/pictavo-render 90
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/show_common.sh"

[ $# -ge 2 ] || { echo "usage: $0 PICTAVO_SCR PICTAVO_RENDER [SECONDS]" >&2; exit 2; }
for program in "$1" "$2"; do
    [ -f "$program" ] || { echo "missing $program" >&2; exit 1; }
done
SCR=$(realpath "$1")
RENDER=$(realpath "$2")
SECONDS_PER_SHOW=${3:-90}
LOADER=/usr/lib/wine/wine64
[ -x "$LOADER" ] || LOADER=$(command -v wine64 || echo wine)

WORK=$(mktemp -d)
XVFB_PID=
cleanup() {
    WINEPREFIX=$WORK/prefix wineserver -k 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

start_show_display "$WORK/display"
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all
WINEDLLOVERRIDES="mscoree,mshtml=" "$LOADER" wineboot -i >/dev/null 2>&1
reg_set() { "$LOADER" reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1; }
reg_set 'HKCU\Software\Wine\X11 Driver' Managed N
wineserver -p
windows_path() { echo "Z:$1" | tr / '\\'; }

mkdir -p "$WORK/pictures"
make_show_pictures "$WORK/pictures"
measure_nominals "$RENDER" "$WORK/effect.trace"
HZ=$(getconf CLK_TCK)
readonly kSettings='HKCU\Software\Brackenfeld Applications\Pictavo'

echo "== Shows of $SECONDS_PER_SHOW s under Wine (pictavo.scr /s, Interval 1, Speed 1, six 1080p JPEGs)"
printf '%-8s %8s %8s %12s %8s %10s\n' mode effects ".scr s" "wineserver s" "Xvfb s" "of a core"
for stretch in 0 1; do
    reg_set "$kSettings" PicturePath "$(windows_path "$WORK/pictures")"
    reg_set "$kSettings" Interval 1
    reg_set "$kSettings" Speed 1
    reg_set "$kSettings" Stretch "$stretch"
    trace=$WORK/show-$stretch.trace
    PICTAVO_TRACE=$(windows_path "$trace") "$LOADER" "$SCR" /s &
    pid=$!
    sleep 1
    server=$(pgrep -n -x wineserver64 || pgrep -n wineserver)
    x0=$(ticks "$XVFB_PID"); w0=$(ticks "$server")
    sleep "$SECONDS_PER_SHOW"
    own=$(ticks "$pid"); x1=$(ticks "$XVFB_PID"); w1=$(ticks "$server")
    kill -TERM "$pid"; wait "$pid" 2>/dev/null
    mode=centre; [ "$stretch" = 1 ] && mode=stretch
    awk -v mode="$mode" -v secs="$SECONDS_PER_SHOW" -v hz="$HZ" -v own="$own" \
        -v w="$((w1 - w0))" -v x="$((x1 - x0))" -v n="$(tr -d '\r' <"$trace" | grep -c ' done$')" 'BEGIN {
        printf "%-8s %8d %8.1f %12.1f %8.1f %8.1f %%\n", mode, n, own / hz, w / hz, x / hz,
            100 * (own + w + x) / hz / secs }'
    effect_spans "$trace" >>"$WORK/effects"
done

echo
report_effects "$WORK/effects"
