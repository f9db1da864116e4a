# Shared by the show benches (source it): the pictures they show, the
# effects' nominal times, processor time from /proc and the effects' report.

# A 1920 x 1080 Xvfb of the bench's own (it tells its number into file $1):
# sets XVFB_PID and DISPLAY.
start_show_display() {
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$1" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do [ -s "$1" ] && break; sleep 0.05; done
    export DISPLAY=":$(cat "$1")"
}

# Six varied 1080p photographs' worth of JPEG in folder $1.
make_show_pictures() {
    local i
    for i in 1 2 3 4 5 6; do
        convert -seed "$i" -size 1920x1080 plasma:fractal -quality 90 "$1/p$i.jpg"
    done
}

# NOMINAL[effect]: milliseconds of each effect at 1920 x 1080, Speed 1, from
# its pauses as pictavo-render $1 traces them (scratch file $2).
measure_nominals() {
    declare -gA NOMINAL
    local effect
    for effect in $(seq 0 42); do
        "$1" transition --effect "$effect" --size 1920x1080 --trace "$2" >/dev/null
        NOMINAL[$effect]=$(awk '$1 == "delay" { units += $2 } END { printf "%.1f", units * 10 * 7 / 1000 }' "$2")
    done
}

# utime + stime of a process, in clock ticks.
ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }

# "effect milliseconds" per effect a show's trace $1 saw end.
effect_spans() {
    tr -d '\r' <"$1" |
        awk '$2 == "transition" && NF == 3 { start = $1 } $2 == "transition" && $4 == "done" { print $3, $1 - start }'
}

# The table of effect_spans lines in file $1 against NOMINAL.
report_effects() {
    echo "== Effects seen in those shows: wall time against nominal (goal 1.10 x nominal + 100 ms)"
    printf '%3s %5s %9s %9s %6s %-5s %s\n' "#" runs "worst ms" nominal ratio goal "every run, ms"
    local e
    sort -n "$1" | awk -v nominal="$(for e in "${!NOMINAL[@]}"; do printf '%s=%s ' "$e" "${NOMINAL[$e]}"; done)" '
        BEGIN { n = split(nominal, pairs, " "); for (i = 1; i <= n; i++) { split(pairs[i], kv, "="); nom[kv[1]] = kv[2] } }
        { runs[$1]++; all[$1] = all[$1] " " $2; if ($2 > worst[$1]) worst[$1] = $2 }
        END { for (e in runs) printf "%3d %5d %9d %9.1f %6.2f %-5s%s\n", e, runs[e], worst[e], nom[e],
                  worst[e] / (nom[e] > 0 ? nom[e] : 1), worst[e] <= 1.1 * nom[e] + 100 ? "ok" : "LATE", all[e] }' |
        sort -n
}
