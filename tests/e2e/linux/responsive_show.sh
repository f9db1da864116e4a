#!/usr/bin/env bash
# Whatever the pictures and the speed, the show ends at the first touch: a
# key or SIGTERM at a random moment ends "pictavo /s" (it takes 30 to 140 ms;
# bench_staging gives the real figures, and the limit here of 2 s only
# guards against "never" on a busy machine) with an EPS that keeps Ghostscript busy until its time limit, a
# 6000 x 4000 JPEG, Speed 1000, and a picture that turns into a FIFO after
# the folder was listed; no Ghostscript is left behind, nor its folder in
# the temporary folder. The hosted show (-window-id) and the preview end as
# promptly when their window goes or SIGTERM comes, and none of them writes
# a file.
source "$(dirname "$0")/lib.sh"
SAMPLES=$(cd "$(dirname "$0")/../../../samples" && pwd)
start_display
cd "$WORK/run"
# Ghostscript's folders are made here, to see that none stays behind.
export TMPDIR="$WORK/tmp"
mkdir -p "$TMPDIR"
ghostscript_folders() { find "$TMPDIR" -maxdepth 1 -name 'pictavo-gs-*' | wc -l; }
for tool in cjpeg pgmramp pgmtoppm; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done

LIMIT_MS=2000

# Folders, each with its settings: $1 the folder, $2 Speed.
use_folder() {
    printf '[Brackenfeld Applications\\Pictavo]\nInterval=0\nSpeed=%s\nStretch=0\nPicturePath=%s\n' \
        "$2" "$1" >"$SETTINGS"
}
mkdir -p "$WORK/eps" "$WORK/jpeg" "$WORK/speed" "$WORK/fifo"
# Ghostscript runs this until the renderer's time limit (2 s) ends it.
printf '%%!PS-Adobe-3.0 EPSF-3.0\n%%%%BoundingBox: 17 23 617 423\n{ } loop\nshowpage\n' >"$WORK/eps/busy.eps"
pgmramp -diag 6000 4000 | pgmtoppm rgb:ff/a0/40 | cjpeg -quality 90 >"$WORK/jpeg/big.jpg"
cp "$SAMPLES/dusk-plasma.jpg" "$WORK/speed/"
cp "$SAMPLES/dusk-plasma.jpg" "$WORK/fifo/a.jpg"
cp "$SAMPLES/dusk-plasma.jpg" "$WORK/fifo/b.jpg"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# A random moment: 300 to 3300 ms.
random_pause() { sleep "$(awk -v r="$RANDOM" 'BEGIN { printf "%.3f", 0.3 + r / 32768 * 3 }')"; }

# Milliseconds until process $1 has ended (polled every 10 ms, up to 5 s).
ms_to_end() {
    local start=$2 _
    for _ in $(seq 500); do
        kill -0 "$1" 2>/dev/null || { echo $(($(now_ms) - start)); return; }
        sleep 0.01
    done
    echo 99999
}

GS_SEEN=()
# Notes the Ghostscript processes the show has started so far.
note_ghostscript() {
    local child
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do
        grep -q 'ppmraw' "/proc/$child/cmdline" 2>/dev/null && GS_SEEN+=("$child")
    done
    return 0
}
# True while process $1 has a Ghostscript child rendering.
ghostscript_running() {
    local child
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do
        grep -q 'ppmraw' "/proc/$child/cmdline" 2>/dev/null && return 0
    done
    return 1
}
no_ghostscript_left() {
    local pid
    for pid in "${GS_SEEN[@]}"; do
        [ -d "/proc/$pid" ] && ! grep -q '^State:.*Z' "/proc/$pid/status" 2>/dev/null && return 1
    done
    return 0
}

# One show ended by $2 ("key" or "term") at a random moment; $3 runs once the window is there.
end_show_at_random() {
    local what=$1 how=$2 prepare=${3:-true} show slide start took
    xdotool mousemove 500 400
    start_pictavo /s
    show=$LAST_PID
    slide=$(window_titled "Screen Saver Main Form" || true)
    [ -n "$slide" ] || { fail "$what: no slide window"; return 0; }
    "$prepare"
    random_pause
    # The key goes to the window with the focus: the show's, before the clock starts.
    [ "$how" = key ] && { eventually 5 focus_in "$slide" || fail "$what: the slide window takes the focus"; }
    note_ghostscript "$show"
    start=$(now_ms)
    if [ "$how" = key ]; then xdotool key a; else kill -TERM "$show"; fi
    took=$(ms_to_end "$show" "$start")
    echo "   $what, $how: ended $took ms after it"
    expect "$what: a $how ends it within $LIMIT_MS ms ($took ms)" test "$took" -le "$LIMIT_MS"
    # A key ends the show as it should; SIGTERM is died of, as its sender expects.
    local status=0
    [ "$how" = term ] && status=$((128 + 15))
    [ "$took" -lt 99999 ] && expect "$what: it ends with status $status" test "$(status_of "$show")" -eq "$status"
    [ "$took" -ge 99999 ] && kill -KILL "$show" 2>/dev/null
    return 0
}

