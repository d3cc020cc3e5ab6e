# What the end-to-end scripts share, sourced by them: the checks for their tools, Xvfb, a
# working folder that goes when they end, the window manager, starting the program, and
# the helpers that find windows and wait for things. The scripts' arguments: <lumeno
# executable> <source tree>.

app=$1
source=$2

# Fails at once unless every tool named is installed.
e2e_require() {
  for tool in "$@"; do command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps installs it)"; exit 1; }; done
}

# Runs the calling script again on a fresh Xvfb screen of $1 (WIDTHxHEIGHT) unless it is
# on one already.
e2e_on_screen() {
  [ -n "${LUMENO_E2E_DISPLAY:-}" ] || exec env LUMENO_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 ${1}x24" "$0" "$app" "$source"
}

work= pid= wm=
e2e_cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  [ -n "$work" ] && rm -rf "$work"
}

fail() { echo "FAIL: $*"; echo "--- program output:"; cat "$work/out.log" 2>/dev/null; exit 1; }

# Polls `$@` every 0.1 s for up to 30 s.
poll() { for _ in $(seq 300); do "$@" && return 0; sleep 0.1; done; return 1; }

# A working folder with the effect files and the small settings file of the splash
# (652 x 351 canvas), made current, and a window manager as users have one: it stacks,
# activates and decorates the windows.
e2e_setup() {
  work=$(mktemp -d)
  trap e2e_cleanup EXIT
  cd "$work"
  ln -s "$source/Engine" Engine
  cp "$source/src/app/resources/135_settings.ar" settings_v4.ar
  openbox >"$work/openbox.log" 2>&1 &
  wm=$!
  poll eval "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" || fail "openbox did not start"
}

# The id of the visible window whose title holds $1, waiting up to 30 s.
window() { poll eval "xdotool search --onlyvisible --name '$1' 2>/dev/null | head -n 1 | grep ." && return 0; return 1; }

# Starts the program with the environment given ("NAME=value"...); frame and dialog are
# its windows.
start() {
  env "$@" "$app" >"$work/out.log" 2>&1 &
  pid=$!
  frame=$(window "Lumeno beta1") || fail "no main window"
  dialog=$(window ":: Properties ::.") || fail "no properties dialog"
}

# Waits for the program to end by itself, successfully.
ended() {
  poll eval '! kill -0 $pid 2>/dev/null' || fail "the program did not end"
  wait "$pid" || fail "the program ended with status $?"
  pid=
}

# X, Y, WIDTH, HEIGHT of window $1's client area on the screen. Under a reparenting window
# manager xdotool's geometry counts the frame's decoration twice; xwininfo's does not.
geometry() {
  local info
  info=$(xwininfo -id "$1")
  X=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  Y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  WIDTH=$(sed -n 's/.*Width: *//p' <<<"$info")
  HEIGHT=$(sed -n 's/.*Height: *//p' <<<"$info")
}
