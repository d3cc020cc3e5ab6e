#!/usr/bin/env bash
# End to end: the properties dialog of the real program under a window manager (openbox on
# Xvfb) at twice the scale, on a screen shorter than the dialog. It must stay above the
# frame it belongs to, fit the screen, and scroll so that Save Settings can be clicked.
# Usage: e2e_dialog_test.sh <lumeno executable> <source tree>
set -euo pipefail

app=$1
source=$2
for tool in xvfb-run openbox xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps installs it)"; exit 1; }
done
screen_height=1000
if [ -z "${LUMENO_E2E_DISPLAY:-}" ]; then
  exec env LUMENO_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 1600x${screen_height}x24" "$0" "$@"
fi

work=$(mktemp -d)
pid=
wm=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
ln -s "$source/Engine" Engine

fail() { echo "FAIL: $*"; echo "--- program output:"; cat "$work/out.log" 2>/dev/null || true; exit 1; }

# Polls `$@` every 0.1 s for up to 20 s.
poll() {
  for _ in $(seq 200); do "$@" && return 0; sleep 0.1; done
  return 1
}

# The id of the visible window whose title holds $1, waiting up to 20 s.
window() {
  local id
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

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
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
saved() { [ -f settings_v4.ar ] && [ "$(stat -c %s settings_v4.ar)" -eq 115 ]; }

openbox >/dev/null 2>&1 &
wm=$!
poll wm_ready || fail "openbox did not start"

QT_SCALE_FACTOR=2 "$app" >"$work/out.log" 2>&1 &
pid=$!
frame=$(window "Lumeno beta1") || fail "no main window"
dialog=$(window ":: Properties ::.") || fail "no properties dialog"
poll dialog_above_frame || fail "the dialog opened below the frame"

# (1) A click on the canvas raises the frame; its dialog must stay above it.
eval "$(xdotool getwindowgeometry --shell "$frame")"
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