# The two pictures become pipes nobody writes to: the next read of either
# blocks in open() for as long as the program waits.
pictures_become_fifos() {
    rm -f "$WORK/fifo/a.jpg" "$WORK/fifo/b.jpg"
    mkfifo "$WORK/fifo/a.jpg" "$WORK/fifo/b.jpg"
}

for how in key term key term; do
    use_folder "$WORK/eps" 1
    end_show_at_random "an EPS that keeps Ghostscript busy" "$how"
    use_folder "$WORK/jpeg" 1
    end_show_at_random "a 6000 x 4000 JPEG" "$how"
    use_folder "$WORK/speed" 1000
    end_show_at_random "Speed 1000" "$how"
    cp "$SAMPLES/dusk-plasma.jpg" "$WORK/fifo/x.jpg"
    rm -f "$WORK/fifo/a.jpg" "$WORK/fifo/b.jpg"
    mv "$WORK/fifo/x.jpg" "$WORK/fifo/a.jpg"
    cp "$WORK/fifo/a.jpg" "$WORK/fifo/b.jpg"
    use_folder "$WORK/fifo" 1
    end_show_at_random "a picture that became a FIFO" "$how" pictures_become_fifos
done
expect "no Ghostscript is left behind (${#GS_SEEN[@]} seen)" eventually 2 no_ghostscript_left
expect "no Ghostscript folder is left behind" test "$(ghostscript_folders)" -eq 0

# Inside a screen-saver host's window: its destruction, or SIGTERM, in the
# middle of a Ghostscript render.
use_folder "$WORK/eps" 1
for how in destroy term; do
    start_host_window 320 240 "xscreensaver"
    start_pictavo -window-id "$HOST_ID"
    hosted=$LAST_PID
    first_child_of "$HOST_ID" >/dev/null
    eventually 5 ghostscript_running "$hosted" || fail "-window-id: Ghostscript renders the EPS"
    note_ghostscript "$hosted"
    start=$(now_ms)
    if [ "$how" = destroy ]; then kill -TERM "$HOST_PID"; else kill -TERM "$hosted"; fi
    took=$(ms_to_end "$hosted" "$start")
    echo "   -window-id during a Ghostscript render, $how: ended $took ms after it"
    expect "-window-id: the window's $how ends the show within $LIMIT_MS ms ($took ms)" \
        test "$took" -le "$LIMIT_MS"
    kill -TERM "$HOST_PID" 2>/dev/null || true
    wait "$HOST_PID" 2>/dev/null || true
done

# The preview: SIGTERM in the middle of a Ghostscript render ends it at
# once; its window's destruction at its next tick, as always.
start_preview_while_rendering() {
    start_host_window 152 112 "Display Properties"
    start_pictavo /p "$HOST_ID"
    preview=$LAST_PID
    first_child_of "$HOST_ID" >/dev/null
    eventually 5 ghostscript_running "$preview" || fail "/p: Ghostscript renders the EPS"
    note_ghostscript "$preview"
}
start_preview_while_rendering
start=$(now_ms)
kill -TERM "$preview"
took=$(ms_to_end "$preview" "$start")
echo "   /p during a Ghostscript render, term: ended $took ms after it"
expect "/p: SIGTERM ends the preview within $LIMIT_MS ms ($took ms)" test "$took" -le "$LIMIT_MS"
kill -TERM "$HOST_PID" 2>/dev/null || true
wait "$HOST_PID" 2>/dev/null || true
start_preview_while_rendering
kill -TERM "$HOST_PID"
wait "$HOST_PID" 2>/dev/null || true
expect "/p: its window's destruction ends it within 2 s" ends_within "$preview" 2

expect "no Ghostscript is left behind (${#GS_SEEN[@]} seen in all)" eventually 2 no_ghostscript_left
expect "no Ghostscript folder is left behind in all" test "$(ghostscript_folders)" -eq 0
expect "nothing is written in the working folder" test -z "$(ls -A "$WORK/run")"
finish
