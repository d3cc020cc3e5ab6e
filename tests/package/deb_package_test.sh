#!/usr/bin/env bash
# The Debian package made with CPack from the build folder the tests run in: named
# lumeno_<version>_<arch>.deb, with the programs and desktop files, library dependencies
# from dpkg-shlibdeps, ffmpeg recommended, and no lintian errors. Skipped (77) where
# lintian is not installed.
# Usage: deb_package_test.sh <build folder> <project version>
set -euo pipefail
build=$1
version=$2

fail() { echo "FAIL: $*"; exit 1; }
command -v lintian >/dev/null || { echo "SKIP: lintian is missing (scripts/install-deps installs it)"; exit 77; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; fail "cpack failed"; }
deb=$out/lumeno_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$out"; fail "no ${deb##*/}"; }

contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/lumeno ./usr/bin/lumeno-render ./usr/share/applications/io.github.lumeno.Lumeno.desktop \
            ./usr/share/metainfo/io.github.lumeno.Lumeno.metainfo.xml ./usr/share/man/man6/lumeno.6.gz \
            ./usr/share/doc/lumeno/copyright ./usr/share/doc/lumeno/changelog.gz; do
  grep -q " $file\$" <<<"$contents" || fail "the package lacks $file"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "Depends lacks Qt's widgets library: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -f "$deb" Recommends | grep -qw ffmpeg || fail "ffmpeg is not recommended"

lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"
echo "PASS"
