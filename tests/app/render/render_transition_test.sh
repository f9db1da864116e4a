#!/bin/sh
# pictavo-render transition, from the outside: refusals write nothing and
# exit with 2; a run writes the picture, the frames and a streamed trace.
# usage: render_transition_test.sh PATH/TO/pictavo-render
set -u
render=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Each refusal: exit status 2, one line on stderr, not a file left behind.
refuse() {
    dir="$work/refused"
    rm -rf "$dir" && mkdir "$dir"
    (cd "$dir" && "$render" transition "$@" --out out.png --trace trace.txt --frames frames >stdout 2>stderr)
    status=$?
    [ "$status" -eq 2 ] || fail "exit $status, not 2, for: $*"
    [ "$(wc -l <"$dir/stderr")" -eq 1 ] || fail "not one line of error for: $*"
    [ -z "$(ls "$dir" | grep -v -e '^stdout$' -e '^stderr$')" ] || fail "files written for: $*"
}

printf 'not a picture' >"$work/text.png"
refuse --effect 43 --size 64x48
refuse --effect -1 --size 64x48
refuse --effect 2 --size 0x48
refuse --effect 2 --size 64x16385
refuse --effect 2 --size 64
refuse --effect 2 --size 64x48 --from "$work/missing.png"
refuse --effect 2 --size 64x48 --to "$work/text.png"
refuse --effect 2 --size 64x48 --speed 1001
refuse --effect 2 --size 64x48 --colour red
refuse --size 64x48

# A wipe: the trace's lines, the closing copy, the frames, the picture.
cd "$work" || exit 1
"$render" transition --effect 2 --size 642x48 --out wipe.png --trace wipe.txt --frames frames --every 40 >/dev/null ||
    fail "the wipe did not run"
[ "$(wc -l <wipe.txt)" -eq 321 ] || fail "wipe trace has $(wc -l <wipe.txt) lines, not 160 copies + 160 delays + 1"
[ "$(head -n 2 wipe.txt | tr '\n' '|')" = "copy 0 0 4 48 0 0|delay 50|" ] || fail "wipe trace starts wrong"
[ "$(tail -n 1 wipe.txt)" = "copy 0 0 642 48 0 0" ] || fail "wipe trace does not end with the closing copy"
[ "$(ls frames | wc -l)" -eq 6 ] || fail "$(ls frames | wc -l) frames, not start + 4 + end"

# Staging a picture file: the transition ends on exactly that picture.
"$render" transition --effect 7 --size 642x48 --to wipe.png --out staged.png >/dev/null || fail "staging failed"
cmp -s wipe.png staged.png || fail "the slide staged from a file is not what ends on screen"

# SmearUp's 29,161 copies, each with its pause, streamed into the trace.
"$render" transition --effect 9 --size 16x480 --trace smear.txt >/dev/null || fail "SmearUp did not run"
[ "$(wc -l <smear.txt)" -eq 58323 ] || fail "SmearUp trace has $(wc -l <smear.txt) lines"

[ "$failures" -eq 0 ] || exit 1
echo "all passed"
