#!/usr/bin/env bash
# scripts/install-deps.sh against a stand-in apt: which set it installs,
# that a failed "apt-get update" is tried once more and then passed over,
# and that a failed install names the packages and apt's reason on one line,
# stops with a non-zero status and leaves nothing installed. The stand-ins
# keep a list of "installed" packages in a folder of the test's own.
set -euo pipefail
: "${SOURCE_DIR:?the checkout}"
SCRIPT="$SOURCE_DIR/scripts/install-deps.sh"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/pictavo-install-deps.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
FAILURES=0
expect() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what" >&2; FAILURES=$((FAILURES + 1)); fi
}

mkdir -p "$WORK/bin"
cat >"$WORK/bin/id" <<'FAKE'
#!/bin/sh
echo 0
FAKE
cat >"$WORK/bin/dpkg-query" <<'FAKE'
#!/bin/bash
# dpkg-query -W -f='${Status}\t${Package}\n' NAME...
status=0
for name in "$@"; do
  case "$name" in -*) continue ;; esac
  if grep -qxF "$name" "$FAKE_STATE/installed"; then
    printf 'install ok installed\t%s\n' "${name%%:*}"
  else
    echo "dpkg-query: no packages found matching $name" >&2; status=1
  fi
done
exit $status
FAKE
cat >"$WORK/bin/apt-get" <<'FAKE'
#!/bin/bash
# Answers as apt does on Debian 12 when a mirror is out of step, when a
# package is unknown and when dependencies cannot be met.
echo "$*" >>"$FAKE_STATE/calls"
if [ "$1" = update ]; then
  failures=$(cat "$FAKE_STATE/update-failures" 2>/dev/null || echo 0)
  if [ "$failures" -gt 0 ]; then
    echo $((failures - 1)) >"$FAKE_STATE/update-failures"
    echo "Err:5 http://deb.example/debian-security bookworm-security/main i386 Packages"
    echo "  File has unexpected size (123 != 456). Mirror sync in progress? [IP: 192.0.2.1 80]"
    echo "E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (123 != 456). Mirror sync in progress? [IP: 192.0.2.1 80]" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100
  fi
  echo "Reading package lists..."
  exit 0
fi
download_only=0
names=()
for argument in "${@:2}"; do
  case "$argument" in
    --download-only) download_only=1 ;;
    -*) ;;
    *) names+=("$argument") ;;
  esac
done
echo "Reading package lists..."
for name in "${names[@]}"; do
  if grep -qxF "$name" "$FAKE_STATE/unknown" 2>/dev/null; then
    echo "E: Unable to locate package $name" >&2
    exit 100
  fi
done
for name in "${names[@]}"; do
  if grep -qxF "$name" "$FAKE_STATE/broken" 2>/dev/null; then
    echo "Some packages could not be installed. This may mean that you have"
    echo "The following packages have unmet dependencies:"
    echo " $name : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed"
    echo "E: Unable to correct problems, you have held broken packages." >&2
    exit 100
  fi
done
[ "$download_only" -eq 1 ] || printf '%s\n' "${names[@]}" >>"$FAKE_STATE/installed"
FAKE
chmod +x "$WORK/bin/"*

# A fresh state for one case: which packages are installed already.
state() {
    export FAKE_STATE="$WORK/state$((++CASE))"
    mkdir -p "$FAKE_STATE"
    printf '%s\n' "$@" >"$FAKE_STATE/installed"
    : >"$FAKE_STATE/calls"
}
CASE=0
run() {  # arguments...: status in STATUS, output in $FAKE_STATE/out and err
    STATUS=0
    PATH="$WORK/bin:$PATH" PICTAVO_APT_RETRY_SECONDS=0 bash "$SCRIPT" "$@" \
        >"$FAKE_STATE/out" 2>"$FAKE_STATE/err" || STATUS=$?
}
lines() { grep -c . "$1" || true; }
installs() {  # the packages the last apt-get install was asked for, one a line
    grep '^install' "$FAKE_STATE/calls" | tail -n 1 | tr ' ' '\n' | grep -v '^-' | grep -vx install || true
}

