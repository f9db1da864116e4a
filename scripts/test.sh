#!/usr/bin/env bash
# Builds every preset and runs every test: the unit and end-to-end tests on
# Linux, the same under AddressSanitizer and UndefinedBehaviorSanitizer, the
# Windows screen saver's tests under Wine, the core's tests as 32-bit x86
# code, and a short run of each fuzzer.
# Usage: scripts/test.sh            everything
#        scripts/test.sh linux      one preset (linux, asan, linux32, windows, windows64, fuzz)
set -uo pipefail
cd "$(dirname "$0")/.."

# The build tools and everything the tests add; one line says what was
# installed, or which packages could not be and why.
bash scripts/install-deps.sh --test || { echo "installing the dependencies failed"; exit 1; }

presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(linux asan linux32 windows windows64 fuzz)
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

check_format() {  # every C++ file of src/ and tests/ as .clang-format lays it out
  local report
  report=$(mktemp)
  if git ls-files 'src/*.h' 'src/*.cpp' 'tests/*.h' 'tests/*.cpp' |
      xargs clang-format --dry-run -Werror >"$report" 2>&1; then
    echo "every source file follows .clang-format"; passed=$((passed + 1))
  else
    grep -E 'error:' "$report" | cut -d: -f1 | sort -u | sed 's/^/not formatted: /'
    echo "run clang-format -i on the files above"; failed=$((failed + 1)); status=1
  fi
  rm -f "$report"
}

check_pe32() {  # file
  if objdump -f "$1" 2>/dev/null | grep -q 'file format pei-i386'; then
    echo "$1 is a 32-bit Windows program"; passed=$((passed + 1))
  else
    echo "$1 is missing or not a 32-bit Windows program"; failed=$((failed + 1)); status=1
  fi
}

# check "what is checked" command...: one check of a package in the tally.
check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"; passed=$((passed + 1))
  else
    echo "FAIL: $what"; failed=$((failed + 1)); status=1
  fi
}

project_version() {  # build folder
  sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt"
}

# Makes a build folder's package with cpack from what its build already
# made; prints the package's path.
make_package() {  # build folder, package file name
  rm -f "$1/packages/$2"
  if (cd "$1" && cpack) >"$1/packages.log" 2>&1 && [ -f "$1/packages/$2" ]; then
    echo "$1/packages/$2"
  else
    cat "$1/packages.log" >&2
    return 1
  fi
}

has_line() {  # file, line: the file holds that exact line
  grep -qxF -- "$2" "$1"
}

# The Debian package of the linux build: its files, its relations, lintian's
# verdict, and its pictavo-render run from the unpacked package.
check_deb() {
  echo "== packaging the linux build"
  local name deb work
  name="pictavo_$(project_version build/linux)_amd64.deb"
  deb=$(make_package build/linux "$name") || { check "cpack makes $name" false; return; }
  check "cpack makes $name" test -f "$deb"
  work=$(mktemp -d)
  dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
  local file
  for file in /usr/bin/pictavo /usr/bin/pictavo-render /usr/share/xscreensaver/config/pictavo.xml \
      /usr/share/applications/screensavers/pictavo.desktop /usr/share/man/man1/pictavo.1.gz \
      /usr/share/doc/pictavo/copyright /usr/share/applications/pictavo-settings.desktop \
      /usr/share/icons/hicolor/48x48/apps/pictavo.png /usr/share/icons/hicolor/scalable/apps/pictavo.svg; do
    check "the package holds $file" has_line "$work/files" "$file"
  done
  dpkg-deb -f "$deb" Depends | sed 's/, /\n/g' | sed 's/ (.*//' >"$work/depends"
  local library
  for library in libc6 libfltk1.3 libjpeg62-turbo libpng16-16 libtiff6 libx11-6; do
    check "it depends on $library" has_line "$work/depends" "$library"
  done
  check "it recommends Ghostscript" test "$(dpkg-deb -f "$deb" Recommends)" = ghostscript
  # Its warnings and notes are printed for a reader; only errors fail.
  check "lintian finds no errors in it" lintian --fail-on error --tag-display-limit 0 "$deb"
  dpkg -x "$deb" "$work/root"
  check "its settings entry is a valid desktop entry" \
    desktop-file-validate "$work/root/usr/share/applications/pictavo-settings.desktop"
  check "its pictavo-render decodes a picture" \
    "$work/root/usr/bin/pictavo-render" decode samples/star-night.bmp --out "$work/star-night.png"
  check "into a PNG file" cmp -s -n 8 <(printf '\211PNG\r\n\032\n') "$work/star-night.png"
  check "its pictavo tells its version without a display" \
    bash -c 'env -u DISPLAY "$1" --version | grep -qx "pictavo $2"' _ "$work/root/usr/bin/pictavo" \
    "$(project_version build/linux)"
  rm -rf "$work"
}

# The zip of the windows build: its files, and a 32-bit pictavo.scr in it.
check_zip() {
  echo "== packaging the windows build"
  local name zip work
  name="pictavo-$(project_version build/windows)-win32.zip"
  zip=$(make_package build/windows "$name") || { check "cpack makes $name" false; return; }
  check "cpack makes $name" test -f "$zip"
  work=$(mktemp -d)
  unzip -Z1 "$zip" >"$work/files"
  unzip -l "$zip"
  local file
  for file in pictavo.scr INSTALL.txt COPYRIGHT.txt; do
    check "the zip holds $file" has_line "$work/files" "$file"
  done
  unzip -q "$zip" pictavo.scr -d "$work"
  check_pe32 "$work/pictavo.scr"
  rm -rf "$work"
}

