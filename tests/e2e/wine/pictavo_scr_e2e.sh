#!/usr/bin/env bash
# End to end: pictavo.scr under Wine on a private X display, started with
# each screen-saver switch. Checks which window opens (by caption, on the
# Windows side and on the X display), that it closes and the program then
# ends, and that a second "/s" while a show runs ends at once.
#
# Usage: pictavo_scr_e2e.sh PICTAVO_SCR WINDOW_PROBE_EXE
# Exits 77 (skipped) when this machine cannot run the program's Wine.
set -uo pipefail

scr=$1
probe=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../../scripts/wine-common.sh"

readonly kSlide="Screen Saver Main Form"
readonly kConfigure="Configure Pictavo"
readonly kPassword="Change Password"
readonly kOpenTimeout=60       # seconds for a window to appear (Wine's first start is slow on a busy machine)
readonly kExitTimeout=15       # seconds for the program to end after its window closed
readonly kSecondShowLimit=3    # seconds a refused second show may take beyond Wine's own start

loader=$(wine_loader_for "$scr")
if ! wine_loader_works "$loader"; then
  echo "SKIPPED: $(pe_machine "$scr") Windows programs cannot run here ('$loader' does not start)"
  exit 77
fi
for tool in Xvfb xdotool flock; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool (scripts/install-deps.sh installs it)"; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/pictavo-e2e.XXXXXX")
xvfb_pid=""
saver_pids=()
cleanup() {
  for pid in "${saver_pids[@]}"; do kill "$pid" 2>/dev/null; done
  [ -d "$work/prefix" ] && WINEPREFIX=$work/prefix wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

seconds_since() { echo "$(( $(date +%s%N) / 1000000 - $1 ))" | awk '{printf "%.1f", $1 / 1000}'; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# A display of our own: Xvfb picks a free number and tells it on fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

export WINEPREFIX=$work/prefix WINEDEBUG=-all
[ "$loader" = wine ] || export WINELOADER=$loader
started=$(now_ms)
wine_prepare_prefix "$WINEPREFIX" "$loader" || { echo "cannot make a Wine prefix"; exit 1; }
# One server for the whole run, so each start need not boot Wine again.
wineserver -p
echo "prefix ready in $(seconds_since "$started") s on display $DISPLAY"

forms() { "$loader" "$probe" list 2>/dev/null | tr -d '\r'; }
form_count() { forms | grep -c . ; }
on_x_display() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# Waits until the saver's only form is the one expected: visible with that
# caption (also on the X display), or hidden and untitled when caption is "".
wait_for_form() {
  local caption=$1 deadline=$(( $(now_ms) + kOpenTimeout * 1000 )) listed=""
  while [ "$(now_ms)" -lt "$deadline" ]; do
    # The X display is cheap to ask; each look from the Windows side starts Wine.
    if [ -n "$caption" ] && ! on_x_display "$caption"; then sleep 0.2; continue; fi
    listed=$(forms)
    if [ -z "$caption" ]; then
      [ "$listed" = $'0\t' ] && return 0
    elif [ "$listed" = $'1\t'"$caption" ]; then
      return 0
    fi
    sleep 0.3
  done
  echo "    forms seen: $(echo "$listed" | tr '\t\n' ':;')"
  return 1
}

# Waits for pid to end; its exit code lands in exit_code.
wait_for_exit() {
  local pid=$1 limit_ms=$2 deadline
  deadline=$(( $(now_ms) + limit_ms ))
  while kill -0 "$pid" 2>/dev/null; do
    [ "$(now_ms)" -ge "$deadline" ] && return 1
    sleep 0.1
  done
  wait "$pid"
  exit_code=$?
  return 0
}

start_saver() {
  "$loader" "$scr" "$@" >>"$work/saver.log" 2>&1 &
  saver_pid=$!
  saver_pids+=("$saver_pid")
}

passed=0
failed=0
report() {  # name, outcome (0 = ok), start time, detail
  if [ "$2" -eq 0 ]; then
    passed=$((passed + 1)); echo "ok    $1 ($(seconds_since "$3") s)"
  else
    failed=$((failed + 1)); echo "FAIL  $1: $4"
  fi
}

# Ends a saver that failed its case, so the next case starts from a clean desktop.
abandon() {
  kill "$1" 2>/dev/null
  wait_for_exit "$1" $((kExitTimeout * 1000))
}

# Starts the saver with args, expects the window captioned caption, closes it
# and expects the program to end by itself.
check_mode() {
  local name=$1 caption=$2 t0
  shift 2
  t0=$(now_ms)
  start_saver "$@"
  if ! wait_for_form "$caption"; then
    report "$name" 1 "$t0" "no window captioned \"$caption\" within $kOpenTimeout s"; abandon "$saver_pid"; return
  fi
  if ! "$loader" "$probe" close "$caption" >/dev/null 2>&1; then
    report "$name" 1 "$t0" "could not ask \"$caption\" to close"; abandon "$saver_pid"; return
  fi
  if ! wait_for_exit "$saver_pid" $((kExitTimeout * 1000)); then
    report "$name" 1 "$t0" "still running $kExitTimeout s after its window was closed"; abandon "$saver_pid"; return
  fi
  if [ "$exit_code" -ne 0 ] || [ "$(form_count)" -ne 0 ]; then
    report "$name" 1 "$t0" "ended with code $exit_code, forms left: $(form_count)"; return
  fi
  report "$name" 0 "$t0"
}

check_mode '"/s" opens the slide window' "$kSlide" /s
check_mode '"/S" opens the slide window' "$kSlide" /S
check_mode '"/c" opens the configuration dialog' "$kConfigure" /c
check_mode '"/c:1234" opens the configuration dialog' "$kConfigure" /c:1234
check_mode 'no switch opens the configuration dialog' "$kConfigure"
check_mode '"-s" opens the configuration dialog' "$kConfigure" -s
check_mode '"s" opens the configuration dialog' "$kConfigure" s
check_mode '"/a 5678" opens the password dialog' "$kPassword" /a 5678

# The preview loads a hidden, untitled form and keeps running.
t0=$(now_ms)
start_saver /p 1234
if ! wait_for_form ""; then
  report '"/p 1234" loads the hidden preview form' 1 "$t0" "no hidden form within $kOpenTimeout s"
elif xdotool search --onlyvisible --name "$kSlide|$kConfigure|$kPassword" >/dev/null 2>&1; then
  report '"/p 1234" loads the hidden preview form' 1 "$t0" "a visible window opened"
elif ! kill -0 "$saver_pid" 2>/dev/null; then
  report '"/p 1234" loads the hidden preview form' 1 "$t0" "the program ended"
else
  report '"/p 1234" loads the hidden preview form' 0 "$t0"
fi
kill "$saver_pid" 2>/dev/null
wait_for_exit "$saver_pid" $((kExitTimeout * 1000))

# A second show while one runs ends at once and opens nothing.
t0=$(now_ms)
start_saver /s
first_pid=$saver_pid
if ! wait_for_form "$kSlide"; then
  report 'a second "/s" ends at once' 1 "$t0" "the first show did not open"
else
  # "At once" is measured against what starting any program under Wine costs
  # here: the probe's own start.
  t1=$(now_ms)
  forms >/dev/null
  wine_start_ms=$(( $(now_ms) - t1 ))
  limit_ms=$(( wine_start_ms + kSecondShowLimit * 1000 ))
  t1=$(now_ms)
  start_saver /s
  if ! wait_for_exit "$saver_pid" "$limit_ms"; then
    report 'a second "/s" ends at once' 1 "$t0" "still running after $limit_ms ms"
  elif [ "$exit_code" -ne 0 ] || [ "$(form_count)" -ne 1 ] ||
    [ "$(xdotool search --onlyvisible --name "^$kSlide\$" | grep -c .)" -ne 1 ]; then
    report 'a second "/s" ends at once' 1 "$t0" "code $exit_code, forms: $(forms | tr '\t\n' ':;')"
  else
    echo "      (the second show ended after $(seconds_since "$t1") s; a Wine start takes $wine_start_ms ms here)"
    report 'a second "/s" ends at once' 0 "$t0"
  fi
  "$loader" "$probe" close "$kSlide" >/dev/null 2>&1
  wait_for_exit "$first_pid" $((kExitTimeout * 1000)) ||
    report 'the first show ends when closed' 1 "$t0" "still running"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
