#!/usr/bin/env bash
# End to end: pictavo.scr under Wine on a private X display, used the way
# Windows and a user use it. Input comes from xdotool; what happened is read
# from screenshots, the registry and the file system, and from the window
# probe (a small program of ours that looks at windows from inside Wine).
#
# Usage: pictavo_scr_e2e.sh PICTAVO_SCR WINDOW_PROBE_EXE [PICTAVO_RENDER]
#   PICTAVO_RENDER: the Linux build's pictavo-render, which draws the slide
#   the screenshot is compared with; without it ImageMagick places the
#   picture the same way (centred, which needs no rounding for the picture
#   used). PICTAVO_E2E_CASES may name the cases to run (default: all).
# Exits 77 (skipped) when this machine cannot run the program's Wine.
set -uo pipefail

scr=$(realpath "$1")
probe=$(realpath "$2")
render=${3:-}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
start_dir=$PWD  # the build tree's test folder: where a failed comparison's screenshot is kept
samples=$here/../../../samples
source "$here/e2e_common.sh"

readonly kSlide="Screen Saver Main Form"
readonly kConfigure="Configure Pictavo"
readonly kPassword="Change Password"
readonly kPrompt="Pictavo/32"
readonly kEndLimitMs=2000     # input, or the preview's end, ends the program within this
readonly kSecondShowLimit=3   # seconds a refused second show may take beyond Wine's own start
readonly kScreen=1024x768
readonly kTransitionLimit=30  # seconds the first slide may take to come, transition included

loader=$(wine_loader_for "$scr")
if ! wine_loader_works "$loader"; then
  echo "SKIPPED: $(pe_machine "$scr") Windows programs cannot run here ('$loader' does not start)"
  exit 77
fi
for tool in Xvfb xdotool flock import compare convert; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool (scripts/install-deps.sh installs it)"; exit 1; }
done

start_display -screen 0 ${kScreen}x24
start_wine

# The picture folders, inside the prefix as a user would keep them.
drive_c=$WINEPREFIX/drive_c
mkdir -p "$drive_c/Show" "$drive_c/A folder of pictures" "$work/cwd"
cp "$samples/star-night.bmp" "$drive_c/Show/"
cp "$samples/star-night.bmp" "$samples/checks.tga" "$drive_c/A folder of pictures/"
cd "$work/cwd" || exit 1

use_show_folder() {  # interval
  reg_delete_key "$kSettingsKey"
  reg_set "$kPictureKey" PicturePath REG_SZ 'C:\Show'
  reg_set "$kPictureKey" Interval REG_SZ "$1"
}

# ---- what Windows reads from the file ----

case_resources() {
  local t0 seen expected
  t0=$(now_ms)
  seen=$(probe resources "$(windows_path "$scr")")
  expected=$'string 1: SCRNSAVE:Pictavo/32\nicon: yes\ndpi awareness: PerMonitorV2 true/pm\ndescription: Pictavo/32\nversion: 5.0'
  if [ "$seen" = "$expected" ]; then report 'the resources hold the name, icon, version 5.0 and DPI awareness' 0 "$t0"
  else report 'the resources hold the name, icon, version 5.0 and DPI awareness' 1 "$t0" "$(echo "$seen" | tr '\n' ';')"; fi
}

# ---- which window each switch opens ----

