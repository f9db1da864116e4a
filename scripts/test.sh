#!/usr/bin/env bash
# Builds every preset and runs every test: the unit and end-to-end tests on
# Linux, the same under AddressSanitizer and UndefinedBehaviorSanitizer, the
# Windows screen saver's tests under Wine, and a short run of each fuzzer.
# Usage: scripts/test.sh            everything
#        scripts/test.sh linux      one preset (linux, asan, windows, windows64, fuzz)
set -uo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -eq 0 ] || command -v sudo >/dev/null; then
  install_log=$(mktemp)
  bash scripts/install-deps.sh >"$install_log" 2>&1 || {
    cat "$install_log"; rm -f "$install_log"; echo "installing the dependencies failed"; exit 1; }
  rm -f "$install_log"
fi

presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(linux asan windows windows64 fuzz)
passed=0
failed=0
findings=0
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

check_pe32() {  # file
  if objdump -f "$1" 2>/dev/null | grep -q 'file format pei-i386'; then
    echo "$1 is a 32-bit Windows program"; passed=$((passed + 1))
  else
    echo "$1 is missing or not a 32-bit Windows program"; failed=$((failed + 1)); status=1
  fi
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
      # The shipped 32-bit pictavo.scr. This machine kind cannot execute
      # 32-bit x86 code, so its Wine tests run on the windows64 build of the
      # same sources; here the build itself must succeed.
      build windows && check_pe32 build/windows/bin/pictavo.scr ;;
    windows64)
      build windows64 && run_ctest windows64 ;;
    fuzz)
      if build fuzz; then
        for fuzzer in build/fuzz/bin/*_fuzzer; do
          [ -x "$fuzzer" ] || continue
          echo "== fuzzing $(basename "$fuzzer") for ${PICTAVO_FUZZ_SECONDS:-20} s"
          corpus=$(mktemp -d)
          # A dictionary of the format's words, where there is one (fuzz/dxf.dict).
          dict=fuzz/$(basename "$fuzzer" _fuzzer).dict
          dictionary=()
          [ -f "$dict" ] && dictionary=(-dict="$dict")
          # What a run finds is written beside its corpus, never into the checkout.
          if "$fuzzer" -max_total_time="${PICTAVO_FUZZ_SECONDS:-20}" -rss_limit_mb=2048 -timeout=10 \
              "${dictionary[@]}" -artifact_prefix="$corpus/" "$corpus" >"$corpus.log" 2>&1; then
            passed=$((passed + 1))
          elif grep -qE 'ERROR: (AddressSanitizer|UndefinedBehaviorSanitizer|LeakSanitizer)|runtime error:|deadly signal' "$corpus.log"; then
            # Memory errors and undefined behaviour are faults of ours: the run fails.
            tail -n 40 "$corpus.log"; failed=$((failed + 1)); status=1
          else
            # A slow input or a large allocation on a loaded machine is worth a
            # look but says little on its own; it is printed and kept out of the tally.
            tail -n 40 "$corpus.log"; findings=$((findings + 1))
          fi
          rm -rf "$corpus" "$corpus.log"
        done
      fi ;;
    *) echo "unknown preset $preset"; exit 2 ;;
  esac
done

[ "$findings" -eq 0 ] || echo "fuzzers that reported a slow or large input in their short run: $findings (see above)"
echo "total: $passed passed, $failed failed"
exit $status
