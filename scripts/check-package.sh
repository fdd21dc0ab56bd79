#!/usr/bin/env bash
# check-package.sh [BUILD_DIR]: builds the Debian package in BUILD_DIR (default build/, already
# built) and checks it as a user would get it: unpacked into a scratch root, its programs run
# from there, and its desktop entry, AppStream metadata, picture types, icons and manual pages
# pass their validators. With CI=true it is also installed with apt and removed again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$root/build}")

fail() {
  echo "check-package: $*" >&2
  exit 1
}

log=$(cmake --build "$build" --target package 2>&1) || fail "cpack failed:"$'\n'"$log"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/quennetapp_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no package $deb"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch/root"
usr=$scratch/root/usr

[ "$("$usr/bin/quennet" --version)" = "quennet $version" ] || fail "quennet --version is not $version"
[ "$("$usr/bin/quennetapp" --version)" = "quennetapp $version" ] ||
  fail "quennetapp --version is not $version"
"$usr/bin/quennet" -u Scale2x -o "$scratch/sample2x.png" "$root/assets/sample.png"
file "$scratch/sample2x.png" | grep -q 'PNG image data, 64 x 64' ||
  fail "the unpacked quennet wrote no 64 x 64 PNG from the 32 x 32 sample"

for size in 16 32 48 64 128 256; do
  file "$usr/share/icons/hicolor/${size}x$size/apps/quennetapp.png" |
    grep -q "PNG image data, $size x $size" || fail "no $size x $size icon"
done

desktop-file-validate "$usr/share/applications/quennetapp.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$usr/share/metainfo/"*.metainfo.xml >/dev/null ||
  fail "AppStream metadata: $(appstreamcli validate --no-net "$usr/share/metainfo/"*.metainfo.xml)"

# The picture types build into a database of their own, without a complaint.
mkdir -p "$scratch/mime/packages"
cp "$usr/share/mime/packages/quennetapp.xml" "$scratch/mime/packages/"
complaints=$(XDG_DATA_DIRS=$scratch update-mime-database "$scratch/mime" 2>&1)
[ -z "$complaints" ] && [ -f "$scratch/mime/image/x-aseprite.xml" ] ||
  fail "picture types: ${complaints:-image/x-aseprite missing}"

for page in "$usr/share/man/man1/"*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

if [ "${CI:-}" = true ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -q "$deb" >/dev/null
  installed=$(quennet --version)
  "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 remove -y -q quennetapp >/dev/null
  [ "$installed" = "quennet $version" ] || fail "the installed quennet says \"$installed\""
  ! command -v quennetapp >/dev/null || fail "quennetapp is still there after apt-get remove"
fi
echo "check-package: $(basename "$deb") unpacks, runs and validates"
