# Shared by the end-to-end scripts of pictavo on Linux: each script gets a
# display, a settings folder and a work folder of its own, and leaves
# nothing behind: every process it started is stopped and the folder
# removed, whether it passes or fails.
#
# The environment names the programs: PICTAVO, HOST_WINDOW, CLOSE_WINDOW.

set -euo pipefail
: "${PICTAVO:?the pictavo program}" "${HOST_WINDOW:?the host_window helper}" "${CLOSE_WINDOW:?the close_window helper}"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/pictavo-e2e.XXXXXX")
STARTED=()
XVFB_PID=""
FAILURES=0

cleanup() {
    local status=$?
    local pid
    for pid in "${STARTED[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${STARTED[@]}"; do wait "$pid" 2>/dev/null || true; done
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
    if [ "$status" -eq 0 ] && [ "$FAILURES" -gt 0 ]; then status=1; fi
    exit "$status"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    FAILURES=$((FAILURES + 1))
}
pass() { echo "ok: $*"; }
# expect "what is checked" command...: passes when the command succeeds.
expect() {
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

# A virtual display and a home of its own: the user's settings are never touched.
# Xvfb's screen options may be given; one screen of 1024 x 768 by default.
start_display() {
    local screens=("$@")
    [ ${#screens[@]} -gt 0 ] || screens=(-screen 0 1024x768x24)
    Xvfb -displayfd 3 "${screens[@]}" -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
    XVFB_PID=$!
    local _
    for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.05; done
    [ -s "$WORK/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(cat "$WORK/display")"
    export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME/pictavo" "$WORK/run"
    SETTINGS="$XDG_CONFIG_HOME/pictavo/settings.ini"
}

# Starts openbox on the display and waits until it frames new windows.
# While it starts it may drop a window's request to be mapped, which then
# stays unmapped: a window of the test's own is mapped (again, if need be)
# until openbox takes it. Uses HOST_ID and HOST_PID.
start_openbox() {
    openbox >"$WORK/openbox.log" 2>&1 &
    STARTED+=("$!")
    local _ managed
    for _ in 1 2 3 4 5; do
        start_host_window 40 40 "openbox probe"
        managed=no
        eventually 2 managed_by_window_manager "$HOST_ID" && managed=yes
        kill -TERM "$HOST_PID"
        wait "$HOST_PID" 2>/dev/null || true
        [ "$managed" = yes ] && return 0
    done
    echo "openbox did not start" >&2
    exit 1
}
managed_by_window_manager() { xprop -id "$1" WM_STATE 2>/dev/null | grep -q 'Normal'; }

# Starts pictavo with these arguments in the background; its pid in LAST_PID.
start_pictavo() {
    "$PICTAVO" "$@" >>"$WORK/pictavo.log" 2>&1 &
    LAST_PID=$!
    STARTED+=("$LAST_PID")
}

# A window of another program for pictavo to draw into; its id in HOST_ID,
# the helper's pid in HOST_PID (SIGTERM destroys the window).
start_host_window() {
    "$HOST_WINDOW" "$1" "$2" "$3" >"$WORK/host.id" &
    HOST_PID=$!
    STARTED+=("$HOST_PID")
    local _
    for _ in $(seq 100); do [ -s "$WORK/host.id" ] && break; sleep 0.05; done
    HOST_ID=$(cat "$WORK/host.id")
}

# The id of the window titled exactly $1, once it is there (up to $2 seconds).
window_titled() {
    local tries=$((${2:-5} * 20)) _
    for _ in $(seq "$tries"); do
        if xdotool search --name "^$1\$" 2>/dev/null | head -1 | grep .; then return 0; fi
        sleep 0.05
    done
    return 1
}
count_windows_titled() { xdotool search --name "^$1\$" 2>/dev/null | wc -l; }

# True when process $1 has ended within $2 seconds.
ends_within() {
    local tries=$(($2 * 20)) _
    for _ in $(seq "$tries"); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.05
    done
    return 1
}
# The exit status of an ended process.
status_of() {
    local status=0
    wait "$1" || status=$?
    echo "$status"
}

# True once the command succeeds, trying for up to $1 seconds: what is on
# the screen comes a moment after the window.
eventually() {
    local tries=$(($1 * 20)) _
    shift
    for _ in $(seq "$tries"); do
        if "$@"; then return 0; fi
        sleep 0.05
    done
    return 1
}
# True when the keys typed go to window $1 (the window itself or one of its
# children): it has the focus, or the focus follows the pointer (as after a
# focused window was closed, without a window manager) and the pointer is in it.
focus_in() {
    local window _
    window=$(xdotool getwindowfocus -f 2>/dev/null) || return 1
    [ "$window" = 1 ] && { pointer_in "$1"; return; }
    for _ in 1 2 3 4 5 6 7 8; do
        [ -n "$window" ] || return 1
        [ $((window)) -eq $(($1)) ] && return 0
        [ $((window)) -eq 0 ] && return 1
        window=$(xwininfo -tree -id "$window" 2>/dev/null | awk '/Parent window id:/{print $4}')
    done
    return 1
}
# True when the pointer is inside window $1 and the window is shown.
pointer_in() {
    local X Y
    eval "$(xdotool getmouselocation --shell 2>/dev/null | grep -E '^[XY]=')"
    xwininfo -id "$1" 2>/dev/null | awk -v px="${X:--1}" -v py="${Y:--1}" '
        /Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4} /Width:/{w=$2} /Height:/{h=$2}
        /Map State: IsViewable/{shown=1}
        END{exit !(shown && px >= x && px < x + w && py >= y && py < y + h)}'
}
# Keys go to the window with the focus: wait (up to 5 s) until window $1
# has it, then type text $2 or press the keys after it.
type_into() {
    eventually 5 focus_in "$1" || fail "window $1 takes the focus before typing"
    xdotool type --delay 20 "$2"
}
key_into() {
    local window=$1
    shift
    eventually 5 focus_in "$window" || fail "window $window takes the focus before a key"
    xdotool key "$@"
}
# True when no window is titled exactly $1.
no_window_titled() { [ "$(count_windows_titled "$1")" -eq 0 ]; }

colour_is() { [ "$(screen_colour "$1" "$2")" = "$3" ]; }
colour_is_not() { [ "$(screen_colour "$1" "$2")" != "$3" ]; }

# The children of window $1, one id per line.
children_of() { xwininfo -children -id "$1" | awk '/^ +0x[0-9a-f]+ /{print $1}'; }
# The first child window of $1 within 3 s; nothing when none came.
first_child_of() {
    local child
    for _ in $(seq 60); do
        child=$(children_of "$1" | head -1)
        [ -n "$child" ] && { echo "$child"; return; }
        sleep 0.05
    done
}
# The middle of window $1, "X Y", in root coordinates.
middle_of() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/{x=$4} /Absolute upper-left Y:/{y=$4}
        /Width:/{w=$2} /Height:/{h=$2} END{print int(x + w / 2), int(y + h / 2)}'
}
# Width and height of window $1, as "WxH".
size_of() { xwininfo -id "$1" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}'; }
size_is() { [ "$(size_of "$1")" = "$2" ]; }

# The colour on the screen at ($1, $2), as #RRGGBB.
screen_colour() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -1; }

# A settings file with something in it, and its fingerprint.
write_settings() {
    printf '[Brackenfeld Applications\\Pictavo]\nInterval=7\nSpeed=3\nStretch=1\nPicturePath=%s\n' "$WORK" >"$SETTINGS"
    SETTINGS_SUM=$(md5sum <"$SETTINGS")
}
settings_untouched() { [ "$(md5sum <"$SETTINGS")" = "$SETTINGS_SUM" ]; }

# Settings that show one bundled picture, a colourful one, at every tick.
use_one_picture() {
    mkdir -p "$WORK/pictures"
    cp "$(dirname "${BASH_SOURCE[0]}")/../../../samples/dusk-plasma.jpg" "$WORK/pictures/"
    printf '[Brackenfeld Applications\\Pictavo]\nInterval=0\nSpeed=1\nStretch=0\nPicturePath=%s\n' \
        "$WORK/pictures" >"$SETTINGS"
    SETTINGS_SUM=$(md5sum <"$SETTINGS")
}

# How many of 25 points of the square of side $3 centred on ($1, $2) are not black.
lit_points() {
    local half=$(($3 / 2)) step=$(($3 / 5))
    import -window root -crop "$3x$3+$(($1 - half))+$(($2 - half))" -depth 8 txt:- |
        awk -F'[:,]' -v step="$step" 'NR > 1 && $1 % step == int(step / 2) && $2 % step == int(step / 2)' |
        grep -vc '#000000' || true
}
middle_is_dark() { [ "$(lit_points 512 384 200)" -eq 0 ]; }
middle_is_lit() { [ "$(lit_points 512 384 200)" -ge 20 ]; }
# The picture fills most of the square of side $3 centred on ($1, $2).
is_lit() { [ "$(lit_points "$1" "$2" "$3")" -ge 20 ]; }

finish() {
    if [ "$FAILURES" -gt 0 ]; then
        echo "$FAILURES check(s) failed; pictavo said:" >&2
        cat "$WORK/pictavo.log" >&2 || true
        exit 1
    fi
    echo "all checks passed"
}