# One fuzzer's short run on the seeds of its formats; its last line says
# "passed", "failed" (a fault of ours) or "finding" (worth a look).
fuzz_one() {  # fuzzer, seeds folder, seed extensions
  local fuzzer=$1 seeds=$2 extensions=$3 corpus dict extension
  echo "== fuzzing $(basename "$fuzzer") for ${PICTAVO_FUZZ_SECONDS:-20} s"
  corpus=$(mktemp -d)
  for extension in $extensions; do
    cp "$seeds"/*."$extension" "$corpus"/ 2>/dev/null || true
  done
  # The inputs it once broke on, so each run starts from them too.
  cp fuzz/regressions/"$(basename "$fuzzer" _fuzzer)"/* "$corpus"/ 2>/dev/null || true
  # A dictionary of the format's words, where there is one (fuzz/dxf.dict).
  dict=fuzz/$(basename "$fuzzer" _fuzzer).dict
  local dictionary=()
  [ -f "$dict" ] && dictionary=(-dict="$dict")
  # What a run finds is written beside its corpus, never into the checkout.
  if "$fuzzer" -max_total_time="${PICTAVO_FUZZ_SECONDS:-20}" -rss_limit_mb=2048 -timeout=10 \
      "${dictionary[@]}" -artifact_prefix="$corpus/" "$corpus" >"$corpus.log" 2>&1; then
    echo passed
  elif grep -qE 'ERROR: (AddressSanitizer|UndefinedBehaviorSanitizer|LeakSanitizer)|runtime error:|deadly signal' "$corpus.log"; then
    # Memory errors and undefined behaviour are faults of ours: the run fails.
    tail -n 40 "$corpus.log"; echo failed
  else
    # A slow input or a large allocation on a loaded machine is worth a
    # look but says little on its own; it is printed and kept out of the tally.
    tail -n 40 "$corpus.log"; echo finding
  fi
  rm -rf "$corpus" "$corpus.log"
}

build() {  # preset
  echo "== building $1"
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" || { echo "build of $1 failed"; status=1; return 1; }
}

for preset in "${presets[@]}"; do
  case "$preset" in
    linux)
      check_format
      build linux && run_ctest linux && check_deb ;;
    asan)
      # Leaks are errors too; the soak test runs here to show memory stays flat.
      build asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        run_ctest asan -LE 'xvfb|wine|bench' ;;
    linux32)
      # The core's arithmetic as the shipped 32-bit pictavo.scr does it
      # (32-bit sizes, SSE2 doubles); qemu-i386 runs it where the kernel cannot.
      # The set-up scripts' tests (label scripts) run in the linux preset only.
      build linux32 && run_ctest linux32 ;;
    windows)
      # The shipped 32-bit pictavo.scr. This machine kind cannot execute
      # 32-bit x86 code, so its Wine tests run on the windows64 build of the
      # same sources; here the build itself must succeed.
      build windows && check_pe32 build/windows/bin/pictavo.scr && check_zip ;;
    windows64)
      build windows64 && run_ctest windows64 ;;
    fuzz)
      if build fuzz; then
        # Seeds: the beginnings of the hostile tests' files, by format.
        seeds=$(mktemp -d)
        build/fuzz/bin/make_hostile_files "$seeds" --seeds 65536 >/dev/null || echo "no seeds"
        declare -A seeded=([bmp]="bmp" [dcx]="dcx" [dxf]="dxf" [eps]="eps" [gem_img]="img"
          [pcx]="pcx" [photo_cd]="pcd" [system_decoders]="jpg png tif" [tga]="tga" [utah_rle]="rle"
          [wmf]="wmf" [wpg]="wpg")
        # Two at a time, one a core: each still gets its full time.
        verdicts=$(mktemp -d)
        running=0
        for fuzzer in build/fuzz/bin/*_fuzzer; do
          [ -x "$fuzzer" ] || continue
          fuzz_one "$fuzzer" "$seeds" "${seeded[$(basename "$fuzzer" _fuzzer)]:-}" \
            >"$verdicts/$(basename "$fuzzer")" 2>&1 &
          running=$((running + 1))
          [ $((running % 2)) -eq 0 ] && wait
        done
        wait
        for verdict in "$verdicts"/*; do
          [ -f "$verdict" ] || continue
          sed '$d' "$verdict"
          case $(tail -n 1 "$verdict") in
            passed) passed=$((passed + 1)) ;;
            finding) findings=$((findings + 1)) ;;
            *) failed=$((failed + 1)); status=1 ;;
          esac
        done
        rm -rf "$verdicts"
        rm -rf "$seeds"
      fi ;;
    *) echo "unknown preset $preset"; exit 2 ;;
  esac
done

[ "$findings" -eq 0 ] || echo "fuzzers that reported a slow or large input in their short run: $findings (see above)"
echo "total: $passed passed, $failed failed"
exit $status
