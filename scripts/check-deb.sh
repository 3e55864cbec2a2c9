#!/usr/bin/env bash
# Builds the Debian package for the release this machine runs (build-deb/
# pallstone_<version>_debian<N>_amd64.deb) and proves that it installs and uninstalls cleanly with
# apt on a clean root of that release:
#   1. dpkg-deb -I/-c: the control data and the files are the expected ones;
#   2. mmdebstrap makes a minimal root of the same release (kept as a pristine copy for later
#      runs);
#      `apt-get install ./pallstone.deb` in a fresh copy of it resolves every dependency from
#      the archive; the programs start there; the service answers MenuForMenuKind on a private
#      session bus; `apt-get purge` removes every file the package brought (the five bridges
#      included).
# Needs root and the network (the first run downloads the root: a few minutes), so it is not
# part of `make test`. --build-only stops after the package; --simulate replaces step 2 with
# `apt-get install --simulate` on this machine when no root can be made.
set -euo pipefail

mode=full
case "${1:-}" in
  --build-only) mode=build ;;
  --simulate) mode=simulate ;;
  "") ;;
  *) echo "usage: $0 [--build-only|--simulate]" >&2; exit 2 ;;
esac

cd "$(dirname "$0")/.."
build=${DEB_BUILD:-build-deb}
jobs=${JOBS:-$(nproc)}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF -DPALLSTONE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$jobs"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$PWD/$build"/pallstone_*_amd64.deb | head -n 1)
echo "check-deb: built $deb"

dpkg-deb -I "$deb"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | sort > "$build/deb-files.txt"
bridges=(
  "$(pkg-config --variable=extensiondir libnautilus-extension-4)/libpallstone-nautilus.so"
  "$(pkg-config --variable=extensiondir libnemo-extension)/libpallstone-nemo.so"
  "$(pkg-config --variable=extensiondir libcaja-extension)/libpallstone-caja.so"
  "$(pkg-config --variable=extensionsdir thunarx-3)/libpallstone-thunar.so"
)
# The Dolphin bridge of each KDE Frameworks generation this release builds.
[ ! -f "$build/bridges/dolphin/kf6/pallstone-dolphin.so" ] || bridges+=(
  "$(/usr/lib/qt6/bin/qtpaths6 --query QT_INSTALL_PLUGINS)/kf6/kfileitemaction/pallstone-dolphin.so")
[ ! -f "$build/bridges/dolphin/kf5/pallstone-dolphin.so" ] || bridges+=(
  "$(/usr/lib/qt5/bin/qmake -query QT_INSTALL_PLUGINS)/kf5/kfileitemaction/pallstone-dolphin.so")
