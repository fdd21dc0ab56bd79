#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tool need.
# Skips apt entirely when everything is already there, so repeated runs cost nothing.
set -euo pipefail

packages=(
  # toolchain and test frameworks
  g++ cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev clang-format
  # core: codecs
  libpng-dev zlib1g-dev libjpeg62-turbo-dev libtiff-dev libgif-dev libwebp-dev libjxr-dev libjxr-tools libstb-dev
  nlohmann-json3-dev
  # GUI: window, GL, fonts
  libsdl2-dev libglew-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core libgl1-mesa-dri
  # save dialog
  zenity
  # GUI tests: a real X server, input, drag and drop, window manager, screenshots
  xvfb xauth xdotool openbox x11-utils mesa-utils imagemagick
  # the other side of the clipboard
  xclip
  python3 python3-xlib python3-numpy python3-pil python3-fonttools
  # a peer the PNG size benchmark sets our files against
  optipng
  # the Debian package: built (dpkg-shlibdeps finds its dependencies), unpacked and its desktop
  # entry, metadata and manual pages validated
  dpkg-dev file desktop-file-utils appstream man-db shared-mime-info
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
echo "install-deps: installing ${missing[*]}" >&2
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 update -q
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
