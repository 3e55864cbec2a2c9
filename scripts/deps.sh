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
  # the Dolphin bridge (KF6 or KF5 KIO: chosen below from what the release offers)
  extra-cmake-modules
  # the Debian package (CPack runs dpkg-shlibdeps)
  dpkg-dev file
  # the check for unused code (make unused)
  cppcheck
  # the fuzz targets (make fuzz): clang and its libFuzzer runtime
  clang
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
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

# The releases whose package names this list was tried on. Testing and unstable carry the next
# release's code name and no version number.
. /etc/os-release
case "${VERSION_CODENAME:-}" in
  bookworm | trixie | forky | sid) ;;
  *)
    echo "deps: ${PRETTY_NAME:-this system} is not a release Pallstone knows how to set up" \
      "(Debian 12 bookworm, 13 trixie, testing and unstable are); install the packages" \
      "named in $0 by hand" >&2
    exit 1
    ;;
esac

# A fresh system has no package lists yet, and apt-cache knows nothing before they are read.
if ! apt-cache show --no-all-versions cmake >/dev/null 2>&1; then
  $sudo apt-get update
fi

# Prints the first of the given packages that the release offers.
offered() {
  local p
  for p in "$@"; do
    if [[ "$(apt-cache policy "$p" 2>/dev/null)" =~ Candidate:\ [^\(] ]]; then
      echo "$p"
      return 0
    fi
  done
  return 1
}

# The libFuzzer runtime: one name for every compiler version where the release has it.
fuzz_runtime=$(offered libclang-rt-dev libclang-rt-14-dev) || {
  echo "deps: the release offers no libFuzzer runtime (libclang-rt-dev)" >&2
  exit 1
}
packages+=("$fuzz_runtime")

# Qt's SVG image and icon plugins (the folder icons, the menu's icons): in libqt6svg6 up to Qt 6.4,
# a package of their own since.
if svg=$(offered qt6-svg-plugins); then
  packages+=("$svg")
fi

# The start benchmark's timer (bench/bench_start.sh), where the release has it: testing has
# been without it at times.
if timer=$(offered hyperfine); then
  packages+=("$timer")
fi

# The Dolphin bridge follows the Dolphin of the release: KF6 KIO on Qt 6 where the release has
# it, KF5 KIO on Qt 5 otherwise (KF5's CMake files look for Qt 6's Core5Compat once Qt 6 is found
# in the same project).
if kio=$(offered libkf6kio-dev); then
  packages+=("$kio")
elif kio=$(offered libkf5kio-dev); then
  packages+=("$kio" qtbase5-dev qt6-5compat-dev)
else
  echo "deps: the release offers neither KF6 nor KF5 KIO: the Dolphin bridge will not be built" >&2
fi

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

$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
