#!/usr/bin/env bash
# End to end: the real program under Xvfb with a window manager (openbox), driven with
# xdotool, read back with xclip and ImageMagick. Usage: e2e_test.sh <lumeno executable> <source tree>
set -euo pipefail

app=$1
source=$2
. "$(dirname "$0")/e2e_common.sh"
e2e_require xvfb-run openbox xprop xwininfo xdotool xclip identify convert
e2e_on_screen 1280x900 "$@"
e2e_setup
mkdir screenshots

start() {
  "$app" >"$work/out.log" 2>&1 &
  pid=$!
}

# Exit from the menu: "Lumeno!" is the menu bar's first entry; x is Exit's mnemonic.
exit_from_menu() {
  local frame=$1
  geometry "$frame"
  xdotool mousemove $((X + 25)) $((Y + 10)) click 1
  sleep 1
  xdotool key x
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "Exit did not end the program"
  wait "$pid" || fail "the program ended with status $?"
  pid=
}

count_screenshots() { find screenshots -name '*.bmp' | wc -l; }

# The screen's pixel at ($1, $2) as "r,g,b".
screen_pixel() {
  import -window root "$work/screen.png"
  convert "$work/screen.png" -format "%[fx:int(255*p{$1,$2}.r+0.5)],%[fx:int(255*p{$1,$2}.g+0.5)],%[fx:int(255*p{$1,$2}.b+0.5)]" info:
}

# The settings file's bytes from offset $1, $2 of them, as decimals.
settings_bytes() { od -An -tu1 -j "$1" -N "$2" settings_v4.ar | xargs; }

# Saves the settings from the dialog's keyboard: its first control, Restore Default, has
# the focus when it is activated; Tab moves to Save Settings.
save_from_dialog() {
  local dialog=$1
  rm -f settings_v4.ar
  xdotool windowactivate --sync "$dialog"
  sleep 0.3
  xdotool key Tab space
  for _ in $(seq 50); do [ -f settings_v4.ar ] && break; sleep 0.1; done
  [ -f settings_v4.ar ] || fail "Save Settings wrote no settings_v4.ar"
}

# --- A normal run on a small canvas from the settings file (652 x 351).
cp "$source/src/app/resources/135_settings.ar" settings_v4.ar
before=$(md5sum settings_v4.ar)
start
frame=$(window "Lumeno beta1") || fail "no main window"
window ":: Properties ::." >/dev/null || fail "no properties dialog"
# The splash (652 x 351, no title) is stacked above the maximised frame, as its owner.
splash_above=
for _ in $(seq 30); do
  stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
  seen_frame=
  for w in $stacking; do
    [ $((w)) -eq $((frame)) ] && seen_frame=1
    if [ -n "$seen_frame" ] && xwininfo -id "$w" | grep -q 'Width: 652' && xwininfo -id "$w" | grep -q 'Height: 351'; then
      splash_above=1
    fi
  done
  [ -n "$splash_above" ] && break
  sleep 0.1
done
[ -n "$splash_above" ] || fail "the splash is not above the main window"
xdotool windowfocus --sync "$frame"
sleep 2

# The splash takes the first key: this Enter saves nothing.
xdotool key Return
sleep 1
[ "$(count_screenshots)" -eq 0 ] || fail "the key that closed the splash also saved a screenshot"

# A pointer move and a left click re-emit around the pointer; Enter then saves the canvas.
geometry "$frame"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
sleep 1
xdotool key Return
sleep 2
[ "$(count_screenshots)" -eq 1 ] || fail "Enter saved $(count_screenshots) screenshots, not 1"
identify "$(find screenshots -name '*.bmp')" | grep -Eq "BMP3? 652x351" || fail "the screenshot is not a 652x351 BMP"

# C puts the canvas on the clipboard.
xdotool key c
sleep 1
xclip -selection clipboard -t image/png -o >clip.png || fail "nothing on the clipboard"
identify clip.png | grep -q "PNG 652x351" || fail "the clipboard holds no 652x351 picture"

# Around the 652 x 351 canvas, centred in the maximised frame, the client area shows the
# window colour: read at its bottom-right corner, clear of the dialog on the left.
geometry "$frame"
margin_x=$((X + WIDTH - 6))
margin_y=$((Y + HEIGHT - 6))
margin=$(screen_pixel "$margin_x" "$margin_y")
[ "$margin" != "0,0,0" ] || fail "the area around the canvas is black, not the window colour"

exit_from_menu "$frame"
[ "$(md5sum settings_v4.ar)" = "$before" ] || fail "Exit changed settings_v4.ar"

# --- An impossible canvas: both boxes, then a program that keeps running.
printf '\xa0\x86\x01\x00' | dd of=settings_v4.ar bs=1 seek=0 conv=notrunc status=none # width 100000
start
box=$(window "Init DirectX error!") || fail "no box from the engine"
xdotool windowfocus --sync "$box" key Return
box=$(window "^Error!$") || fail "no Init Engine Failed! box"
xdotool windowfocus --sync "$box" key Return
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the program ended after a failed engine build"
frame=$(window "Lumeno beta1") || fail "no main window after a failed engine build"
xdotool windowfocus --sync "$frame" key shift # the splash, if still up, takes this one
sleep 0.5
# With no engine the view's own background fills the client area: the colour the margin
# around a canvas showed.
empty=$(screen_pixel "$margin_x" "$margin_y")
[ "$margin" = "$empty" ] || fail "the margin around the canvas is $margin, the window colour is $empty"
exit_from_menu "$frame"

# --- Keys by their place and Restore Default, from the dialog's buttons.
cp "$source/src/app/resources/135_settings.ar" settings_v4.ar
[ "$(settings_bytes 111 4)" = "3 0 0 0" ] || fail "the test's settings file no longer picks colour 4"
start
frame=$(window "Lumeno beta1") || fail "no main window"
dialog=$(window ":: Properties ::.") || fail "no properties dialog"
xdotool windowactivate --sync "$frame"
xdotool key shift # closes the splash
sleep 0.5
# Shift+3 types '#', yet it is the key 3: colour slot 2.
xdotool key shift+3
sleep 0.3
save_from_dialog "$dialog"
[ "$(settings_bytes 111 4)" = "2 0 0 0" ] || fail "Shift+3 did not pick colour 3 (colorIndex bytes $(settings_bytes 111 4))"
# Restore Default: the 32-bit float canvas the adapter blends, probed while the window's
# context is current, the defaults' 1024 x 768 and colour 4; then saved again.
xdotool windowactivate --sync "$dialog"
sleep 0.3
xdotool key shift+Tab space
sleep 2
save_from_dialog "$dialog"
[ "$(settings_bytes 0 12)" = "0 4 0 0 0 3 0 0 116 0 0 0" ] ||
  fail "after Restore Default the canvas is $(settings_bytes 0 12), not 1024 x 768 in format 116"
[ "$(settings_bytes 111 4)" = "3 0 0 0" ] || fail "Restore Default left colorIndex at $(settings_bytes 111 4)"
kill -0 "$pid" 2>/dev/null || fail "the program ended after Restore Default"
exit_from_menu "$frame"
echo "PASS"
