#!/usr/bin/env bash
# End to end: the real program under Xvfb with a window manager (openbox), driven with
# xdotool, read back with xclip and ImageMagick: the splash above the frame takes the
# first key; a click, Enter and C reach the canvas; the canvas is drawn centred in the
# window colour; keys count by their place; the dialog's buttons save and restore the
# defaults as the window's context probes them; Exit saves nothing.
# Usage: e2e_test.sh <lumeno executable> <source tree>
set -euo pipefail

. "$(dirname "$0")/e2e_common.sh"
e2e_require Xvfb openbox xprop xwininfo xdotool xclip identify convert
e2e_on_screen 1280x900
e2e_setup
mkdir screenshots

count_screenshots() { find screenshots -name '*.bmp' | wc -l; }
settings_bytes() { od -An -tu1 -j "$1" -N "$2" settings_v4.ar | xargs; }
# The splash (652 x 351, no title) stacked above the frame, as its owner.
splash_above() {
  local w seen=
  for w in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'); do
    [ $((w)) -eq $((frame)) ] && seen=1
    [ -n "$seen" ] && xwininfo -id "$w" | grep -q 'Width: 652' && xwininfo -id "$w" | grep -q 'Height: 351' && return 0
  done
  return 1
}
# From the dialog's keyboard: Restore Default has the focus when it is activated; Tab
# moves to Save Settings, shift+Tab from there to Restore Default.
dialog_keys() {
  rm -f settings_v4.ar
  xdotool windowactivate --sync "$dialog"
  sleep 0.3
  xdotool key "$@"
  poll test -f settings_v4.ar || fail "Save Settings wrote no settings_v4.ar"
}

[ "$(settings_bytes 111 4)" = "3 0 0 0" ] || fail "the test's settings file no longer picks colour 4"
start
poll splash_above || fail "the splash is not above the main window"
xdotool windowfocus --sync "$frame"
sleep 2
xdotool key Return
sleep 1
[ "$(count_screenshots)" -eq 0 ] || fail "the key that closed the splash also saved a screenshot"

# A pointer move and a left click re-emit around the pointer; Enter saves the canvas, C copies it.
geometry "$frame"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1 sleep 1 key Return sleep 2 key c sleep 1
[ "$(count_screenshots)" -eq 1 ] || fail "Enter saved $(count_screenshots) screenshots, not 1"
identify screenshots/*.bmp | grep -Eq "BMP3? 652x351" || fail "the screenshot is not a 652x351 BMP"
xclip -selection clipboard -t image/png -o >clip.png || fail "nothing on the clipboard"
identify clip.png | grep -q "PNG 652x351" || fail "the clipboard holds no 652x351 picture"

# Around the canvas, centred in the maximised frame, the client area shows the window
# colour: read at its bottom-right corner, clear of the dialog on the left.
import -window root screen.png
[ "$(convert screen.png -format "%[fx:p{$((X + WIDTH - 6)),$((Y + HEIGHT - 6))}.intensity]" info:)" != 0 ] ||
  fail "the area around the canvas is black, not the window colour"

# Shift+3 types '#', yet it is the key 3: colour slot 2.
xdotool key shift+3
dialog_keys Tab space
[ "$(settings_bytes 111 4)" = "2 0 0 0" ] || fail "Shift+3 did not pick colour 3 (colorIndex bytes $(settings_bytes 111 4))"
# Restore Default: the 32-bit float canvas the adapter blends, probed while the window's
# context is current, the defaults' 1024 x 768 and colour 4; then saved again.
xdotool windowactivate --sync "$dialog" sleep 0.3 key shift+Tab space sleep 2
dialog_keys Tab space
[ "$(settings_bytes 0 12)" = "0 4 0 0 0 3 0 0 116 0 0 0" ] ||
  fail "after Restore Default the canvas is $(settings_bytes 0 12), not 1024 x 768 in format 116"
[ "$(settings_bytes 111 4)" = "3 0 0 0" ] || fail "Restore Default left colorIndex at $(settings_bytes 111 4)"

# Exit from the menu ("Lumeno!" is the menu bar's first entry, x Exit's mnemonic) saves nothing.
before=$(md5sum settings_v4.ar)
xdotool windowactivate --sync "$frame" key 1
geometry "$frame"
xdotool mousemove $((X + 25)) $((Y + 10)) click 1 sleep 1 key x
ended
[ "$(md5sum settings_v4.ar)" = "$before" ] || fail "Exit changed settings_v4.ar"
echo "PASS"
