#!/usr/bin/env bash
# Installs every Debian package that Pallstone needs to build, test and run. With
# --file-managers also the file managers themselves, a screen grabber and the accessibility bus,
# for scripts/screenshot-file-managers.sh and scripts/check-file-managers.sh (about 180 packages
# more; the tests do not need them).
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang-format
  # the blank OpenDocument templates are generated at build time
  python3
  # Qt 6
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools
  qt6-l10n-tools qt6-image-formats-plugins libqt6svg6
  # property lists, digests, checksums
  libplist-dev libplist++-dev libssl-dev zlib1g-dev libdeflate-dev
  # images, PDF, zip archives
  libvips-dev libqpdf-dev libzip-dev libfreetype-dev fonts-font-awesome
  # desktop integration: the bridges of Nautilus, Nemo, Caja and Thunar
  libglib2.0-dev libnautilus-extension-dev libnemo-extension-dev libcaja-extension-dev
  libthunarx-3-dev dbus dbus-x11 libglib2.0-bin
  # the Dolphin bridge: KF5 KIO on Qt 5 (KF5's CMake files look for Qt 6's Core5Compat once Qt 6
  # is found in the same project)
  libkf5kio-dev extra-cmake-modules qtbase5-dev qt6-5compat-dev
  # the Debian package (CPack runs dpkg-shlibdeps)
  dpkg-dev file
  # the check for unused code (make unused)
  cppcheck
  # the fuzz targets (make fuzz): clang and its libFuzzer runtime
  clang libclang-rt-14-dev
  # tests and benchmarks
  libgtest-dev libbenchmark-dev xvfb xauth p7zip-full unzip zip rhash
  # the colour picker on a virtual screen: paint the root window, move and click the pointer
  x11-xserver-utils xdotool
  # independent readers of converted images, icon files and PDFs; the conversion benchmark
  libvips-tools qpdf poppler-utils icnsutils
  # GVFS, whose metadata daemon keeps the folder icons GNOME, Cinnamon, MATE and Xfce show
  gvfs
  # a small Chinese font, for the Simplified Chinese screenshots (scripts/screenshots.sh)
  fonts-wqy-microhei
)
if [ "${1:-}" = "--file-managers" ]; then
  packages+=(nautilus nemo caja thunar dolphin imagemagick python3-pyatspi at-spi2-core)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "deps: everything is installed"
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
