#!/usr/bin/env bash
# The installed desktop files, staged with DESTDIR: the desktop entry and the AppStream
# metadata pass their validators and name what is installed, every icon size is there at
# its size, and the manual pages render without a warning and list every option that
# lumeno-render --help lists.
# Usage: desktop_files_test.sh <build folder> <project version>
set -euo pipefail
build=$1
version=$2
id=io.github.lumeno.Lumeno

fail() { echo "FAIL: $*"; exit 1; }
for tool in desktop-file-validate appstreamcli identify groff man; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
share=$stage/usr/share

desktop=$share/applications/$id.desktop
[ -f "$desktop" ] || fail "no desktop entry at ${desktop#"$stage"}"
desktop-file-validate "$desktop" || fail "desktop-file-validate refused the desktop entry"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
grep -qx "Exec=lumeno" "$desktop" || fail "the desktop entry does not start lumeno"
[ -x "$stage/usr/bin/lumeno" ] || fail "the desktop entry starts lumeno, which is not installed in bin"

metainfo=$share/metainfo/$id.metainfo.xml
[ -f "$metainfo" ] || fail "no AppStream metadata at ${metainfo#"$stage"}"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refused the metadata"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metadata's release is not version $version"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "the metadata launches no $id.desktop"

[ -f "$share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon"
for size in 16 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -f "$png" ] || fail "no ${size}x${size} icon"
  got=$(identify -format '%m %wx%h' "$png")
  [ "$got" = "PNG ${size}x${size}" ] || fail "the ${size}x${size} icon is $got"
done

for page in man6/lumeno.6 man1/lumeno-render.1; do
  gz=$share/man/$page.gz
  [ -f "$gz" ] || fail "no manual page ${gz#"$stage"}"
  warnings=$(gzip -dc "$gz" | groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "$page renders with warnings: $warnings"
  text=$(MANWIDTH=80 man -l "$gz" 2>/dev/null)
  grep -q "^NAME" <<<"$text" || fail "$page has no NAME section when rendered"
done

# Every option of the program's own usage text is described in its manual page.
page=$(MANWIDTH=200 man -l "$share/man/man1/lumeno-render.1.gz" 2>/dev/null)
options=$("$stage/usr/bin/lumeno-render" --help | grep -o -- '--[a-z-]*' | sort -u)
[ -n "$options" ] || fail "lumeno-render --help lists no options"
for option in $options; do
  grep -qE -- "$option([^a-z-]|\$)" <<<"$page" || fail "the lumeno-render manual page does not describe $option"
done
echo "PASS"
