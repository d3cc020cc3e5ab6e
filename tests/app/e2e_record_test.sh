#!/usr/bin/env bash
# End to end: recording and fullscreen in the real program under a window manager
# (openbox on Xvfb). R starts and stops a film, which ffprobe must find playable, canvas-
# sized, holding the frames the summary counts and lasting as long as the recording took
# (however slowly llvmpipe shows frames); closing the window while recording still leaves
# a playable film. F11 fills the screen with the canvas alone,
# centred, at twice the scale too; Escape gives the window back.
# Usage: e2e_record_test.sh <lumeno executable> <source tree>
set -euo pipefail

. "$(dirname "$0")/e2e_common.sh"
e2e_require Xvfb openbox xdotool xprop xwininfo import convert ffprobe
e2e_on_screen 1280x900
e2e_setup
# The splash's canvas made 652 x 350: an even size, which an H.264 film keeps as it is.
printf '\x5e\x01\x00\x00' | dd of=settings_v4.ar bs=1 seek=4 conv=notrunc status=none

title() { xdotool getwindowname "$frame"; }
recording() { [[ $(title) == *' - recording' ]]; }
fullscreen() { xprop -id "$frame" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN; }
films() { grep -c '^lumeno: recordings/.*: [0-9]* frames shown' "$work/out.log"; }

# Seconds since the epoch, to the millisecond.
now() { date +%s.%3N; }

# The film of the last summary on standard error, "lumeno: <film>: N frames shown, W
# written, D dropped", holds W frames of the canvas, among them the N - D pictures that
# were not dropped, and plays for $1 seconds, the time between the keys that started and
# ended it, within 5 % and a tenth of a second for the keys' own delays.
check_last_film() {
  local line
  line=$(grep '^lumeno: recordings/.*: [0-9]* frames shown' "$work/out.log" | tail -n 1)
  [[ $line =~ ^lumeno:\ (recordings/[0-9]{6}-[0-9]{6}(-[0-9]+)?\.mp4):\ ([1-9][0-9]*)\ frames\ shown,\ ([0-9]+)\ written,\ ([0-9]+)\ dropped$ ]] ||
    fail "no summary of a written film on standard error: '$line'"
  local film=${BASH_REMATCH[1]} shown=${BASH_REMATCH[3]} written=${BASH_REMATCH[4]} dropped=${BASH_REMATCH[5]}
  [ $((shown - dropped)) -le "$written" ] || fail "$film: $written written cannot hold $shown shown - $dropped dropped"
  local probed
  probed=$(ffprobe -v error -count_frames -select_streams v:0 \
    -show_entries stream=codec_name,width,height,nb_read_frames -of csv=p=0 "$film") || fail "ffprobe cannot read $film"
  [ "$probed" = "h264,652,350,$written" ] || fail "$film holds '$probed', not h264,652,350,$written"
  local length
  length=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$film") || fail "ffprobe cannot time $film"
  awk -v film="$length" -v took="$1" 'BEGIN { d = film - took; exit !(d * d <= (0.05 * took + 0.1) ^ 2) }' ||
    fail "$film plays for $length s, but the recording took $1 s"
  echo "$film: $shown shown, $written written, $dropped dropped; plays $length s, recorded $1 s"
}

# The splash takes a key; Escape hides the dialog, to leave the canvas alone on the screen.
start_clear() {
  start "$@"
  xdotool windowactivate --sync "$frame" key shift sleep 1 windowactivate --sync "$dialog" key Escape
}
start_clear
xdotool windowactivate --sync "$frame"
began=$(now)
xdotool key r
poll recording || fail "the caption does not say recording after R"
sleep 3
xdotool key r
took=$(awk -v a="$began" -v b="$(now)" 'BEGIN { print b - a }')
box=$(window "^Recording$") || fail "no box after the recording stopped"
poll eval '[ "$(films)" = 1 ]' || fail "no summary on standard error"
check_last_film "$took"
xdotool windowactivate --sync "$box" key Return
poll eval '[ "$(title)" = "   .:: Lumeno beta1 ::." ]' || fail "the caption was not restored: '$(title)'"
[ -z "$(find recordings -name '*.part')" ] || fail "a temporary is left in recordings/"

# Fullscreen: the frame covers the screen, and all on it that is not the window colour
# (the corner pixel's) is the canvas, centred in its screen pixels at any scale; a menu
# bar would push it down.
check_fullscreen() {
  xdotool windowactivate --sync "$frame" key F11
  poll fullscreen || fail "F11 did not make the window fullscreen"
  sleep 1
  geometry "$frame"
  [ "$X,$Y,$WIDTH,$HEIGHT" = "0,0,1280,900" ] || fail "fullscreen, the window is at $X,$Y and ${WIDTH}x$HEIGHT"
  import -window root "$1"
  read -r bw bh bx by <<<"$(convert "$1" -fuzz 3% -trim -format '%w %h %X %Y' info: | tr -d +)"
  ((bw <= 652 && bh <= 350 && bw >= 612 && bh >= 310)) || fail "fullscreen shows a ${bw}x$bh picture, not the canvas alone"
  ((bx >= 314 && by >= 275 && bx + bw <= 966 && by + bh <= 625)) || fail "the picture lies at $bx,$by, outside the centred canvas"
  xdotool key Escape
  poll eval '! fullscreen' || fail "Escape did not leave fullscreen"
  sleep 0.5
  geometry "$frame"
  [ "$Y" -gt 0 ] || fail "after Escape the window still starts at the top of the screen (no title bar)"
}
check_fullscreen fullscreen.png

# Closing the window while recording: the film ends with what it holds.
began=$(now)
xdotool key r
poll recording || fail "the second recording did not start"
sleep 2
xdotool key alt+F4
took=$(awk -v a="$began" -v b="$(now)" 'BEGIN { print b - a }')
ended
[ "$(films)" -eq 2 ] || fail "closing while recording wrote no summary"
check_last_film "$took"
[ "$(find recordings -name '*.mp4' | wc -l)" -eq 2 ] || fail "recordings/ does not hold the two films"
start_clear QT_SCALE_FACTOR=2
check_fullscreen fullscreen-scale2.png
echo "PASS"
