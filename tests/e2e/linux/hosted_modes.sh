#!/usr/bin/env bash
# The conventions of Linux screen-saver hosts: "-window-id ID" shows the
# slide show inside that window and ends within two seconds of its
# destruction; "-root" draws on the root window (or the host's window named
# in XSCREENSAVER_WINDOW) and dies of SIGINT or SIGTERM, as a shell or the
# host expects; a window id that names no window is an error naming it.
source "$(dirname "$0")/lib.sh"
start_display
use_one_picture

start_host_window 320 240 "xscreensaver"
start_pictavo -window-id "$HOST_ID"
SHOW=$LAST_PID
slide=$(first_child_of "$HOST_ID")
expect "-window-id shows the slide window inside the host's window" test -n "$slide"
expect "it is the slide window" test "$(xdotool getwindowname "$slide" 2>/dev/null)" = "Screen Saver Main Form"
expect "the host's window shows it (not its own grey)" eventually 2 colour_is_not 105 105 "#808080"
# The host's window (320 x 240 at 100, 100) is the screen: the picture comes centred in it.
expect "the picture comes into it after the first transition" eventually 6 is_lit 260 220 100
kill -TERM "$HOST_PID"
wait "$HOST_PID" 2>/dev/null || true
expect "the show ends within 2 s of the window's destruction" ends_within "$SHOW" 2
expect "it ends with status 0" test "$(status_of "$SHOW")" -eq 0

# The host resizes its window: the show covers it again and the next slide
# is placed for the new size. A picture smaller than the new size shows it:
# 640 x 480, in a window that grows from 320 x 240 to 800 x 600.
mkdir -p "$WORK/small"
cp "$(dirname "$0")/../../../samples/star-night.bmp" "$WORK/small/"
sed -i "s|^PicturePath=.*|PicturePath=$WORK/small|" "$SETTINGS"
start_host_window 320 240 "xscreensaver"
start_pictavo -window-id "$HOST_ID"
GROWN=$LAST_PID
slide=$(first_child_of "$HOST_ID")
expect "the show opens inside the second host window" test -n "$slide"
expect "its first picture comes" eventually 6 is_lit 260 220 100
xdotool windowsize "$HOST_ID" 800 600
expect "the show covers the resized window" eventually 2 size_is "$slide" 800x600
# Centred in 800 x 600 at (100, 100) the picture spans (180, 160) to (820, 640).
expect "the next slide is centred in the new size" eventually 6 colour_is 140 140 "#000000"
expect "with the picture where the new centring puts it" eventually 2 is_lit 760 580 60
expect "and the new area is the show's, not the host's grey" colour_is 880 680 "#000000"
kill -TERM "$HOST_PID"
wait "$HOST_PID" 2>/dev/null || true
expect "that show ends within 2 s of the window's destruction" ends_within "$GROWN" 2
use_one_picture  # and its settings again, for the checks below

status=0
"$PICTAVO" -window-id 0x7fffff0 2>"$WORK/error" || status=$?
expect "a window id that names no window is an error (status $status)" test "$status" -eq 2
expect "which names it as it was given" grep -qx 'pictavo: -window-id 0x7fffff0: there is no such window' "$WORK/error"

start_pictavo -root
ROOT_SHOW=$LAST_PID
root=$(xwininfo -root | awk '/Window id:/{print $4}')
slide=$(window_titled "Screen Saver Main Form" || true)
expect "-root shows the slide window on the root window" test -n "$slide"
[ -n "$slide" ] && expect "as a child of the root window" \
    test "$(xwininfo -id "$slide" -tree | awk '/Parent window id:/{print $4}')" = "$root"
kill -INT "$ROOT_SHOW"
expect "SIGINT ends -root within 2 s" ends_within "$ROOT_SHOW" 2
status=$(status_of "$ROOT_SHOW")
expect "and it dies of SIGINT (status $status)" test "$status" -eq $((128 + 2))

start_host_window 200 150 "Screen saver host"
XSCREENSAVER_WINDOW=$HOST_ID start_pictavo -root
HOSTED=$LAST_PID
slide=$(first_child_of "$HOST_ID")
expect "-root draws into the window XSCREENSAVER_WINDOW names" test -n "$slide"
kill -TERM "$HOST_PID"
wait "$HOST_PID" 2>/dev/null || true
expect "and ends within 2 s of its destruction" ends_within "$HOSTED" 2
expect "the settings file is untouched" settings_untouched
finish
