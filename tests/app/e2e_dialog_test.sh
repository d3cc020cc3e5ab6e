#!/usr/bin/env bash
# End to end: the properties dialog of the real program under a window manager (openbox on
# Xvfb) at twice the scale, on a screen shorter than the dialog. It must stay above the
# frame it belongs to, fit the screen, and scroll so that Save Settings can be clicked.
# Usage: e2e_dialog_test.sh <lumeno executable> <source tree>
set -euo pipefail

app=$1
source=$2
. "$(dirname "$0")/e2e_common.sh"
e2e_require xvfb-run openbox xdotool xprop xwininfo
screen_height=1000
e2e_on_screen "1600x${screen_height}" "$@"
e2e_setup

# Position of window $1 in the window manager's stacking order, bottom first.
stack_index() {
  local hex
  hex=$(printf '0x%x' "$1")
  xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//' | tr ',' '\n' | tr -d ' ' | grep -n -x "$hex" | cut -d: -f1
}
dialog_above_frame() {
  local d f
  d=$(stack_index "$dialog") && f=$(stack_index "$frame") && [ -n "$d" ] && [ -n "$f" ] && [ "$d" -gt "$f" ]
}
saved() { [ -f settings_v4.ar ] && [ "$(stat -c %s settings_v4.ar)" -eq 115 ]; }

QT_SCALE_FACTOR=2 "$app" >"$work/out.log" 2>&1 &
pid=$!
frame=$(window "Lumeno beta1") || fail "no main window"
dialog=$(window ":: Properties ::.") || fail "no properties dialog"
poll dialog_above_frame || fail "the dialog opened below the frame"

# (1) A click on the canvas raises the frame; its dialog must stay above it.
geometry "$frame"
xdotool mousemove $((X + WIDTH * 3 / 4)) $((Y + HEIGHT / 2)) click 1
for _ in $(seq 10); do
  sleep 0.1
  dialog_above_frame || fail "a click on the canvas put the frame above the dialog"
done
xprop -id "$dialog" WM_TRANSIENT_FOR | grep -q "$(printf '0x%x' "$frame")" ||
  fail "the dialog is not transient for the frame"

# (2) The whole window, frame included, lies on the screen.
read -r left right top bottom < <(xprop -id "$dialog" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,/ /g')
client_top=$(xwininfo -id "$dialog" | sed -n 's/.*Absolute upper-left Y: *//p')
client_left=$(xwininfo -id "$dialog" | sed -n 's/.*Absolute upper-left X: *//p')
client_height=$(xwininfo -id "$dialog" | sed -n 's/.*Height: *//p')
client_width=$(xwininfo -id "$dialog" | sed -n 's/.*Width: *//p')
outer_bottom=$((client_top + client_height + bottom))
[ $((client_top - top)) -ge 0 ] || fail "the dialog's title bar is above the screen"
[ "$outer_bottom" -le "$screen_height" ] ||
  fail "the dialog reaches down to $outer_bottom, below the ${screen_height}-pixel screen"

# (3) The wheel over the dialog scrolls it to the bottom, where Save Settings shows: 50
# pixels above the client's bottom at this scale, at 110/150 of the page's width (the
# client less the scroll bar).
xdotool mousemove $((client_left + client_width / 2)) $((client_top + client_height / 2))
for _ in $(seq 20); do xdotool click 5; done
sleep 0.5
[ ! -e settings_v4.ar ] || fail "settings_v4.ar exists before Save Settings"
xdotool mousemove $((client_left + (client_width - 28) * 110 / 150)) $((client_top + client_height - 50)) click 1
poll saved || fail "Save Settings could not be clicked: no 115-byte settings_v4.ar"
echo "PASS"
