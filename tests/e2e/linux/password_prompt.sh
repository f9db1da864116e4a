#!/usr/bin/env bash
# The saver's own password: "/a" stores one; with the system's switch
# (ScreenSaveUsePassword in system.ini) on, input during "/s" opens the
# prompt "Pictavo/32" over the running show, a wrong password is refused
# with "Incorrect Password", Esc returns to the show, the right one ends it.
source "$(dirname "$0")/lib.sh"
start_display
use_one_picture

start_pictavo /a 0
window_titled "Change Password" >/dev/null || fail "/a opens its dialog"
sleep 0.3
xdotool type --delay 20 "secret"
xdotool key Tab
xdotool type --delay 20 "secret"
xdotool key Return
expect "/a stores the password and ends" ends_within "$LAST_PID" 2
expect "the stored password is encoded" sh -c "grep -q '^Password=' '$SETTINGS' && ! grep -qx 'Password=secret' '$SETTINGS'"
printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\nScreenSaveUsePassword=1\n' >"$XDG_CONFIG_HOME/pictavo/system.ini"

start_pictavo /s
SHOW=$LAST_PID
window_titled "Screen Saver Main Form" >/dev/null || fail "/s opens the slide window"
sleep 0.5
xdotool key x
expect "input opens the password prompt" window_titled "Pictavo/32" >/dev/null
expect "the show goes on behind it" kill -0 "$SHOW"
sleep 0.3
xdotool key Escape
expect "Esc closes the prompt" eventually 2 sh -c '[ "$(xdotool search --name "^Pictavo/32\$" 2>/dev/null | wc -l)" -eq 0 ]'
expect "and the show goes on" kill -0 "$SHOW"

xdotool key y
window_titled "Pictavo/32" >/dev/null || fail "input opens the prompt again"
sleep 0.3
xdotool type --delay 20 "wrong"
xdotool key Return
expect "a wrong password is refused" window_titled "Incorrect Password" >/dev/null
xdotool key Return
expect "the refusal closes" eventually 2 sh -c '[ "$(xdotool search --name "^Incorrect Password\$" 2>/dev/null | wc -l)" -eq 0 ]'
expect "the show still runs" kill -0 "$SHOW"
sleep 0.3
xdotool type --delay 20 "SECRET"
xdotool key Return
expect "the right password (in any case) ends the show within 2 s" ends_within "$SHOW" 2
expect "it ends with status 0" test "$(status_of "$SHOW")" -eq 0
finish
