#!/usr/bin/env bash
# "/s": the full-screen show opens its window; a second "/s" ends at once
# without a window of its own; SIGTERM ends the show cleanly; the settings
# are read, never written.
source "$(dirname "$0")/lib.sh"
start_display
write_settings

start_pictavo /s
SHOW=$LAST_PID
expect "/s opens the slide window" window_titled "Screen Saver Main Form" >/dev/null

start=$(date +%s%N)
second_status=0
timeout 5 "$PICTAVO" /s >>"$WORK/pictavo.log" 2>&1 || second_status=$?
took=$((($(date +%s%N) - start) / 1000000))
expect "a second /s ends by itself with status 0 (status $second_status)" test "$second_status" -eq 0
expect "a second /s ends at once (${took} ms)" test "$took" -lt 1500
expect "a second /s opens no window" test "$(count_windows_titled "Screen Saver Main Form")" -eq 1
for variant in "/S" "/s 99" "/sx"; do
    status=0
    timeout 5 "$PICTAVO" $variant >>"$WORK/pictavo.log" 2>&1 || status=$?
    expect "\"$variant\" is a second show too and is refused" test "$status" -eq 0
done
expect "still one slide window" test "$(count_windows_titled "Screen Saver Main Form")" -eq 1

kill -TERM "$SHOW"
expect "SIGTERM ends the show within 2 s" ends_within "$SHOW" 2
expect "the show ends with status 0" test "$(status_of "$SHOW")" -eq 0
expect "the settings file is untouched" settings_untouched
expect "no slide window is left" test "$(count_windows_titled "Screen Saver Main Form")" -eq 0
finish
