#!/usr/bin/env bash
# End to end, installed: `cmake --install` staged under DESTDIR with the prefix /usr, as a
# package builds it. The staged lumeno-render renders from an empty folder with the
# installed effect file; a working folder's own Engine/ wins over it, and one without the
# effect file is named, not passed over. The staged program, started in an empty home
# folder with no XDG variables, opens its window without a box, works in
# ~/.local/share/lumeno and saves its screenshot there; in a folder with an Engine/ that
# lacks the effect file it shows the effect box there. Nothing is written into the staged
# tree.
# Usage: e2e_install_test.sh <build folder> <source tree> <project version>
set -euo pipefail

. "$(dirname "$0")/e2e_common.sh" # app=$1: the build folder until the install is staged
build=$app
version=$3
e2e_require Xvfb openbox xprop xdotool identify
for variable in $(env | sed -n 's/^\(XDG_[A-Z_]*\)=.*/\1/p'); do unset "$variable"; done

e2e_on_screen 1280x900
work=$(mktemp -d)
stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "the install failed"; }

# The programs, the data and the documents, and nothing else: no tests, no benchmarks.
listing() { (cd "$stage" && find . -mindepth 1 | sort); }
expected=$(
  printf '%s\n' ./usr ./usr/bin ./usr/bin/lumeno ./usr/bin/lumeno-render ./usr/share ./usr/share/doc \
    ./usr/share/doc/lumeno ./usr/share/doc/lumeno/README.md ./usr/share/lumeno ./usr/share/lumeno/Engine \
    ./usr/share/lumeno/Engine/Shaders ./usr/share/lumeno/Engine/Shaders/Lumeno.fx ./usr/share/lumeno/presets
  (cd "$source" && find presets -name '*.ar' | sed 's|^|./usr/share/lumeno/|')
  # The desktop entry, icons, metadata, manual pages and Debian's documents, whose own
  # test checks them.
  find "$stage" -mindepth 1 \( -path '*/applications*' -o -path '*/icons*' -o -path '*/metainfo*' \
    -o -path '*/man*' -o -name copyright -o -name changelog.gz \) -printf './%P\n'
)
[ "$(listing)" = "$(sort <<<"$expected")" ] || fail "the staged tree holds: $(listing)"
cmp -s "$stage/usr/share/lumeno/Engine/Shaders/Lumeno.fx" "$source/Engine/Shaders/Lumeno.fx" ||
  fail "the installed effect file is not the shipped one"
before=$(cd "$stage" && find . -printf '%p %s %T@ %m\n' | sort)

render=$stage/usr/bin/lumeno-render
[ "$("$render" --version)" = "lumeno-render $version" ] || fail "--version says '$("$render" --version)'"

# From an empty folder: the installed effect file; the picture lands in the working folder.
mkdir "$work/empty"
(cd "$work/empty" && "$render" --canvas 64x48 --particles 1000 --frames 3 --out shot.png) >"$work/out.log" 2>&1 ||
  fail "lumeno-render did not render from an empty folder"
identify "$work/empty/shot.png" | grep -q "PNG 64x48" || fail "no 64x48 PNG from the staged lumeno-render"

# A working folder with an Engine/ of its own: its effect file is the one read.
mkdir -p "$work/own/Engine/Shaders" "$work/bare/Engine/Shaders"
echo "not an effect" >"$work/own/Engine/Shaders/Lumeno.fx"
if (cd "$work/own" && "$render" --canvas 64x48 --frames 1 --out shot.png) >"$work/out.log" 2>&1; then
  fail "a broken effect file in the working folder was passed over"
fi
grep -qx "lumeno-render: Engine/Shaders/Lumeno.fx(1): no @technique" "$work/out.log" &&
  grep -qx "lumeno-render: DXErrorInfo: Failed to create Effect" "$work/out.log" ||
  fail "no effect message for the working folder's broken effect file"
[ ! -e "$work/own/shot.png" ] || fail "a picture was made without the working folder's effect file"
if (cd "$work/bare" && "$render" --canvas 64x48 --frames 1 --out shot.png) >"$work/out.log" 2>&1; then
  fail "an Engine/ without the effect file was passed over"
fi
grep -qx "lumeno-render: cannot read the effect file $work/bare/Engine/Shaders/Lumeno.fx: there is no such file" \
  "$work/out.log" || fail "the missing effect file is not named"

# A copy of the program without its data, outside the build folder: no source tree for it.
mkdir -p "$work/lonely/bin"
cp "$render" "$work/lonely/bin/"
if (cd "$work/empty" && "$work/lonely/bin/lumeno-render" --frames 1 --out lonely.png) >"$work/out.log" 2>&1; then
  fail "a program without its data rendered"
fi
grep -qx "lumeno-render: cannot read the effect file $work/empty/Engine/Shaders/Lumeno.fx: there is no such file, nor \
$work/lonely/share/lumeno/Engine/Shaders/Lumeno.fx; run lumeno-render in a folder that holds Engine/, as the repository root" \
  "$work/out.log" || fail "the program without its data does not name the places it looked in"

# The program from an empty home folder, as a menu starts it.
home=$work/home
mkdir "$home"
cd "$home"
e2e_window_manager
app=$stage/usr/bin/lumeno
start HOME="$home"
folder=$home/.local/share/lumeno
grep -qx "lumeno: no Engine/ here; working in $folder" "$work/out.log" || fail "the program did not say where it works"
[ -d "$folder/screenshots" ] && [ -d "$folder/recordings" ] || fail "no screenshots/ and recordings/ in $folder"
# Only the frame and the dialog have titles on the screen (the splash has none): no box.
no_box() {
  local window name
  for window in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    name=$(xdotool getwindowname "$window" 2>/dev/null || true)
    case $name in "" | *"Lumeno beta1"* | *":: Properties ::"*) ;; *) fail "a window '$name' is open" ;; esac
  done
}
no_box
xdotool windowfocus --sync "$frame"
sleep 2
xdotool key Return # takes the splash away
sleep 1
xdotool windowfocus --sync "$frame" key Return
poll eval "find '$folder/screenshots' -name '*.bmp' | grep -q ." || fail "Return saved no screenshot into $folder/screenshots"
no_box
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=

# A folder of the person's with Engine/ but no effect file: the effect box, no move.
cd "$work/bare"
env HOME="$home" "$app" >"$work/out.log" 2>&1 &
pid=$!
window "DXErrorInfo" >/dev/null || fail "no effect box for an Engine/ without the effect file"
grep -q "working in" "$work/out.log" && fail "the program left a folder that holds Engine/"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=

[ "$(cd "$stage" && find . -printf '%p %s %T@ %m\n' | sort)" = "$before" ] || fail "something was written into the staged tree"
echo "PASS"
