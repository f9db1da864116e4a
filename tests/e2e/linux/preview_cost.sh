#!/usr/bin/env bash
# "/p ID" between slides: the preview stays mapped inside its window and
# costs next to nothing, neither itself nor the X server drawing for it.
source "$(dirname "$0")/lib.sh"
start_display
# The first slide comes after Interval + 1 ticks: a minute of the preview's
# own black background, the X server drawing nothing new either.
mkdir -p "$WORK/pictures"
cp "$(dirname "$0")/../../../samples/dusk-plasma.jpg" "$WORK/pictures/"
printf '[Brackenfeld Applications\\Pictavo]\nInterval=60\nSpeed=3\nStretch=0\nPicturePath=%s\n' \
    "$WORK/pictures" >"$SETTINGS"

# Clock ticks of user and system time process $1 has used.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
map_state() { xwininfo -id "$1" | awk '/Map State:/{print $3}'; }

start_host_window 152 112 "Display Properties"
start_pictavo /p "$HOST_ID"
PREVIEW=$LAST_PID
child=$(first_child_of "$HOST_ID")
expect "the preview is a child of the given window" test -n "$child"
# The host window is grey at (100, 100); the preview is black over it.
expect "the preview covers its window" eventually 2 colour_is 176 156 "#000000"
sleep 1

seconds=10
before=$(($(cpu_ticks "$PREVIEW") + $(cpu_ticks "$XVFB_PID")))
unmapped=0
for _ in $(seq $((seconds * 4))); do
    [ "$(map_state "$child")" = "IsViewable" ] || unmapped=$((unmapped + 1))
    sleep 0.25
done
after=$(($(cpu_ticks "$PREVIEW") + $(cpu_ticks "$XVFB_PID")))
# Per cent of one core, from clock ticks over the seconds watched.
percent=$(awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s=$seconds 'BEGIN{printf "%.1f", t * 100 / hz / s}')
echo "pictavo and the X server between slides: ${percent} % of a core over ${seconds} s"
expect "the preview stays mapped (unmapped at $unmapped of $((seconds * 4)) looks)" test "$unmapped" -eq 0
expect "pictavo and the X server use under 5 % of a core (${percent} %)" awk -v p="$percent" 'BEGIN{exit !(p < 5)}'
expect "the preview is still shown" colour_is 176 156 "#000000"

kill -TERM "$HOST_PID"
wait "$HOST_PID" 2>/dev/null || true
expect "the preview ends with its window" ends_within "$PREVIEW" 2
finish
