#!/usr/bin/env bash
# End to end: recording and fullscreen in the real program under a window manager
# (openbox on Xvfb). R starts and stops a film, which ffprobe must find playable, canvas-
# sized and holding every shown frame that was not dropped; closing the window while
# recording still leaves a playable film. F11 fills the screen without the menu bar, the
# canvas centred; Escape gives the window back. Once more at twice the scale.
# Usage: e2e_record_test.sh <lumeno executable> <source tree>
# With LUMENO_E2E_SHOTS set to a folder, the screenshots are kept there.
set -euo pipefail

app=$1
source=$2
. "$(dirname "$0")/e2e_common.sh"
e2e_require xvfb-run openbox xdotool xprop xwininfo import convert ffprobe
screen_w=1280
screen_h=900
e2e_on_screen "${screen_w}x${screen_h}" "$@"
e2e_setup

# The small canvas of the splash's settings, made 652 x 350: an even size, which an H.264
# film keeps as it is.
canvas_w=652
canvas_h=350
cp "$source/src/app/resources/135_settings.ar" settings_v4.ar
printf '\x5e\x01\x00\x00' | dd of=settings_v4.ar bs=1 seek=4 conv=notrunc status=none

start() {
  env "$@" "$app" >"$work/out.log" 2>&1 &
  pid=$!
  frame=$(window "Lumeno beta1") || fail "no main window"
  dialog=$(window ":: Properties ::.") || fail "no properties dialog"
  xdotool windowactivate --sync "$frame"
  xdotool key shift # closes the splash
  sleep 1
}

title_says_recording() { xdotool getwindowname "$frame" | grep -q -- ' - recording$'; }
title_is_plain() { [ "$(xdotool getwindowname "$frame")" = "   .:: Lumeno beta1 ::." ]; }
fullscreen() { xprop -id "$frame" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN; }
not_fullscreen() { ! fullscreen; }
film_line_count() { grep -c '^lumeno: recordings/.*: [0-9]* frames shown' "$work/out.log" || true; }
one_more_film_line() { [ "$(film_line_count)" -gt "$1" ]; }

# Checks the film named by the last summary line on standard error:
# "lumeno: <film>: N frames shown, W written, D dropped".
check_last_film() {
  local line film shown written dropped probed
  line=$(grep '^lumeno: recordings/.*: [0-9]* frames shown' "$work/out.log" | tail -n 1)
  [[ $line =~ ^lumeno:\ (recordings/[0-9]{6}-[0-9]{6}(-[0-9]+)?\.mp4):\ ([0-9]+)\ frames\ shown,\ ([0-9]+)\ written,\ ([0-9]+)\ dropped$ ]] ||
    fail "no summary of a written film on standard error: '$line'"
  film=${BASH_REMATCH[1]}
  shown=${BASH_REMATCH[3]}
  written=${BASH_REMATCH[4]}
  dropped=${BASH_REMATCH[5]}
  [ "$shown" -gt 0 ] || fail "$film: no frame was shown while recording"
  [ $((written + dropped)) -eq "$shown" ] || fail "$film: $written written + $dropped dropped is not $shown shown"
  [ -f "$film" ] || fail "$film is missing"
  probed=$(ffprobe -v error -count_frames -select_streams v:0 \
    -show_entries stream=codec_name,width,height,nb_read_frames -of csv=p=0 "$film") ||
    fail "ffprobe cannot read $film"
  [ "$probed" = "h264,$canvas_w,$canvas_h,$written" ] ||
    fail "$film holds '$probed', not h264,$canvas_w,$canvas_h,$written"
  echo "film $film: $shown shown, $written written, $dropped dropped"
}

# Fullscreen: the frame covers the screen, and the only thing on it that is not the
# window colour is the canvas, centred.
check_fullscreen_picture() {
  local shot=$1 box expected_x expected_y bx by bw bh
  xdotool key F11
  poll fullscreen || fail "F11 did not make the window fullscreen"
  sleep 1
  geometry "$frame"
  [ "$X,$Y,$WIDTH,$HEIGHT" = "0,0,$screen_w,$screen_h" ] ||
    fail "fullscreen, the window is at $X,$Y and ${WIDTH}x$HEIGHT, not the whole screen"
  import -window root "$work/$shot"
  [ -n "${LUMENO_E2E_SHOTS:-}" ] && cp "$work/$shot" "$LUMENO_E2E_SHOTS/"
  # Trimmed of the window colour (the corner pixel's), the screen is the canvas alone;
  # a menu bar would widen the box upwards and push the canvas down.
  box=$(convert "$work/$shot" -fuzz 3% -trim -format '%w %h %X %Y' info:)
  read -r bw bh bx by <<<"${box//+/}"
  expected_x=$(((screen_w - canvas_w) / 2))
  expected_y=$(((screen_h - canvas_h) / 2))
  [ "$bw" -le "$canvas_w" ] && [ "$bh" -le "$canvas_h" ] && [ "$bw" -ge $((canvas_w - 40)) ] &&
    [ "$bh" -ge $((canvas_h - 40)) ] || fail "fullscreen shows a ${bw}x$bh picture, not the ${canvas_w}x$canvas_h canvas alone"
  [ "$bx" -ge "$expected_x" ] && [ "$by" -ge "$expected_y" ] && [ $((bx + bw)) -le $((expected_x + canvas_w)) ] &&
    [ $((by + bh)) -le $((expected_y + canvas_h)) ] ||
    fail "the picture lies at $bx,$by ${bw}x$bh, outside the centred canvas at $expected_x,$expected_y"
  xdotool key Escape
  poll not_fullscreen || fail "Escape did not leave fullscreen"
  sleep 0.5
  geometry "$frame"
  [ "$Y" -gt 0 ] || fail "after Escape the window still starts at the top of the screen (no title bar)"
}

# --- R, three seconds, R: a film of every frame shown but those dropped.
start
xdotool windowactivate --sync "$dialog"
xdotool key Escape # hides the dialog, so the screen shows the canvas alone
xdotool windowactivate --sync "$frame"
not_fullscreen || fail "Escape in the dialog made the window fullscreen"
xdotool key r
poll title_says_recording || fail "the caption does not say recording after R"
sleep 3
xdotool key r
box=$(window "^Recording$") || fail "no box after the recording stopped"
poll one_more_film_line 0 || fail "no summary on standard error"
check_last_film
xdotool windowactivate --sync "$box" key Return
poll title_is_plain || fail "the caption was not restored: '$(xdotool getwindowname "$frame")'"
[ -z "$(find recordings -name '*.part')" ] || fail "a temporary is left in recordings/"

# --- F11 and Escape.
xdotool windowactivate --sync "$frame"
check_fullscreen_picture fullscreen.png

# --- Closing the window while recording: the film ends with what it holds.
xdotool key r
poll title_says_recording || fail "the second recording did not start"
sleep 2
xdotool key alt+F4
for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "closing the window did not end the program"
wait "$pid" || fail "the program ended with status $?"
pid=
[ "$(film_line_count)" -eq 2 ] || fail "closing while recording wrote no summary"
check_last_film
[ "$(find recordings -name '*.mp4' | wc -l)" -eq 2 ] || fail "recordings/ does not hold the two films"

# --- Fullscreen at twice the scale: the canvas keeps its screen pixels, centred.
start QT_SCALE_FACTOR=2
xdotool windowactivate --sync "$dialog"
xdotool key Escape
xdotool windowactivate --sync "$frame"
check_fullscreen_picture fullscreen-scale2.png
echo "PASS"