for f in /usr/bin/pallstone /usr/bin/pallstone-extension \
         "/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/pallstone/pallstone-convert.so" \
         /usr/share/dbus-1/services/com.tolvane.pallstone.extension.service \
         /usr/share/applications/pallstone.desktop \
         /etc/xdg/autostart/pallstone-extension.desktop \
         /usr/share/icons/hicolor/scalable/apps/pallstone.svg \
         /usr/share/pallstone/icons/set.svg "${bridges[@]}"; do
  grep -qx "$f" "$build/deb-files.txt" || { echo "check-deb: $f is missing" >&2; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6core6 libqt6dbus6 libqt6widgets6 libplist qt6-qpa-plugins libvips42 libqpdf; do
  grep -q "$d" <<<"$depends" || { echo "check-deb: Depends lacks $d: $depends" >&2; exit 1; }
done
# A bridge's libraries come with its file manager: none of them is forced on every desktop.
for d in libkf5 libkf6 libqt5 libnemo libcaja libthunarx libnautilus; do
  ! grep -q "$d" <<<"$depends" || { echo "check-deb: Depends forces $d: $depends" >&2; exit 1; }
done
echo "check-deb: control data and file list are complete"
[ "$mode" = build ] && exit 0

if [ "$mode" = simulate ]; then
  apt-get install --simulate "$deb"
  echo "check-deb: apt resolves every dependency on this machine (simulated)"
  exit 0
fi

[ "$(id -u)" -eq 0 ] || { echo "check-deb: needs root (chroot); try --simulate" >&2; exit 1; }
command -v mmdebstrap >/dev/null ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends mmdebstrap
release=$(. /etc/os-release && echo "${VERSION_CODENAME:?}")
base=${DEB_ROOT_CACHE:-/var/tmp/pallstone-$release-base}
if [ ! -x "$base/usr/bin/apt-get" ]; then
  rm -rf --one-file-system "$base"
  # Testing's Release files in the mirror can be past their validity date.
  mmdebstrap --variant=minbase --aptopt='Acquire::Check-Valid-Until "false"' \
    "$release" "$base" http://deb.debian.org/debian
fi

root=$(mktemp -d /var/tmp/pallstone-deb-root.XXXXXX)
cleanup() {
  mountpoint -q "$root/proc" && umount "$root/proc"
  # Never delete through a mount that is still there.
  mountpoint -q "$root/proc" || rm -rf --one-file-system "$root"
}
trap cleanup EXIT
cp -a "$base/." "$root/"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
cp "$deb" "$root/tmp/pallstone.deb"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
  DEBIAN_FRONTEND=noninteractive "$@"; }

in_root apt-get update -qq
in_root dpkg-query -W -f='${Package}\n' | sort > "$root/tmp/before.txt"
in_root apt-get install -y --no-install-recommends /tmp/pallstone.deb
in_root dpkg -L pallstone | sort > "$root/tmp/owned.txt"
in_root pallstone --version
in_root pallstone-extension --version
# The installed service, started by its activation file on a private bus, answers a menu.
in_root sh -c 'mkdir -p /tmp/w && cd /tmp/w && pallstone setup >/dev/null &&
  dbus-run-session -- gdbus call --session --dest com.tolvane.pallstone.extension \
    --object-path /com/tolvane/pallstone/ContextMenu \
    --method com.tolvane.pallstone.ContextMenu.MenuForMenuKind 1 "[]" "file:///tmp/w"' \
  2>/dev/null | tee "$root/tmp/menu.txt" | cut -c1-200
grep -q "'New File'" "$root/tmp/menu.txt" ||
  { echo "check-deb: the installed service gave no menu" >&2; exit 1; }

in_root apt-get purge -y pallstone
in_root apt-get autoremove --purge -y >/dev/null
left=$(while read -r f; do [ -f "$root$f" ] && echo "$f"; done < "$root/tmp/owned.txt" || true)
[ -z "$left" ] || { echo "check-deb: left behind after purge: $left" >&2; exit 1; }
in_root dpkg-query -W -f='${Package}\n' | sort > "$root/tmp/after.txt"
gone=$(comm -23 "$root/tmp/before.txt" "$root/tmp/after.txt")
[ -z "$gone" ] || { echo "check-deb: the purge took away packages of the root: $gone" >&2; exit 1; }
# What the install pulled in must go with the purge. Debian 13's apt keeps some of it (systemd
# among them) even through autoremove: that is allowed when each is marked as pulled in and apt
# would remove nothing more.
stayed=$(comm -13 "$root/tmp/before.txt" "$root/tmp/after.txt")
if [ -n "$stayed" ]; then
  manual=$(in_root apt-mark showmanual | sort | comm -12 - <(echo "$stayed"))
  [ -z "$manual" ] || { echo "check-deb: the purge left packages marked as installed by hand:" \
    "$manual" >&2; exit 1; }
  more=$(in_root apt-get autoremove --purge --simulate | grep -E '^(Purg|Remv) ' || true)
  [ -z "$more" ] || { echo "check-deb: apt would still remove: $more" >&2; exit 1; }
  echo "check-deb: apt keeps these dependencies after the purge and autoremove:" $stayed
fi
echo "check-deb: installs, runs and purges cleanly on a clean $release root"
