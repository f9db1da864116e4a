#!/usr/bin/env bash
# The saver's own password: "/a" stores one; with the system's switch
# (ScreenSaveUsePassword in system.ini) on, input during "/s" opens the
# prompt "Pictavo/32" over the running show, a wrong password is refused
# with "Incorrect Password", Esc returns to the show, the right one ends it.
source "$(dirname "$0")/lib.sh"
start_display
use_one_picture

start_pictavo /a 0
dialog=$(window_titled "Change Password" || true)
[ -n "$dialog" ] || fail "/a opens its dialog"
type_into "$dialog" "secret"
xdotool key Tab
xdotool type --delay 20 "secret"
xdotool key Return
expect "/a stores the password and ends" ends_within "$LAST_PID" 2
expect "the stored password is encoded" sh -c "grep -q '^Password=' '$SETTINGS' && ! grep -qx 'Password=secret' '$SETTINGS'"
printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\nScreenSaveUsePassword=1\n' >"$XDG_CONFIG_HOME/pictavo/system.ini"

start_pictavo /s
SHOW=$LAST_PID
slide=$(window_titled "Screen Saver Main Form" || true)
[ -n "$slide" ] || fail "/s opens the slide window"
key_into "$slide" x
prompt=$(window_titled "Pictavo/32" || true)
expect "input opens the password prompt" test -n "$prompt"
expect "the show goes on behind it" kill -0 "$SHOW"
key_into "$prompt" Escape
expect "Esc closes the prompt" eventually 2 no_window_titled "Pictavo/32"
expect "and the show goes on" kill -0 "$SHOW"

key_into "$slide" y
prompt=$(window_titled "Pictavo/32" || true)
[ -n "$prompt" ] || fail "input opens the prompt again"
type_into "$prompt" "wrong"
xdotool key Return
refusal=$(window_titled "Incorrect Password" || true)
expect "a wrong password is refused" test -n "$refusal"
key_into "$refusal" Return
expect "the refusal closes" eventually 2 no_window_titled "Incorrect Password"
expect "the show still runs" kill -0 "$SHOW"
type_into "$prompt" "SECRET"
xdotool key Return
expect "the right password (in any case) ends the show within 2 s" ends_within "$SHOW" 2
expect "it ends with status 0" test "$(status_of "$SHOW")" -eq 0
finish
