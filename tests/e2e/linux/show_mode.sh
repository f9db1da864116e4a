#!/usr/bin/env bash
# "/s": the full-screen show is black until its first tick, then brings the
# picture in; a key or a one-pixel move of the mouse ends it within two
# seconds; a second "/s" ends at once without a window of its own; SIGTERM
# ends the show at once and the program dies of it; the settings are read,
# never written, and the show leaves no file behind.
source "$(dirname "$0")/lib.sh"
start_display
use_one_picture
cd "$WORK/run"

start_pictavo /s
SHOW=$LAST_PID
slide=$(window_titled "Screen Saver Main Form" || true)
expect "/s opens the slide window" test -n "$slide"
expect "the screen is black before the first tick" middle_is_dark
[ -n "$slide" ] && expect "the slide window covers the screen" test "$(size_of "$slide")" = "1024x768"
expect "the picture is on the screen after the first transition" eventually 6 middle_is_lit

start=$(date +%s%N)
second_status=0
timeout 5 "$PICTAVO" /s >>"$WORK/pictavo.log" 2>&1 || second_status=$?
took=$((($(date +%s%N) - start) / 1000000))
expect "a second /s ends by itself with status 0 (status $second_status)" test "$second_status" -eq 0
expect "a second /s ends at once (${took} ms; 2500 guards against never)" test "$took" -lt 2500
expect "a second /s opens no window" test "$(count_windows_titled "Screen Saver Main Form")" -eq 1
expect "the first show runs on" kill -0 "$SHOW"

key_into "$slide" a
expect "a key ends the show within 2 s" ends_within "$SHOW" 2
expect "the show ends with status 0" test "$(status_of "$SHOW")" -eq 0

xdotool mousemove 300 300
start_pictavo /s
SHOW=$LAST_PID
window_titled "Screen Saver Main Form" >/dev/null || fail "/s opens the slide window again"
sleep 1.5
expect "the pointer resting where the window opened does not end the show" kill -0 "$SHOW"
xdotool mousemove_relative 1 0
expect "a one-pixel move ends the show within 2 s" ends_within "$SHOW" 2

start_pictavo /s
SHOW=$LAST_PID
window_titled "Screen Saver Main Form" >/dev/null || fail "/s opens the slide window a third time"
start=$(date +%s%N)
kill -TERM "$SHOW"
expect "SIGTERM ends the show within 2 s" ends_within "$SHOW" 2
echo "SIGTERM ended the show in $((($(date +%s%N) - start) / 1000000)) ms (polled every 50 ms)"
status=$(status_of "$SHOW")
expect "the show dies of SIGTERM, as its sender expects (status $status)" test "$status" -eq $((128 + 15))

expect "the settings file is untouched" settings_untouched
expect "no slide window is left" test "$(count_windows_titled "Screen Saver Main Form")" -eq 0
expect "the show leaves no file in its working folder" test -z "$(ls -A "$WORK/run")"
finish
