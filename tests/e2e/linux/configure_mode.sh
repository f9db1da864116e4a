#!/usr/bin/env bash
# "/c" and every unknown or missing switch open the configuration dialog;
# closing it ends the program and writes nothing.
source "$(dirname "$0")/lib.sh"
start_display
write_settings

for arguments in "/c" "" "-c" "s" "/c:1234"; do
    # shellcheck disable=SC2086  # the arguments split into words on purpose
    start_pictavo $arguments
    dialog=$(window_titled "Configure Pictavo" || true)
    expect "\"$arguments\" opens \"Configure Pictavo\"" test -n "$dialog"
    expect "\"$arguments\" opens no slide window" test "$(count_windows_titled "Screen Saver Main Form")" -eq 0
    [ -n "$dialog" ] && "$CLOSE_WINDOW" "$dialog"
    expect "closing the dialog ends the program" ends_within "$LAST_PID" 2
    expect "it ends with status 0" test "$(status_of "$LAST_PID")" -eq 0
done
expect "the settings file is untouched" settings_untouched
finish
