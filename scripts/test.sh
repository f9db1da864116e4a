#!/usr/bin/env bash
# Builds every preset and runs every test: the unit and end-to-end tests on
# Linux, the same under AddressSanitizer and UndefinedBehaviorSanitizer, the
# Windows screen saver's tests under Wine, and a short run of each fuzzer.
# Usage: scripts/test.sh            everything
#        scripts/test.sh linux      one preset (linux, asan, windows, fuzz)
set -uo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -eq 0 ] || command -v sudo >/dev/null; then
  bash scripts/install-deps.sh >/tmp/pictavo-install.log 2>&1 || {
    cat /tmp/pictavo-install.log; echo "installing the dependencies failed"; exit 1; }
fi

presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(linux asan windows fuzz)
passed=0
failed=0
status=0

run_ctest() {  # preset, extra ctest arguments...
  local preset=$1; shift
  local log
  log=$(mktemp)
  ctest --preset "$preset" "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local summary
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$summary" ]; then
    local total failures
    failures=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$summary")
    total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$summary")
    passed=$((passed + total - failures))
    failed=$((failed + failures))
  fi
  rm -f "$log"
  [ "$rc" -eq 0 ] || status=1
}

build() {  # preset
  echo "== building $1"
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" || { echo "build of $1 failed"; status=1; return 1; }
}

for preset in "${presets[@]}"; do
  case "$preset" in
    linux)
      build linux && run_ctest linux ;;
    asan)
      # Leaks are errors too; the soak test runs here to show memory stays flat.
      build asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        run_ctest asan -LE 'xvfb|wine|bench' ;;
    windows)
      build windows && run_ctest windows ;;
    fuzz)
      if build fuzz; then
        for fuzzer in build/fuzz/bin/*_fuzzer; do
          [ -x "$fuzzer" ] || continue
          echo "== fuzzing $(basename "$fuzzer") for ${PICTAVO_FUZZ_SECONDS:-20} s"
          corpus=$(mktemp -d)
          if "$fuzzer" -max_total_time="${PICTAVO_FUZZ_SECONDS:-20}" -rss_limit_mb=2048 -timeout=10 \
              "$corpus" >"$corpus.log" 2>&1; then
            passed=$((passed + 1))
          else
            tail -n 40 "$corpus.log"; failed=$((failed + 1)); status=1
          fi
          rm -rf "$corpus" "$corpus.log"
        done
      fi ;;
    *) echo "unknown preset $preset"; exit 2 ;;
  esac
done

echo "total: $passed passed, $failed failed"
exit $status