# Starts the saver with args, expects the window captioned caption, closes it
# (with end_key, or by asking the window to close) and expects the program to end.
check_mode() {
  local name=$1 caption=$2 end_key=$3 t0
  shift 3
  t0=$(now_ms)
  start_saver "$@"
  if ! wait_for_window "$caption"; then
    report "$name" 1 "$t0" "no window captioned \"$caption\" within $kOpenTimeout s"; abandon "$saver_pid"; return
  fi
  if [ "$(forms)" != $'1\t'"$caption" ]; then
    report "$name" 1 "$t0" "forms seen: $(forms | tr '\t\n' ':;')"; abandon "$saver_pid"; return
  fi
  if [ -n "$end_key" ]; then
    wait_for_focus "$caption" && xdotool key "$end_key"
  elif ! probe close "$caption" >/dev/null; then
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

case_modes() {
  use_show_folder 10
  check_mode '"/s" opens the slide window' "$kSlide" space /s
  check_mode '"/S" opens the slide window' "$kSlide" space /S
  check_mode '"/c" opens the configuration dialog' "$kConfigure" "" /c
  check_mode '"/c:1234" opens the configuration dialog' "$kConfigure" "" /c:1234
  check_mode 'no switch opens the configuration dialog' "$kConfigure" ""
  check_mode '"-s" opens the configuration dialog' "$kConfigure" "" -s
  check_mode '"s" opens the configuration dialog' "$kConfigure" "" s
  check_mode '"/a 5678" opens the password dialog' "$kPassword" "" /a 5678

  # A preview for a window that does not exist ends at its first tick.
  local t0
  t0=$(now_ms)
  start_saver /p 1234
  if ! wait_for_exit "$saver_pid" $((kOpenTimeout * 1000)); then
    report '"/p" with no such window ends' 1 "$t0" "still running"; abandon "$saver_pid"
  elif xdotool search --onlyvisible --name "$kSlide|$kConfigure|$kPassword" >/dev/null 2>&1; then
    report '"/p" with no such window ends' 1 "$t0" "a visible window opened"
  else
    report '"/p" with no such window ends' 0 "$t0"
  fi
}

case_second_show() {
  local t0 t1 first_pid wine_start_ms limit_ms
  use_show_folder 10
  t0=$(now_ms)
  start_saver /s
  first_pid=$saver_pid
  if ! wait_for_window "$kSlide"; then
    report 'a second "/s" ends at once' 1 "$t0" "the first show did not open"; abandon "$first_pid"; return
  fi
  # "At once" is measured against what starting any program under Wine
  # costs here: the probe's own start.
  t1=$(now_ms)
  forms >/dev/null
  wine_start_ms=$(( $(now_ms) - t1 ))
  limit_ms=$(( wine_start_ms + kSecondShowLimit * 1000 ))
  t1=$(now_ms)
  start_saver /s
  if ! wait_for_exit "$saver_pid" "$limit_ms"; then
    report 'a second "/s" ends at once' 1 "$t0" "still running after $limit_ms ms"; abandon "$saver_pid"
  elif [ "$exit_code" -ne 0 ] || [ "$(form_count)" -ne 1 ] || [ "$(x_window_count "$kSlide")" -ne 1 ]; then
    report 'a second "/s" ends at once' 1 "$t0" "code $exit_code, forms: $(forms | tr '\t\n' ':;')"
  else
    echo "      (the second show ended after $(seconds_since "$t1") s; a Wine start takes $wine_start_ms ms here)"
    report 'a second "/s" ends at once' 0 "$t0"
  fi
  wait_for_focus "$kSlide" && xdotool key space
  wait_for_exit "$first_pid" $((kExitTimeout * 1000)) || { report 'the first show ends on a key' 1 "$t0" "still running"; abandon "$first_pid"; }
}

# ---- the full-screen show ----

# The slide as pictavo-render stages it; else star-night.bmp (640 x 480)
# centred on black by ImageMagick, at (192, 144) with no rounding involved.
reference_slide() {
  local out=$1
  if [ -n "$render" ] && [ -x "$render" ] &&
    "$render" slide "$drive_c/Show/star-night.bmp" --size "$kScreen" --out "$out" >/dev/null 2>&1; then
    echo "pictavo-render"
    return
  fi
  convert -size "$kScreen" xc:black "$drive_c/Show/star-night.bmp" -geometry +192+144 -composite "$out"
  echo "ImageMagick"
}

# Starts a show and waits for its window; seen_at is when it appeared.
start_show() {
  start_saver "$@"
  wait_for_window "$kSlide" || return 1
  seen_at=$(now_ms)
}

# Gives input with xdotool args and expects the show to end within kEndLimitMs.
expect_input_ends_show() {  # name, xdotool args...
  local name=$1 t0
  shift
  t0=$(now_ms)
  xdotool "$@"
  if ! wait_for_exit "$saver_pid" "$kEndLimitMs"; then
    report "$name" 1 "$t0" "still running $kEndLimitMs ms later"; abandon "$saver_pid"; return 1
  fi
  if [ "$exit_code" -ne 0 ] || on_x_display "$kSlide"; then
    report "$name" 1 "$t0" "code $exit_code, window left: $(x_window_count "$kSlide")"; return 1
  fi
  report "$name" 0 "$t0"
}

case_show() {
  local t0 elapsed source differ
  use_show_folder 10
  t0=$(now_ms)
  if ! start_show /s; then
    report '"/s" shows the slide window' 1 "$t0" "no window"; abandon "$saver_pid"; return
  fi
  screenshot "$work/before.png"
  elapsed=$(( $(now_ms) - seen_at ))
  # The first tick comes a second after the window loads; a screenshot
  # taken later than that cannot tell.
  if [ "$elapsed" -ge 900 ]; then
    echo "skip  the screen is black before the first tick: the screenshot took $elapsed ms, too late to tell"
  elif [ "$(brightest "$work/before.png")" != 0 ]; then
    report 'the screen is black before the first tick' 1 "$t0" "$(colour_count "$work/before.png") colours on screen"
  else
    report 'the screen is black before the first tick' 0 "$t0"
  fi

  # The first tick comes after a second; the transition then takes as long
  # as its effect and the speed make it. The screen must end up showing the slide.
  t0=$(now_ms)
  source=$(reference_slide "$work/expected.png")
  local deadline=$(( $(now_ms) + kTransitionLimit * 1000 ))
  differ=unknown
  while [ "$(now_ms)" -lt "$deadline" ]; do
    screenshot "$work/after.png"
    differ=$(differing_pixels "$work/after.png" "$work/expected.png")
    [ "$differ" = 0 ] && break
    sleep 0.5
  done
  if [ "$differ" != 0 ]; then
    cp "$work/after.png" "$start_dir/pictavo-e2e-slide-seen.png" 2>/dev/null
    report "the first slide matches $source's rendering" 1 "$t0" "$differ pixels still differ after $kTransitionLimit s (screenshot kept as $start_dir/pictavo-e2e-slide-seen.png)"
  else
    echo "      (the slide was complete $(seconds_since "$seen_at") s after the window appeared)"
    report "the first slide matches $source's rendering" 0 "$t0"
  fi

  t0=$(now_ms)
  if [ "$(probe cursor)" = 0 ]; then report 'the pointer is hidden during the show' 0 "$t0"
  else report 'the pointer is hidden during the show' 1 "$t0" "GetCursorInfo says it shows"; fi

  expect_input_ends_show 'a one-pixel mouse move ends the show within 2 s' mousemove_relative 1 0
  t0=$(now_ms)
  if [ -z "$(ls -A "$work/cwd")" ]; then report 'no file is left in the current directory' 0 "$t0"
  else report 'no file is left in the current directory' 1 "$t0" "found: $(ls -A "$work/cwd" | tr '\n' ' ')"; fi

  start_show /s && wait_for_focus "$kSlide" ||
    { report '"/s" shows again' 1 "$t0" "no window in front"; abandon "$saver_pid"; return; }
  expect_input_ends_show 'a key ends the show within 2 s' key shift
  start_show /s && wait_for_focus "$kSlide" ||
    { report '"/s" shows again' 1 "$t0" "no window in front"; abandon "$saver_pid"; return; }
  expect_input_ends_show 'a click ends the show within 2 s' click 1
}

# Launched through its short (8.3) name from a folder with a long one.
case_short_path() {
  local t0 folder short
  t0=$(now_ms)
  folder="$drive_c/Program Files/Pictavo Screen Saver"
  mkdir -p "$folder"
  cp "$scr" "$folder/pictavo.scr"
  short=$(probe shortpath 'C:\Program Files\Pictavo Screen Saver\pictavo.scr')
  if [[ "$short" != *"~"* ]]; then
    report 'an 8.3 path is available' 1 "$t0" "got \"$short\""; return
  fi
  echo "      (short path: $short)"
  use_show_folder 10
  local saved_scr=$scr
  scr=$short
  t0=$(now_ms)
  if start_show /s && wait_for_focus "$kSlide"; then
    expect_input_ends_show '"/s" through the 8.3 path shows and ends on a key' key space
  else
    report '"/s" through the 8.3 path shows and ends on a key' 1 "$t0" "no window"; abandon "$saver_pid"
  fi
  check_mode '"/c" through the 8.3 path opens the configuration dialog' "$kConfigure" "" /c
  scr=$saved_scr
}

# ---- the configuration dialog, as a new user tries it ----

# Opens /c with nothing stored, so the dialog starts in C:\WINDOWS.
open_configuration() {
  reg_delete_key "$kSettingsKey"
  start_saver /c
  wait_for_window "$kConfigure" && wait_for_focus "$kConfigure" && locate_client "$kConfigure"
}

# Dir1's first row is the drive's root: a double-click opens it. Down then
# selects the first folder below it, and Enter opens that one.
choose_root_folder() { double_click_twips 640 1290; }
choose_first_folder() {
  choose_root_folder
  xdotool key Down Return
  sleep 0.5
}

# The choices a user makes before OK or Cancel: the 20-second interval,
# three steps of the speed bar, stretching.
make_choices() {
  click_twips $((150 + 2520 + 90)) $((4800 + 270 + 142))                # "&20 Sec."
  for _ in 1 2 3; do click_twips $((150 + 960 + 2175 - 120)) $((3960 + 360 + 127)); done  # the bar's right arrow
  click_twips $((150 + 480 + 90)) $((3375 + 120 + 127))                 # "S&tretch all pictures..."
}

expect_nothing_written() {  # name, t0
  if "$loader" reg query "$kSettingsKey" >/dev/null 2>&1; then
    report "$1" 1 "$2" "the store holds: $(reg_values "$kPictureKey" | tr '\t\n' '=;')"
  else
    report "$1" 0 "$2"
  fi
}

case_configure_ok() {
  local t0 values expected
  t0=$(now_ms)
  if ! open_configuration; then report '"/c": OK saves the four settings' 1 "$t0" "no dialog"; abandon "$saver_pid"; return; fi
  choose_first_folder
  make_choices
  click_twips $((4200 + 607)) $((5280 + 187))                            # OK
  if ! wait_for_exit "$saver_pid" $((kExitTimeout * 1000)); then
    report '"/c": OK saves the four settings' 1 "$t0" "the dialog stayed open"; abandon "$saver_pid"; return
  fi
  values=$(reg_values "$kPictureKey" | sort)
  expected=$(printf '%s\n' $'Interval\tREG_SZ\t20' $'PicturePath\tREG_SZ\tC:\\A folder of pictures' \
    $'Speed\tREG_SZ\t4' $'Stretch\tREG_SZ\t1')
  if [ "$values" = "$expected" ]; then report '"/c": OK saves the four settings in plain decimal' 0 "$t0"
  else report '"/c": OK saves the four settings in plain decimal' 1 "$t0" "the store holds: $(echo "$values" | tr '\t\n' '=;')"; fi
}

case_configure_cancel() {
  local t0
  t0=$(now_ms)
  if ! open_configuration; then report '"/c": Cancel writes nothing' 1 "$t0" "no dialog"; abandon "$saver_pid"; return; fi
  choose_first_folder
  make_choices
  click_twips $((4200 + 607)) $((4560 + 187))                            # Cancel
  if ! wait_for_exit "$saver_pid" $((kExitTimeout * 1000)); then
    report '"/c": Cancel writes nothing' 1 "$t0" "the dialog stayed open"; abandon "$saver_pid"; return
  fi
  expect_nothing_written '"/c": Cancel writes nothing' "$t0"
}

case_configure_empty_folder() {
  local t0 name='"/c": OK on a folder without pictures says "Nothing to Display" and writes nothing'
  t0=$(now_ms)
  if ! open_configuration; then report "$name" 1 "$t0" "no dialog"; abandon "$saver_pid"; return; fi
  choose_root_folder
  sleep 0.5
  click_twips $((4200 + 607)) $((5280 + 187))                            # OK
  if ! wait_for_window "Nothing to Display" 10; then
    report "$name" 1 "$t0" "no message box"; abandon "$saver_pid"; return
  fi
  wait_for_focus "Nothing to Display" 10 && xdotool key Return
  if ! wait_for_no_window "Nothing to Display" 5 || ! wait_for_focus "$kConfigure" 10; then
    report "$name" 1 "$t0" "the message box did not close back to the dialog"; abandon "$saver_pid"; return
  fi
  xdotool key Escape
  if ! wait_for_exit "$saver_pid" $((kExitTimeout * 1000)); then
    report "$name" 1 "$t0" "Esc did not close the dialog"; abandon "$saver_pid"; return
  fi
  expect_nothing_written "$name" "$t0"
}

case_help_and_about() {
  local t0 collapsed expanded
  t0=$(now_ms)
  if ! open_configuration; then report '"/c": Help opens and closes' 1 "$t0" "no dialog"; abandon "$saver_pid"; return; fi
  xdotool key alt+h
  if wait_for_focus "Configuration Help" 10 && xdotool key Return && wait_for_no_window "Configuration Help" 5; then
    report '"/c": Help opens and closes' 0 "$t0"
  else
    report '"/c": Help opens and closes' 1 "$t0" "no help box, or it stayed"
  fi
  t0=$(now_ms)
  click_twips $((4200 + 607)) $((1680 + 187))                            # &About
  if ! wait_for_window "About Pictavo/32" 10; then
    report '"/c": About opens, expands and closes' 1 "$t0" "no about box"; abandon "$saver_pid"; return
  fi
  wait_for_focus "About Pictavo/32" 10
  collapsed=$(probe outer "About Pictavo/32" | awk '{print $4}')
  locate_client "About Pictavo/32"
  click_twips $((5520 + 787)) $((1440 + 187))                            # Ombudsman >>
  expanded=$(probe outer "About Pictavo/32" | awk '{print $4}')
  locate_client "$kConfigure"
  # The clicked button has the focus and would take Enter itself; Tab goes
  # on to OK, which Enter then presses.
  xdotool key Tab Return
  # Collapsed to just below the expand button (2377 twips), expanded to 3960.
  if ! wait_for_no_window "About Pictavo/32" 5; then
    report '"/c": About opens, expands and closes' 1 "$t0" "it stayed open"
  elif [ "${collapsed:-0}" -lt 150 ] || [ "${collapsed:-0}" -gt 166 ] ||
    [ "${expanded:-0}" -lt 256 ] || [ "${expanded:-0}" -gt 272 ]; then
    report '"/c": About opens, expands and closes' 1 "$t0" "heights $collapsed and $expanded pixels"
  else
    report '"/c": About opens, expands and closes' 0 "$t0"
  fi
  wait_for_focus "$kConfigure" 10 && xdotool key Escape
  wait_for_exit "$saver_pid" $((kExitTimeout * 1000)) || abandon "$saver_pid"
}

# ---- the password ----

change_password() {  # old new confirm: types into the open dialog and presses Enter
  [ -n "$1" ] && xdotool type "$1" && xdotool key Tab
  xdotool type "$2"
  xdotool key Tab
  xdotool type "$3"
  xdotool key Return
}

# The refusal is a message box captioned like the dialog, which it disables
# while it is up: the window in front with that caption is the box. Enter
# closes it; the dialog then takes the keys again.
dismiss_refusal() {
  wait_for_focus "$kPassword" 10 && xdotool key Return
  local deadline=$(( $(now_ms) + 10000 ))
  while [ "$(x_window_count "$kPassword")" -gt 1 ] && [ "$(now_ms)" -lt "$deadline" ]; do sleep 0.1; done
  wait_for_focus "$kPassword" 10
}

case_password() {
  local t0 t1 deadline first second
  reg_delete_key "$kSettingsKey"
  t0=$(now_ms)
  start_saver /a 0
  if ! wait_for_focus "$kPassword"; then report '"/a" stores the password encoded' 1 "$t0" "no dialog"; abandon "$saver_pid"; return; fi
  change_password "" Secret Secret
  wait_for_exit "$saver_pid" $((kExitTimeout * 1000)) || abandon "$saver_pid"
  first=$(reg_value "$kPasswordKey" Password)
  if [ "${#first}" -eq 6 ] && [ "$first" != Secret ] && [ "$first" != SECRET ] &&
    [ -z "$(reg_values "$kPictureKey")" ]; then
    report '"/a" stores the password encoded in section "ScreenSaver"' 0 "$t0"
  else
    report '"/a" stores the password encoded in section "ScreenSaver"' 1 "$t0" "stored \"$first\""
  fi

  t0=$(now_ms)
  start_saver /a 0
  if ! wait_for_focus "$kPassword"; then report 'changing the password needs the old one' 1 "$t0" "no dialog"; abandon "$saver_pid"; return; fi
  change_password wrong Other1 Other1
  # The refusal is a message box titled like the dialog.
  local deadline=$(( $(now_ms) + 10000 ))
  while [ "$(x_window_count "$kPassword")" -lt 2 ] && [ "$(now_ms)" -lt "$deadline" ]; do sleep 0.1; done
  if [ "$(x_window_count "$kPassword")" -lt 2 ] || [ "$(reg_value "$kPasswordKey" Password)" != "$first" ]; then
    report 'changing the password needs the old one' 1 "$t0" "a wrong old password was not refused"; abandon "$saver_pid"; return
  fi
  dismiss_refusal
  # Typed and erased again, the old box leaves OK disabled; Enter in it
  # still runs the check, once.
  t1=$(now_ms)
  xdotool type x
  xdotool key BackSpace Return
  deadline=$(( $(now_ms) + 10000 ))
  while [ "$(x_window_count "$kPassword")" -lt 2 ] && [ "$(now_ms)" -lt "$deadline" ]; do sleep 0.1; done
  if [ "$(x_window_count "$kPassword")" -lt 2 ]; then
    report 'Enter in the emptied old-password box, OK disabled, still checks it' 1 "$t1" "no message"
  else
    report 'Enter in the emptied old-password box, OK disabled, still checks it' 0 "$t1"
  fi
  dismiss_refusal
  change_password secret Other1 Other1   # the old one, in other letter case
  wait_for_exit "$saver_pid" $((kExitTimeout * 1000)) || abandon "$saver_pid"
  second=$(reg_value "$kPasswordKey" Password)
  if [ "${#second}" -eq 6 ] && [ "$second" != "$first" ]; then
    report 'changing the password needs the old one' 0 "$t0"
  else
    report 'changing the password needs the old one' 1 "$t0" "stored \"$second\" after \"$first\""
  fi
}

# With Wine playing Windows 98 (platform id 1, not NT) and the system's
# switch on, a key opens the prompt over the show. Needs the password
# "Other1" that case_password stored.
case_password_prompt() {
  local t0 name='the prompt refuses a wrong password and takes the right one in other letter case'
  reg_set 'HKCU\Software\Wine\AppDefaults\pictavo.scr' Version REG_SZ win98
  reg_set 'HKCU\Control Panel\Desktop' ScreenSaveUsePassword REG_SZ 1
  reg_set "$kPictureKey" PicturePath REG_SZ 'C:\Show'
  t0=$(now_ms)
  if start_show /s && wait_for_focus "$kSlide"; then
    xdotool key a
    if ! wait_for_window "$kPrompt" 10; then
      report 'a key opens the password prompt over the show' 1 "$t0" "no prompt"; abandon "$saver_pid"
    elif ! on_x_display "$kSlide" || [ "$(probe cursor)" != 1 ]; then
      report 'a key opens the password prompt over the show' 1 "$t0" "the show went, or the pointer is hidden"; abandon "$saver_pid"
    else
      report 'a key opens the password prompt over the show, with the pointer shown' 0 "$t0"
      t0=$(now_ms)
      if [ "$(probe frame "$kPrompt" | tr -d '\r')" = "no menu, no close" ]; then
        report 'the prompt has no window menu and no close box' 0 "$t0"
      else
        report 'the prompt has no window menu and no close box' 1 "$t0" "$(probe frame "$kPrompt")"
      fi
      t0=$(now_ms)
      wait_for_focus "$kPrompt" 10 && xdotool type wrong
      xdotool key Return
      if ! wait_for_focus "Incorrect Password" 10; then
        report "$name" 1 "$t0" "no \"Incorrect Password\""; abandon "$saver_pid"
      else
        xdotool key Return
        wait_for_no_window "Incorrect Password" 5 && wait_for_focus "$kPrompt" 10
        xdotool type OTHER1
        local t1
        t1=$(now_ms)
        xdotool key Return
        if wait_for_exit "$saver_pid" "$kEndLimitMs" && [ "$exit_code" -eq 0 ]; then
          echo "      (ended $(seconds_since "$t1") s after the right password)"
          report "$name" 0 "$t0"
        else
          screenshot "$start_dir/pictavo-e2e-prompt-seen.png"
          report "$name" 1 "$t0" "the show did not end (screenshot kept as $start_dir/pictavo-e2e-prompt-seen.png); windows: $(forms | tr '\t\n' ':;') $(x_window_count "Incorrect Password") refusal(s)"; abandon "$saver_pid"
        fi
      fi
    fi
  else
    report 'a key opens the password prompt over the show' 1 "$t0" "no show"; abandon "$saver_pid"
  fi
  reg_delete_key 'HKCU\Software\Wine\AppDefaults\pictavo.scr'
  "$loader" reg delete 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /f >/dev/null 2>&1
}

# ---- a show that answers at once ----

# Milliseconds until the show's window has left the X display (up to 5 s).
ms_until_window_gone() {
  local start=$1
  while on_x_display "$kSlide"; do
    [ $(( $(now_ms) - start )) -ge 5000 ] && { echo 99999; return; }
    sleep 0.02
  done
  echo $(( $(now_ms) - start ))
}

# A 6000 x 4000 JPEG (made with cjpeg), at Speed 1 and at Speed 1000: a key
# at a random moment takes the show's window away within kGoneLimitMs. The
# window, not the process, is measured: Wine takes a while to end a process
# after its last window has gone.
case_responsive() {
  local t0 took name speed trial
  local -r kGoneLimitMs=2000
  for tool in cjpeg pgmramp pgmtoppm; do
    command -v "$tool" >/dev/null || { echo "skip  responsive show: $tool is not installed"; return; }
  done
  mkdir -p "$drive_c/Big"
  [ -s "$drive_c/Big/big.jpg" ] ||
    pgmramp -diag 6000 4000 | pgmtoppm rgb:ff/a0/40 | cjpeg -quality 90 >"$drive_c/Big/big.jpg"
  for speed in 1 1000; do
    for trial in 1 2; do
      reg_delete_key "$kSettingsKey"
      reg_set "$kPictureKey" PicturePath REG_SZ 'C:\Big'
      reg_set "$kPictureKey" Interval REG_SZ 0
      reg_set "$kPictureKey" Speed REG_SZ "$speed"
      name="a 6000 x 4000 JPEG at Speed $speed: a key takes the window away within $kGoneLimitMs ms"
      t0=$(now_ms)
      start_show /s && wait_for_focus "$kSlide" ||
        { report "$name" 1 "$t0" "no window in front"; abandon "$saver_pid"; continue; }
      sleep "$(awk -v r="$RANDOM" 'BEGIN { printf "%.2f", 0.2 + r / 32768 * 3 }')"
      t0=$(now_ms)
      xdotool key a
      took=$(ms_until_window_gone "$t0")
      echo "      (trial $trial: the window went $took ms after the key)"
      if [ "$took" -le "$kGoneLimitMs" ]; then report "$name" 0 "$t0"
      else report "$name" 1 "$t0" "the window stayed $took ms"; fi
      wait_for_exit "$saver_pid" $((kExitTimeout * 1000)) || abandon "$saver_pid"
    done
  done
}

# ---- the preview ----

# The probe makes a host window at (100, 100), 152 x 112, starts "/p" with
# its handle, and after wait_ms destroys it (or closes the saver's child).
run_preview() {  # wait_ms [close]
  "$loader" "$probe" host "$(windows_path "$scr")" "$@" >"$work/host.log" 2>&1 &
  host_pid=$!
  saver_pids+=("$host_pid")
}

case_preview() {
  local t0 took name
  use_show_folder 1
  t0=$(now_ms)
  run_preview 5000
  wait_for_window "Pictavo Preview Host" 20
  sleep 2.5
  # Input over the preview: the miniature does not react.
  xdotool mousemove 176 156 click 1 mousemove_relative 3 3 key space
  wait "$host_pid"
  tr -d '\r' <"$work/host.log" | sed 's/^/      | /'
  name='"/p": the saver'"'"'s picture becomes a WS_CHILD covering the host'"'"'s client area'
  if grep -q ' child saver ws_child covers 152x112$' <(tr -d '\r' <"$work/host.log"); then report "$name" 0 "$t0"
  else report "$name" 1 "$t0" "no such child"; fi
  name='"/p": input in the preview does not end it'
  if grep -q ' alive$' <(tr -d '\r' <"$work/host.log"); then report "$name" 0 "$t0"
  else report "$name" 1 "$t0" "it ended early"; fi
  took=$(tr -d '\r' <"$work/host.log" | sed -n 's/^ended \([0-9]*\) ms after the destruction.*/\1/p')
  name='"/p": the program ends within 2 s of the host window'"'"'s destruction'
  if [ -n "$took" ] && [ "$took" -le "$kEndLimitMs" ]; then report "$name" 0 "$t0"
  else report "$name" 1 "$t0" "took ${took:-forever} ms"; fi

  t0=$(now_ms)
  run_preview 2500 close
  wait "$host_pid"
  took=$(tr -d '\r' <"$work/host.log" | sed -n 's/^ended \([0-9]*\) ms after the close.*/\1/p')
  name='"/p": a WM_CLOSE to the preview ends the program within 2 s'
  if [ -n "$took" ] && [ "$took" -le "$kEndLimitMs" ]; then report "$name" 0 "$t0"
  else report "$name" 1 "$t0" "took ${took:-forever} ms: $(tr -d '\r' <"$work/host.log" | tr '\n' ';')"; fi
}

all_cases="resources modes second_show show short_path configure_ok configure_cancel configure_empty_folder
  help_and_about password password_prompt preview responsive"
for name in ${PICTAVO_E2E_CASES:-$all_cases}; do
  "case_$name"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
