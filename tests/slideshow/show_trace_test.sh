#!/bin/sh
# pictavo-render show keeps its choices: for the same seed, folder and
# settings it writes the same trace, line for line and millisecond for
# millisecond, as the traces recorded in traces/. The folder is made here:
# good pictures of several formats and sizes, broken ones and files no
# decoder knows, so the pick, the error path and both effect ranges all
# draw from the random generator.
# usage: show_trace_test.sh PATH/TO/pictavo-render [--record]
set -u
render=$1
record=${2:-}
expected_dir=$(cd "$(dirname "$0")/traces" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

for tool in ppmmake pgmramp cjpeg pnmtopng ppmtobmp ppmtopcx pamtotga pnmtotiff; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

pictures="$work/pictures"
mkdir "$pictures"
# Good: smaller than the screen, its exact size, larger, in six formats.
ppmmake rgb:c0/40/40 200 150 | cjpeg -quality 90 >"$pictures/small.jpg"
pgmramp -lr 320 240 | pnmtopng >"$pictures/exact.png" 2>/dev/null
ppmmake rgb:20/a0/30 400 300 | ppmtobmp >"$pictures/large.bmp" 2>/dev/null
ppmmake rgb:f0/f0/10 64 48 | ppmtopcx >"$pictures/tiny.pcx" 2>/dev/null
ppmmake rgb:10/10/f0 321 239 | pamtotga >"$pictures/odd.tga" 2>/dev/null
pgmramp -tb 500 120 | pnmtotiff >"$pictures/wide.tif" 2>/dev/null
# Broken: cut short, or empty.
ppmmake rgb:80/80/80 300 200 | cjpeg >"$work/whole.jpg"
head -c 400 "$work/whole.jpg" >"$pictures/cut.jpg"
head -c 100 "$pictures/exact.png" >"$pictures/cut.png"
: >"$pictures/empty.bmp"
# Listed, but no decoder knows them.
printf 'this is not a picture\n' >"$pictures/words.wpg"
printf 'neither is this\n' >"$pictures/notes.img"
# Not listed at all.
printf 'readme\n' >"$pictures/readme.txt"

# One show per setting; the folder's name is replaced, as it differs per run.
run_show() {
    name=$1
    shift
    "$render" show --folder "$pictures" --seed 20240611 \
        --trace "$work/$name.raw" "$@" >/dev/null ||
        fail "the $name show did not run"
    sed "s|$pictures/|FOLDER/|g" "$work/$name.raw" >"$work/$name.txt"
    if [ "$record" = "--record" ]; then
        cp "$work/$name.txt" "$expected_dir/$name.txt"
        echo "recorded $expected_dir/$name.txt ($(wc -l <"$work/$name.txt") lines)"
    elif ! cmp -s "$work/$name.txt" "$expected_dir/$name.txt"; then
        fail "the $name trace differs from the recorded one:"
        diff "$expected_dir/$name.txt" "$work/$name.txt" | head -20
    fi
}

run_show centred --interval 2 --size 320x240 --seconds 600
run_show stretched --interval 2 --stretch --size 320x240 --seconds 600
run_show every-tick --interval 0 --stretch --size 1024x768 --seconds 300

[ "$failures" -eq 0 ] || exit 1
echo "all passed"
