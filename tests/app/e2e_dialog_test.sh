#!/usr/bin/env bash
# End to end: the properties dialog of the real program under a window manager (openbox on
# Xvfb) at twice the scale, on a screen shorter than the dialog. It must stay above the
# frame it belongs to, fit the screen, and scroll so that Save Settings can be clicked.
# Usage: e2e_dialog_test.sh <lumeno executable> <source tree>
set -euo pipefail

. "$(dirname "$0")/e2e_common.sh"
e2e_require Xvfb openbox xdotool xprop xwininfo
e2e_on_screen 1600x1000
e2e_setup
rm settings_v4.ar

# True when the window manager stacks the dialog above the frame.
dialog_above_frame() {
  local stack
  stack=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//; s/,/ /g')
  [[ " $stack " =~ \ $(printf '0x%x' "$frame")\ .*\ $(printf '0x%x' "$dialog")\  ]]
}

start QT_SCALE_FACTOR=2
poll dialog_above_frame || fail "the dialog opened below the frame"
xprop -id "$dialog" WM_TRANSIENT_FOR | grep -q "$(printf '0x%x' "$frame")" || fail "the dialog is not transient for the frame"

# (1) A click on the canvas raises the frame; its dialog must stay above it.
geometry "$frame"
xdotool mousemove $((X + WIDTH * 3 / 4)) $((Y + HEIGHT / 2)) click 1
for _ in $(seq 10); do
  sleep 0.1
  dialog_above_frame || fail "a click on the canvas put the frame above the dialog"
done

# (2) The whole window, frame included, lies on the 1000-pixel screen.
read -r _ _ top bottom < <(xprop -id "$dialog" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,/ /g')
geometry "$dialog"
[ $((Y - top)) -ge 0 ] || fail "the dialog's title bar is above the screen"
[ $((Y + HEIGHT + bottom)) -le 1000 ] || fail "the dialog reaches down to $((Y + HEIGHT + bottom)), below the screen"

# (3) The wheel over the dialog scrolls it to the bottom, where Save Settings shows: 50
# pixels above the client's bottom at this scale, at 110/150 of the page's width (the
# client less the scroll bar).
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
for _ in $(seq 20); do xdotool click 5; done
sleep 0.5
[ ! -e settings_v4.ar ] || fail "settings_v4.ar exists before Save Settings"
xdotool mousemove $((X + (WIDTH - 28) * 110 / 150)) $((Y + HEIGHT - 50)) click 1
poll eval '[ "$(stat -c %s settings_v4.ar 2>/dev/null)" = 115 ]' || fail "Save Settings could not be clicked: no 115-byte settings_v4.ar"
echo "PASS"
