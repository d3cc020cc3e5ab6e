#!/usr/bin/env bash
# End to end: the real program under Xvfb, driven with xdotool, read back with xclip and
# ImageMagick. Usage: e2e_test.sh <lumeno executable> <source tree>
set -euo pipefail

app=$1
source=$2
for tool in xvfb-run xdotool xclip identify; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps installs it)"; exit 1; }
done
if [ -z "${LUMENO_E2E_DISPLAY:-}" ]; then
  exec env LUMENO_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$@"
fi

work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
ln -s "$source/Engine" Engine
mkdir screenshots

fail() { echo "FAIL: $*"; echo "--- program output:"; cat "$work/out.log" 2>/dev/null || true; exit 1; }

# Waits up to 30 s for a window whose title holds $1 and prints its id.
window() {
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

start() {
  "$app" >"$work/out.log" 2>&1 &
  pid=$!
}

# Exit from the menu: "Lumeno!" is the menu bar's first entry; x is Exit's mnemonic.
exit_from_menu() {
  local frame=$1
  eval "$(xdotool getwindowgeometry --shell "$frame")"
  xdotool mousemove $((X + 25)) $((Y + 10)) click 1
  sleep 1
  xdotool key x
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "Exit did not end the program"
  wait "$pid" || fail "the program ended with status $?"
  pid=
}

count_screenshots() { find screenshots -name '*.bmp' | wc -l; }

# --- A normal run on a small canvas from the settings file (652 x 351).
cp "$source/src/app/resources/135_settings.ar" settings_v4.ar
before=$(md5sum settings_v4.ar)
start
frame=$(window "Lumeno beta1") || fail "no main window"
window ":: Properties ::." >/dev/null || fail "no properties dialog"
xdotool windowfocus --sync "$frame"
sleep 2

# The splash takes the first key: this Enter saves nothing.
xdotool key Return
sleep 1
[ "$(count_screenshots)" -eq 0 ] || fail "the key that closed the splash also saved a screenshot"

# A pointer move and a left click re-emit around the pointer; Enter then saves the canvas.
eval "$(xdotool getwindowgeometry --shell "$frame")"
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
exit_from_menu "$frame"
echo "PASS"
