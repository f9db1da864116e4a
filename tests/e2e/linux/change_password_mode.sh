#!/usr/bin/env bash
# "/a ID" opens the password-change dialog and nothing else; closing it
# writes nothing, a new password typed twice is stored encoded.
source "$(dirname "$0")/lib.sh"
start_display
write_settings

start_pictavo /a 5678
dialog=$(window_titled "Change Password" || true)
expect "/a opens \"Change Password\"" test -n "$dialog"
expect "/a opens no configuration dialog" test "$(count_windows_titled "Configure Pictavo")" -eq 0
[ -n "$dialog" ] && "$CLOSE_WINDOW" "$dialog"
expect "closing it ends the program" ends_within "$LAST_PID" 2
expect "it ends with status 0" test "$(status_of "$LAST_PID")" -eq 0
expect "the settings file is untouched" settings_untouched

start_pictavo /a 5678
dialog=$(window_titled "Change Password" || true)
[ -n "$dialog" ] || fail "the dialog opens again"
type_into "$dialog" "open sesame"
xdotool key Tab
xdotool type --delay 20 "open sesame"
xdotool key Return
expect "OK ends the program" ends_within "$LAST_PID" 2
stored=$(sed -n 's/^Password=//p' "$SETTINGS")
expect "the new password is stored" test -n "$stored"
expect "encoded, not as typed ($stored)" test "$stored" != "open sesame"
finish