# The two sets: --run names what building and running needs, the default
# adds the test tools.
state
run --run
expect "the run set is installed whole" test "$STATUS" -eq 0
installs | sort >"$WORK/run-set"
cp "$FAKE_STATE/installed" "$WORK/run-installed"
expect "it holds the compiler, FLTK and Ghostscript" \
    bash -c 'grep -qx build-essential "$1" && grep -qx libfltk1.3-dev "$1" && grep -qx ghostscript "$1"' _ "$WORK/run-set"
expect "and no test tool" bash -c '! grep -qE "^(wine|wine64|xvfb|lintian|libgtest-dev|g\+\+-mingw)" "$1"' _ "$WORK/run-set"
expect "nor 32-bit Wine" bash -c '! grep -q "wine32\|:i386" "$1"' _ "$WORK/run-set"
expect "everything is downloaded before anything is installed" \
    bash -c 'grep "^install" "$1" | head -n 1 | grep -q -- "--download-only"' _ "$FAKE_STATE/calls"

mapfile -t run_installed <"$WORK/run-installed"
state "${run_installed[@]}"
run --run
expect "with the run set present, --run is content" test "$STATUS" -eq 0
expect "says so in one line" test "$(lines "$FAKE_STATE/out")" -eq 1
expect "and asks apt nothing" test ! -s "$FAKE_STATE/calls"

run
expect "the test set installs on top of the run set" test "$STATUS" -eq 0
installs | sort >"$WORK/test-added"
expect "only the test tools" bash -c '! comm -12 "$1" "$2" | grep -q .' _ "$WORK/run-set" "$WORK/test-added"
expect "among them 64-bit Wine, Xvfb, lintian and GoogleTest" \
    bash -c 'for p in wine64 xvfb lintian libgtest-dev; do grep -qx "$p" "$1" || exit 1; done' _ "$WORK/test-added"
expect "but not 32-bit Wine" bash -c '! grep -q "wine32\|:i386" "$1"' _ "$WORK/test-added"
run --test
expect "run again, it is content and quiet" \
    bash -c '[ "$1" -eq 0 ] && [ "$(grep -c . "$2")" -eq 1 ] && [ ! -s "$3" ]' _ "$STATUS" "$FAKE_STATE/out" "$FAKE_STATE/err"

run --everything
expect "an unknown set is refused" test "$STATUS" -eq 2

# A mirror out of step: one failed update is tried again.
state
echo 1 >"$FAKE_STATE/update-failures"
run --run
expect "a failed update is tried again and the install goes on" test "$STATUS" -eq 0
expect "twice in all" test "$(grep -c '^update' "$FAKE_STATE/calls")" -eq 2
expect "without a word about it" bash -c '! grep -q "update failed" "$1"' _ "$FAKE_STATE/out"

state
echo 5 >"$FAKE_STATE/update-failures"
run --run
expect "two failed updates do not stop the install" test "$STATUS" -eq 0
expect "update is not tried a third time" test "$(grep -c '^update' "$FAKE_STATE/calls")" -eq 2
expect "the failure is told, with apt's reason" grep -q 'update failed twice.*Mirror sync in progress' "$FAKE_STATE/out"
expect "the packages are installed" grep -qx ghostscript "$FAKE_STATE/installed"

# A package apt cannot install: one line, a non-zero status, nothing installed.
state
echo pictavo-no-such-package >"$FAKE_STATE/unknown"
PICTAVO_DEPS_EXTRA=pictavo-no-such-package run --run
expect "an install that fails stops with a non-zero status" test "$STATUS" -ne 0
expect "saying so in one line" test "$(lines "$FAKE_STATE/err")" -eq 1
expect "that names the package and apt's reason" \
    grep -q 'could not install .*pictavo-no-such-package.*: Unable to locate package pictavo-no-such-package$' "$FAKE_STATE/err"
expect "and nothing was installed" test "$(lines "$FAKE_STATE/installed")" -eq 0

state
echo wine32:i386 >"$FAKE_STATE/broken"
PICTAVO_DEPS_EXTRA=wine32:i386 run --run
expect "dependencies apt cannot meet stop the install" test "$STATUS" -ne 0
expect "on one line naming them" \
    grep -q 'could not install .*wine32:i386.*: wine32:i386 : Depends: libwine:i386 .*; Unable to correct problems, you have held broken packages\.$' "$FAKE_STATE/err"
expect "with nothing installed" test "$(lines "$FAKE_STATE/installed")" -eq 0

[ "$FAILURES" -eq 0 ] && echo "all checks passed"
exit "$FAILURES"
