#!/usr/bin/env bash
# "pictavo --help" and "pictavo --version" answer on standard output and
# exit 0 with no display at all; a switch the saver does not know still
# goes to the saver, which needs one and says which it could not open.
set -euo pipefail
: "${PICTAVO:?the pictavo program}" "${VERSION:?the project version}"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/pictavo-information.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
FAILURES=0
expect() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what" >&2; FAILURES=$((FAILURES + 1)); fi
}
run() {  # arguments...: status in STATUS, output in $WORK/out and $WORK/err
    STATUS=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u XSCREENSAVER_WINDOW timeout 10 "$PICTAVO" "$@" \
        >"$WORK/out" 2>"$WORK/err" </dev/null || STATUS=$?
}

for help in --help -help -h; do
    run "$help"
    expect "$help exits 0 without a display" test "$STATUS" -eq 0
    expect "$help prints the usage" grep -q '^Usage: pictavo' "$WORK/out"
    expect "$help names the host's switches" grep -q -- '-window-id ID, --window-id ID' "$WORK/out"
    expect "$help writes nothing to standard error" test ! -s "$WORK/err"
done

run --version
expect "--version exits 0 without a display" test "$STATUS" -eq 0
expect "--version prints the version" test "$(cat "$WORK/out")" = "pictavo $VERSION"

run -root --version
expect "--version comes before the host's switches" test "$STATUS" -eq 0

STATUS=0
env -u DISPLAY "$PICTAVO" --help >/dev/full 2>/dev/null || STATUS=$?
expect "a usage that cannot be written is a failure" test "$STATUS" -ne 0

run /s
expect "the show still needs a display (status $STATUS)" test "$STATUS" -eq 1
expect "and says why" grep -qx 'pictavo: cannot open display: DISPLAY is not set' "$WORK/err"
STATUS=0
env DISPLAY=:4999 timeout 10 "$PICTAVO" /c >"$WORK/out" 2>"$WORK/err" </dev/null || STATUS=$?
expect "a display that is not there fails the same way (status $STATUS)" test "$STATUS" -eq 1
expect "and is named" grep -qx 'pictavo: cannot open display ":4999" named by DISPLAY' "$WORK/err"

[ "$FAILURES" -eq 0 ] && echo "all checks passed"
exit "$FAILURES"
