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

work= pid= wm= xvfb= xvfb_log=
e2e_cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  [ -n "$xvfb_log" ] && rm -f "$xvfb_log"
  [ -n "$work" ] && rm -rf "$work"
}

# A fresh Xvfb screen of $1 (WIDTHxHEIGHT) for the calling script, gone when it ends, on
# the first display whose lock file it can take. Neither xvfb-run -a (it takes the first
# display without a lock file, which a test beside it may be taking at that moment) nor
# Xvfb -displayfd (it takes no lock, and a server starting beside it removes its socket
# while looking for a display of its own) keeps tests that run together apart. The server
# never resets: by default it does whenever its last client leaves, and a client that
# connects meanwhile (the window manager, after the check that the screen is up) is
# turned away.
e2e_on_screen() {
  local display
  trap e2e_cleanup EXIT
  xvfb_log=$(mktemp)
  for display in $(seq 20 99); do
    Xvfb ":$display" -screen 0 "${1}x24" -nolisten tcp -noreset >"$xvfb_log" 2>&1 &
    xvfb=$!
    # Ours when the lock file names it and it takes clients; a server that finds the
    # display held ends at once.
    poll eval "! kill -0 $xvfb 2>/dev/null || DISPLAY=:$display xprop -root >/dev/null 2>&1"
    if [ "$(tr -d ' ' <"/tmp/.X$display-lock" 2>/dev/null)" = "$xvfb" ] && kill -0 "$xvfb" 2>/dev/null; then
      export DISPLAY=:$display
      return 0
    fi
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  done
  xvfb=
  echo "FAIL: Xvfb found no free display: $(cat "$xvfb_log")"
  exit 1
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
  e2e_window_manager
}

# openbox on the screen, its log in $work.
e2e_window_manager() {
  openbox >"$work/openbox.log" 2>&1 &
  wm=$!
  poll eval "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" ||
    fail "openbox did not start on $DISPLAY: $(cat "$work/openbox.log"); Xvfb: $(cat "$xvfb_log")"
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
