#!/usr/bin/env bash
# Two monitors side by side, without a window manager and with openbox:
# Xephyr's two Xinerama heads, nested in an Xvfb whose screen shows both.
# The show covers the first (primary) monitor with the picture centred on
# it, a window of the program's class covers the second, nothing of the
# desktop shows on either, and a key typed with the pointer on the second
# ends the show. Dialogs open centred on the primary monitor, also when
# RandR names the right one primary. On a display of two X screens the show
# covers both. Skipped (77) without Xephyr or openbox.
source "$(dirname "$0")/lib.sh"
for tool in Xephyr openbox xrandr; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
ROOT_COLOUR='#FF00FF'  # painted on the root; the sample picture has none of it

# True once the command succeeds, trying until $1 seconds have passed: the
# checks here read whole screens, each try takes a while.
within() {
    local deadline=$(($(date +%s) + $1))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# Starts the X server "$@" in the background; its display in SERVER.
start_server() {
    local ready="$WORK/server.$RANDOM"
    "$@" -displayfd 4 -nolisten tcp -noreset 4>"$ready" >/dev/null 2>&1 &
    STARTED+=("$!")
    eventually 10 test -s "$ready" || { echo "$1 did not start" >&2; exit 1; }
    SERVER=":$(cat "$ready")"
}

# How many pixels of the root's colour the area $2 (WxH+X+Y) of display $1 shows.
root_colour_count() {
    DISPLAY=$1 import -window root -crop "$2" +repage png:- |
        convert png:- -precision 12 -fill white -opaque "$ROOT_COLOUR" -fill black +opaque white \
            -format '%[fx:round(mean*w*h)]' info:
}
no_root_colour() { [ "$(root_colour_count "$1" "$2")" -eq 0 ]; }
# True when what is not black in the area $1 (WxH+X+Y) of the screen is
# centred on it, within 2 pixels.
picture_centred() {
    local box width height w h x y
    IFS='x+' read -r width height _ <<<"$1"
    box=$(import -window root -crop "$1" +repage png:- | convert png:- -format '%@' info: 2>/dev/null)
    IFS='x+' read -r w h x y <<<"$box"
    [ "${w:-0}" -gt 0 ] && [ "$w" -lt "$width" ] &&
        [ $(((2 * x + w - width) ** 2)) -le 16 ] && [ $(((2 * y + h - height) ** 2)) -le 16 ]
}
# True when a window of the program has the size $2 (WxH) at $3 (+X+Y) on
# the root window of display $1.
covered() {
    DISPLAY=$1 xwininfo -root -tree | awk -v size="$2" -v at="$3" '
        /\("pictavo" "Pictavo"\)/ { split($(NF - 1), geometry, /[-+]/); if (geometry[1] == size && $NF == at) found = 1 }
        END { exit !found }'
}

# The show on two monitors, the pointer resting on the second; $1 says how
# the desktop runs.
show_on_two_monitors() {
    xdotool mousemove 2880 540
    start_pictavo /s
    local show=$LAST_PID
    local slide
    slide=$(window_titled "Screen Saver Main Form" || true)
    expect "$1: /s opens the slide window" test -n "$slide"
    # Xephyr draws every step of the first transition into the outer server:
    # on a busy machine that takes a while.
    expect "$1: the picture comes, centred on the first monitor" \
        within 30 picture_centred 1920x1080+0+0
    expect "$1: nothing of the desktop shows there" no_root_colour "$DISPLAY" 1920x1080+0+0
    expect "$1: a window of ours covers the second monitor" \
        within 5 covered "$DISPLAY" 1920x1080 +1920+0
    expect "$1: nothing of the desktop shows there either" \
        within 5 no_root_colour "$OUTER" 1920x1080+1920+0
    expect "$1: the pointer resting on the second monitor leaves the show running" kill -0 "$show"
    [ -n "$slide" ] && key_into "$slide" a
    expect "$1: a key typed with the pointer there ends the show" ends_within "$show" 2
    expect "$1: it ends with status 0" test "$(status_of "$show")" -eq 0
    expect "$1: and takes its covers with it" test -z "$(xwininfo -root -tree | grep '"Pictavo")')"
}

start_display -screen 0 3840x1080x24
OUTER=$DISPLAY
start_server Xephyr -screen 1920x1080+0+0 -screen 1920x1080+1920+0 +xinerama
export DISPLAY=$SERVER
two_heads() { [ "$(xdpyinfo -ext XINERAMA | grep -c 'head #')" -eq 2 ]; }
eventually 5 two_heads || { echo "Xephyr shows no two heads" >&2; exit 1; }
use_one_picture
xsetroot -solid "$ROOT_COLOUR"
show_on_two_monitors "no window manager"

start_openbox
show_on_two_monitors "openbox"

# True when the middle of window $3 is within 4 pixels of ($1, $2).
middle_near() {
    local x y
    read -r x y <<<"$(middle_of "$3")"
    [ $(((x - $1) ** 2)) -le 16 ] && [ $(((y - $2) ** 2)) -le 16 ]
}
# The configuration dialog opens with its middle at ($2, $3); $1 says where.
dialog_centred_at() {
    local dialog
    start_pictavo /c
    dialog=$(window_titled "Configure Pictavo" || true)
    expect "$1: the configuration dialog opens" test -n "$dialog"
    [ -n "$dialog" ] || return 0
    expect "$1: centred on the primary monitor (middle at $(middle_of "$dialog"))" \
        eventually 2 middle_near "$2" "$3" "$dialog"
    "$CLOSE_WINDOW" "$dialog"
    expect "$1: closing it ends the program" ends_within "$LAST_PID" 2
}
dialog_centred_at openbox 960 540

# RandR's monitors on one screen, the primary one on the right: the show and
# the dialogs go there, the left one is covered.
start_server Xvfb -screen 0 3840x1080x24
export DISPLAY=$SERVER
xrandr --setmonitor A 1920/508x1080/286+0+0 screen >/dev/null
xrandr --setmonitor '*B' 1920/508x1080/286+1920+0 none >/dev/null
xsetroot -solid "$ROOT_COLOUR"
start_pictavo /s
show=$LAST_PID
expect "RandR: the picture comes, centred on the primary monitor" \
    within 30 picture_centred 1920x1080+1920+0
expect "RandR: a window of ours covers the other" within 5 covered "$DISPLAY" 1920x1080 +0+0
expect "RandR: nothing of the desktop shows on either" no_root_colour "$DISPLAY" 3840x1080+0+0
xdotool key a
expect "RandR: a key ends the show" ends_within "$show" 2
dialog_centred_at RandR 2880 540

start_server Xvfb -screen 0 1280x720x24 -screen 1 800x600x24
export DISPLAY=$SERVER.0
for screen in 0 1; do DISPLAY=$SERVER.$screen xsetroot -solid "$ROOT_COLOUR"; done
start_pictavo /s
show=$LAST_PID
expect "two screens: the picture comes, centred on the first" \
    within 30 picture_centred 1280x720+0+0
expect "two screens: a window of ours covers the second" \
    within 5 covered "$SERVER.1" 800x600 +0+0
expect "two screens: nothing of the desktop shows on either" \
    within 5 no_root_colour "$SERVER.1" 800x600+0+0
expect "two screens: nor on the first" no_root_colour "$SERVER.0" 1280x720+0+0
xdotool key a
expect "two screens: a key ends the show" ends_within "$show" 2
finish
