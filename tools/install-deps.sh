#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, once.
# Idempotent: does nothing when every package is already there. With --bench it also
# installs what `make bench` measures the program by (time); with --peers, the programs
# `make bench-peers` compares it with: xterm with its fonts (without them xterm takes a slow
# path), cmus, mpd and mpc, find and fd; with --fuzz, clang and its fuzzer runtime for
# `make fuzz`.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  qt6-base-dev
  # the media players
  libmpv-dev
  # pictures beyond Qt's own BMP, PNG, JPEG, GIF and ICO/CUR: WebP, TIFF, TGA and more
  qt6-image-formats-plugins
  fonts-liberation fonts-dejavu-core fontconfig
  # character widths and right-to-left order on the console
  libicu-dev
  # small fallback fonts for the glyphs the console font lacks: CJK (WenQuanYi Micro Hei)
  # and emoji drawn as outlines in the text colour (Symbola)
  fonts-wqy-microhei fonts-symbola
  # vldmake reads tags with TagLib; the sample database's tracks are encoded with lame
  libtag1-dev lame
  libgtest-dev libgmock-dev libbenchmark-dev
  # the desktop-files test checks the launcher entry, the metainfo and the manual pages;
  # `make deb` finds the package's dependencies with dpkg-shlibdeps (dpkg-dev)
  desktop-file-utils appstream groff-base dpkg-dev
  # the end-to-end test drives the window in a real X server
  xvfb xauth xdotool
  # the media-controls test runs a private D-Bus daemon
  dbus-daemon
)
case "${1:-}" in
  --bench) packages+=(python3 time) ;;
  --peers) packages+=(python3 time xterm xfonts-base cmus mpd mpc findutils fd-find) ;;
  --fuzz) packages+=(clang libclang-rt-dev) ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
