# What the end-to-end scripts share, sourced by them: the checks for their tools, Xvfb, a
# working folder that goes when they end, the window manager, and the helpers that find
# windows and wait for things.

# Fails at once unless every tool named is installed.
e2e_require() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps installs it)"; exit 1; }
  done
}

# Runs the calling script again on a fresh Xvfb screen of $1 (WIDTHxHEIGHT) unless it is
# on one already; the rest are the script's own arguments.
e2e_on_screen() {
  local size=$1
  shift
  if [ -z "${LUMENO_E2E_DISPLAY:-}" ]; then
    exec env LUMENO_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 ${size}x24" "$0" "$@"
  fi
}

work=
pid=
wm=
e2e_cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  [ -n "$work" ] && rm -rf "$work"
}

fail() { echo "FAIL: $*"; echo "--- program output:"; cat "$work/out.log" 2>/dev/null || true; exit 1; }

# Polls `$@` every 0.1 s for up to 20 s.
poll() {
  for _ in $(seq 200); do "$@" && return 0; sleep 0.1; done
  return 1
}

wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# A working folder with the effect files, made current, and a window manager as users
# have one: it stacks, activates and decorates the windows.
e2e_setup() {
  work=$(mktemp -d)
  trap e2e_cleanup EXIT
  cd "$work"
  ln -s "$source/Engine" Engine
  openbox >"$work/openbox.log" 2>&1 &
  wm=$!
  poll wm_ready || fail "openbox did not start"
}

# The id of the visible window whose title holds $1, waiting up to 30 s.
window() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
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
