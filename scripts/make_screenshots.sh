#!/usr/bin/env bash
# Takes the README's pictures of pictavo on Linux under a virtual display:
# the configuration dialog, the password change dialog, the about box and a
# frame of the show, as small PNGs in docs/screenshots/. Nothing of the
# user's is read or written: the settings live in a folder of the script's
# own, which goes when it ends.
# usage: scripts/make_screenshots.sh [path/to/pictavo]
set -euo pipefail

pictavo=$(realpath "${1:-build/linux/bin/pictavo}")
samples=$(cd "$(dirname "$0")/../samples" && pwd)
out=docs/screenshots

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/pictavo" "$out" "$work/pictures"
# The show's folder holds one of the samples, linked: a picture that is not
# the screen's size, so the frame shows how it is centred.
ln -s "$samples/meadow-shapes.png" "$work/pictures/"
settings() {
    printf '[Brackenfeld Applications\\Pictavo]\nPicturePath=%s/\nInterval=10\nSpeed=3\nStretch=0\n' \
        "$1" >"$XDG_CONFIG_HOME/pictavo/settings.ini"
}
settings "$samples"

start() {
    "$pictavo" "$@" >>"$work/pictavo.log" 2>&1 &
    pids+=($!)
    last=$!
}
# The id of the window titled exactly $1, waiting up to 5 s for it.
window() {
    for _ in $(seq 100); do
        xdotool search --name "^$1\$" 2>/dev/null | head -1 | grep . && return 0
        sleep 0.05
    done
    echo "no window \"$1\"; pictavo said:" >&2
    cat "$work/pictavo.log" >&2
    return 1
}
# Window $1 as docs/screenshots/$2.png, in few colours: dialogs have few.
shoot() {
    import -window "$1" "$work/shot.png"
    convert "$work/shot.png" +dither -colors 64 "$out/$2.png"
    echo "$out/$2.png: $(identify -format '%wx%h' "$out/$2.png"), $(du -k "$out/$2.png" | cut -f1) KB"
}
stop() {
    kill "$last" 2>/dev/null || true
    wait "$last" 2>/dev/null || true
}

start /c
dialog=$(window "Configure Pictavo")
sleep 1
shoot "$dialog" configuration
xdotool key alt+a
about=$(window "About Pictavo/32")
sleep 0.5
xdotool key Tab space  # "Ombudsman >>": the notice below the fold
sleep 0.5
shoot "$about" about
stop

start /a 0
password=$(window "Change Password")
sleep 0.5
xdotool type --delay 30 "secret"
sleep 0.3
shoot "$password" password
stop

settings "$work/pictures"
start /s
window "Screen Saver Main Form" >/dev/null
# The first slide comes at the first tick; the show's transitions take a moment.
sleep 6
import -window root "$work/show.png"
convert "$work/show.png" -resize 400x300 +dither -colors 64 "$out/show.png"
echo "$out/show.png: $(identify -format '%wx%h' "$out/show.png"), $(du -k "$out/show.png" | cut -f1) KB"
stop
du -sh "$out"
