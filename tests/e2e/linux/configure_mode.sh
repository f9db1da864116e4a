#!/usr/bin/env bash
# "/c" and every unknown or missing switch open the configuration dialog;
# closing it or Cancel (Esc) writes nothing, OK (Enter) writes the picture
# settings.
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

# The bundled pictures, so that OK finds a folder with pictures to save.
SAMPLES=$(cd "$(dirname "$0")/../../../samples" && pwd)
printf '[Brackenfeld Applications\\Pictavo]\nPicturePath=%s\nInterval=7\nSpeed=3\nStretch=1\n' "$SAMPLES" >"$SETTINGS"
SETTINGS_SUM=$(md5sum <"$SETTINGS")

start_pictavo /c
dialog=$(window_titled "Configure Pictavo" || true)
[ -n "$dialog" ] || fail "the dialog opens for Cancel"
key_into "$dialog" Escape
expect "Esc (Cancel) closes the dialog and ends the program" ends_within "$LAST_PID" 2
expect "Cancel writes nothing" settings_untouched

start_pictavo /c
dialog=$(window_titled "Configure Pictavo" || true)
[ -n "$dialog" ] || fail "the dialog opens for OK"
# X delivers the keys in order: the interval is chosen before OK.
key_into "$dialog" alt+1 Return  # "&10 Sec.", then OK
expect "Enter (OK) closes the dialog and ends the program" ends_within "$LAST_PID" 2
expect "OK writes the interval chosen" grep -qx "Interval=10" "$SETTINGS"
expect "OK writes the folder shown" grep -qx "PicturePath=$SAMPLES" "$SETTINGS"
expect "OK writes the speed and stretching" grep -qx "Speed=3" "$SETTINGS"
expect "and the stretching" grep -qx "Stretch=1" "$SETTINGS"
finish
