# Shared by the end-to-end cases of pictavo.scr under Wine (source it after
# setting scr, probe and here): a private X display and Wine prefix, the
# saver's processes, waits, reports, screenshots and the registry.

source "$here/../../../scripts/wine-common.sh"

readonly kOpenTimeout=60  # seconds for a window to appear (Wine's first start is slow on a busy machine)
readonly kExitTimeout=15  # seconds for the program to end after its window closed
readonly kTwipsPerPixel=15  # Wine reports 96 dots per inch

work=$(mktemp -d "${TMPDIR:-/tmp}/pictavo-e2e.XXXXXX")
# Wine keeps its server's socket folder under TMPDIR: inside the work folder
# it goes when the run does.
mkdir -p "$work/tmp"
export TMPDIR=$work/tmp
xvfb_pid=""
saver_pids=()
passed=0
failed=0

cleanup() {
  for pid in "${saver_pids[@]}"; do kill "$pid" 2>/dev/null; done
  [ -d "$work/prefix" ] && WINEPREFIX=$work/prefix wineserver -k 2>/dev/null &&
    WINEPREFIX=$work/prefix wineserver -w 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
seconds_since() { echo "$(( $(now_ms) - $1 ))" | awk '{printf "%.1f", $1 / 1000}'; }

# Starts Xvfb on a display of its own (it picks a free number and tells it on
# fd 3) with the given screen options, e.g. "-screen 0 1024x768x24".
start_display() {
  Xvfb -displayfd 3 "$@" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
  export DISPLAY=":$(head -n1 "$work/display")"
}

# Makes the prefix. There is no window manager on the test display: every
# window is left unmanaged, as Wine would otherwise wait for a manager to
# take each closed window away.
start_wine() {
  loader=$(wine_loader_for "$scr")
  export WINEPREFIX=$work/prefix WINEDEBUG=-all
  [ "$loader" = wine ] || export WINELOADER=$loader
  local started
  started=$(now_ms)
  wine_prepare_prefix "$WINEPREFIX" "$loader" || { echo "cannot make a Wine prefix"; exit 1; }
  reg_set 'HKCU\Software\Wine\X11 Driver' Managed REG_SZ N
  # One server for the whole run, so each start need not boot Wine again.
  wineserver -p
  echo "prefix ready in $(seconds_since "$started") s on display $DISPLAY"
}

# ---- the registry ----

reg_set() {  # key value type data
  "$loader" reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1
}
reg_delete_key() {
  "$loader" reg delete "$1" /f >/dev/null 2>&1
  return 0
}
# "name<TAB>type<TAB>data" per value of key; nothing when the key is absent.
reg_values() {
  "$loader" reg query "$1" 2>/dev/null | tr -d '\r' |
    awk -F '    ' 'NF >= 3 && $1 == "" && $3 ~ /^REG_/ { print $2 "\t" $3 "\t" $4 }'
}
reg_value() {  # key name: the data
  reg_values "$1" | awk -F '\t' -v name="$2" '$1 == name { print $3 }'
}

readonly kSettingsKey='HKCU\Software\Brackenfeld Applications'
readonly kPictureKey='HKCU\Software\Brackenfeld Applications\Pictavo'
readonly kPasswordKey='HKCU\Software\Brackenfeld Applications\ScreenSaver'

# ---- the saver and its windows ----

# The Windows form of a path on the Linux side (Wine's Z: drive).
windows_path() { echo "Z:$1" | tr / '\\'; }

start_saver() {  # args...: starts pictavo.scr in the current directory
  "$loader" "$scr" "$@" >>"$work/saver.log" 2>&1 &
  saver_pid=$!
  saver_pids+=("$saver_pid")
}

probe() { "$loader" "$probe" "$@" 2>/dev/null | tr -d '\r'; }
forms() { probe list; }
form_count() { forms | grep -c .; }
on_x_display() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
x_window_count() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -c .; }

# Waits until a visible window with that caption is on the X display.
wait_for_window() {
  local caption=$1 limit=${2:-$kOpenTimeout} deadline
  deadline=$(( $(now_ms) + limit * 1000 ))
  while [ "$(now_ms)" -lt "$deadline" ]; do
    on_x_display "$caption" && return 0
    sleep 0.1
  done
  return 1
}

wait_for_no_window() {
  local caption=$1 limit=${2:-$kExitTimeout} deadline
  deadline=$(( $(now_ms) + limit * 1000 ))
  while [ "$(now_ms)" -lt "$deadline" ]; do
    on_x_display "$caption" || return 0
    sleep 0.1
  done
  return 1
}

# Waits until the window captioned $1 is in front with one of its controls
# holding the focus (as Wine sees it; Wine gives each key to that control,
# whichever of its X windows the X server hands the key to), then until the
# X server's focus is on one of Wine's windows, so keys reach Wine at all.
wait_for_focus() {
  local caption=$1 limit=${2:-$kOpenTimeout} deadline
  probe focus "$caption" $((limit * 1000)) >/dev/null || return 1
  deadline=$(( $(now_ms) + limit * 1000 ))
  while [ "$(now_ms)" -lt "$deadline" ]; do
    [ -n "$(xdotool getwindowfocus getwindowname 2>/dev/null)" ] && return 0
    sleep 0.05
  done
  return 1
}

# Waits for pid to end within limit_ms; its exit code lands in exit_code.
wait_for_exit() {
  local pid=$1 limit_ms=$2 deadline
  deadline=$(( $(now_ms) + limit_ms ))
  while kill -0 "$pid" 2>/dev/null; do
    [ "$(now_ms)" -ge "$deadline" ] && return 1
    sleep 0.05
  done
  wait "$pid"
  exit_code=$?
  return 0
}

# Ends a saver that failed its case, so the next case starts from a clean desktop.
abandon() {
  kill "$1" 2>/dev/null
  wait_for_exit "$1" $((kExitTimeout * 1000))
}

report() {  # name, outcome (0 = ok), start time, detail
  if [ "$2" -eq 0 ]; then
    passed=$((passed + 1)); echo "ok    $1 ($(seconds_since "$3") s)"
  else
    failed=$((failed + 1)); echo "FAIL  $1: $4"
  fi
}

# ---- pointing at controls ----

# Reads the client area of the window captioned $1 into client_x, client_y.
locate_client() {
  local area
  area=$(probe client "$1") || return 1
  read -r client_x client_y client_w client_h <<<"$area"
  [ -n "$client_y" ]
}

# Clicks at a point given in twips from the client area's top-left corner.
click_twips() {  # x y [button]
  xdotool mousemove $((client_x + $1 / kTwipsPerPixel)) $((client_y + $2 / kTwipsPerPixel)) \
    click "${3:-1}"
  sleep 0.3
}

# Double-clicks there.
double_click_twips() {  # x y
  xdotool mousemove $((client_x + $1 / kTwipsPerPixel)) $((client_y + $2 / kTwipsPerPixel)) \
    click --repeat 2 --delay 100 1
  sleep 0.3
}

# ---- screenshots ----

screenshot() { import -window root "$1" 2>/dev/null; }

# Pixels of $1 that differ from $2 by more than a few per cent.
differing_pixels() {
  compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1 | awk '{print int($1)}'
}

# The number of distinct colours of a picture.
colour_count() { convert "$1" -format %k info:; }
# The largest channel value anywhere in a picture: 0 for a black screen.
brightest() { convert "$1" -format '%[max]' info:; }
