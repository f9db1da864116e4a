#!/usr/bin/env bash
# "/p ID": the preview lives inside the window it is given, at its size,
# and the program ends within two seconds of that window's destruction;
# no window, or one that is not there, is refused with a message.
source "$(dirname "$0")/lib.sh"
start_display
write_settings

start_host_window 152 112 "Display Properties"
start_pictavo /p "$HOST_ID"
PREVIEW=$LAST_PID
child=$(first_child_of "$HOST_ID")
expect "the preview is a child of the given window" test -n "$child"
[ -n "$child" ] && expect "it covers the window: $(size_of "$child")" test "$(size_of "$child")" = "152x112"
# The host window is grey (#808080) at (100, 100); the preview's picture is black.
expect "the preview draws inside it" eventually 2 colour_is 150 150 "#000000"
expect "the preview opens no window of its own" test "$(count_windows_titled "Configure Pictavo")" -eq 0
xdotool windowsize "$HOST_ID" 300 200
[ -n "$child" ] && expect "it follows the window's new size" eventually 3 size_is "$child" 300x200
expect "and draws over all of it" eventually 2 colour_is 390 290 "#000000"

kill -TERM "$HOST_PID"
wait "$HOST_PID" 2>/dev/null || true
expect "the preview ends within 2 s of its window's destruction" ends_within "$PREVIEW" 2
expect "it ends with status 0" test "$(status_of "$PREVIEW")" -eq 0

# The same window named in hex, as xwininfo also prints it.
has_child() { test -n "$(first_child_of "$1")"; }
start_host_window 152 112 "Display Properties"
start_pictavo /p "$(printf '0x%x' "$HOST_ID")"
PREVIEW=$LAST_PID
expect "\"/p 0x...\" puts the preview in that window" eventually 2 has_child "$HOST_ID"
expect "and draws there" eventually 2 colour_is 150 150 "#000000"
kill -TERM "$HOST_PID"
wait "$HOST_PID" 2>/dev/null || true
expect "it ends with its window" ends_within "$PREVIEW" 2

# A window that is not there is the caller's mistake, told as it was named.
refused() {  # "expected message" arguments...
    local message=$1 status=0
    shift
    timeout 10 "$PICTAVO" "$@" 2>"$WORK/error" || status=$?
    [ "$status" -eq 2 ] && [ "$(cat "$WORK/error")" = "pictavo: $message" ]
}
for handle in 0 0x3039; do
    expect "\"/p $handle\" is refused at once with status 2 and why" \
        refused "/p $handle: there is no such window" /p "$handle"
done
expect "so is \"/p\" alone" refused "/p needs the id of the window to draw the preview in" /p
expect "the settings file is untouched" settings_untouched
finish
