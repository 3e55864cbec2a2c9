#!/usr/bin/env bash
# Proves the product's main promise as a new user meets it on Debian 12 under X: after an install
# (as `make run` does as root: /usr/local; or, with --user-home, a user install into a home
# folder), each file manager started in a fresh session shows Pallstone's entries on the first
# right-click on a folder's background, and New File > a text type creates the file.
#
# Each file manager runs under Xvfb with the xcb platform on its own session bus, as a desktop
# session does: the session's autostart entries are started first (--no-autostart leaves them
# out, so the bridges meet a service that is not running yet). The menu is read through the
# accessibility bus (AT-SPI; Dolphin's with the keyboard); pictures of each step and each file
# manager's log go to the output folder (default: BUILD_DIR/file-manager-check). The user's
# configuration is seeded with `pallstone setup`, as the settings application does at its first
# start.
#
# Needs root (the bridges live in the file managers' system folders). What it installs is
# removed afterwards, unless Pallstone was installed in that prefix before; bridges that were in
# the system folders are put back. Not part of `make test`.
#
# With --hide, each file manager instead hides the first item of its folder with "Hide Selected
# Items" and shows it again with "Unhide All Items": the view must follow both without a refresh.
#
# usage: scripts/check-file-managers.sh [--user-home] [--no-autostart] [--hide] [--out DIR]
#                                       [BUILD_DIR] [nautilus|nemo|caja|thunar|dolphin ...]
set -euo pipefail

user_home=0 autostart=1 hide=0 out="" build=""
managers=()
while [ $# -gt 0 ]; do
  case "$1" in
    --user-home) user_home=1 ;;
    --no-autostart) autostart=0 ;;
    --hide) hide=1 ;;
    --out) out=$2; shift ;;
    nautilus|nemo|caja|thunar|dolphin) managers+=("$1") ;;
    -*) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2; exit 2 ;;
    *) build=$1 ;;
  esac
  shift
done
[ ${#managers[@]} -gt 0 ] || managers=(nautilus nemo caja thunar dolphin)
[ "$(id -u)" -eq 0 ] || { echo "check-file-managers: needs root" >&2; exit 1; }

root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh" --file-managers >/dev/null
for tool in Xvfb xdotool import dbus-run-session gdbus; do
  command -v "$tool" >/dev/null ||
    { echo "check-file-managers: $tool is missing (scripts/deps.sh)" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
  { echo "check-file-managers: python3-pyatspi is missing (scripts/deps.sh)" >&2; exit 1; }

work=$(mktemp -d /tmp/pallstone-check-fm.XXXXXX)
chmod 755 "$work"
placed=()
saved=()
uninstall=""
cleanup() {
  for f in "${placed[@]}"; do rm -f "$f"; done
  [ -z "$uninstall" ] || cmake --build "$uninstall" --target uninstall >/dev/null || true
  # Bridges that were in the system folders before the run are put back as they were.
  for f in "${saved[@]}"; do install -D -m 644 "$work/saved$f" "$f"; done
  rm -rf "$work"
}
trap cleanup EXIT

# The user install's paths are compiled in: its home stays the same between runs, so that its
# build is not redone from scratch each time.
if [ "$user_home" = 1 ]; then
  home=/var/tmp/pallstone-check-home
  rm -rf "$home"
  mkdir -p "$home"
  build=${build:-build-user}
  prefix=$home/.local
  options=(-DPALLSTONE_USER_INSTALL=ON)
else
  home=$work/home
  mkdir -p "$home"
  build=${build:-build}
  prefix=/usr/local
  options=(-DPALLSTONE_USER_INSTALL=OFF)
fi
[[ "$build" = /* ]] || build="$root/$build"
out=${out:-$build/file-manager-check}
mkdir -p "$out"
out=$(cd "$out" && pwd)

cd "$root"
HOME=$home cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >/dev/null
targets=(pallstone pallstone-extension)
# Read whole: grep -q would end the pipe early, and pipefail then counts the target as missing.
help=$(cmake --build "$build" --target help)
for t in pallstone-nautilus pallstone-nemo pallstone-caja pallstone-thunar pallstone-dolphin-kf6 \
  pallstone-dolphin-kf5; do
  grep -q "^$t:" <<<"$help" && targets+=("$t")
done
cmake --build "$build" -j "${JOBS:-$(nproc)}" --target "${targets[@]}"
[ "$user_home" = 1 ] || [ -e "$prefix/bin/pallstone-extension" ] || uninstall=$build
# Qt's plugin folders of the KDE Frameworks generations this machine has (Dolphin on Plasma 6
# loads kf6/, on Plasma 5 kf5/).
qt6_plugins=$(/usr/lib/qt6/bin/qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || true)
qt5_plugins=$(/usr/lib/qt5/bin/qmake -query QT_INSTALL_PLUGINS 2>/dev/null || true)
bridge_dirs=(
  "$(pkg-config --variable=extensiondir libnautilus-extension-4)/libpallstone-nautilus.so"
  "$(pkg-config --variable=extensiondir libnemo-extension)/libpallstone-nemo.so"
  "$(pkg-config --variable=extensiondir libcaja-extension)/libpallstone-caja.so"
  "$(pkg-config --variable=extensionsdir thunarx-3)/libpallstone-thunar.so"
)
[ -z "$qt6_plugins" ] || bridge_dirs+=("$qt6_plugins/kf6/kfileitemaction/pallstone-dolphin.so")
[ -z "$qt5_plugins" ] || bridge_dirs+=("$qt5_plugins/kf5/kfileitemaction/pallstone-dolphin.so")
for f in "${bridge_dirs[@]}"; do
  [ -f "$f" ] || continue
  install -D -m 644 "$f" "$work/saved$f"
  saved+=("$f")
done
HOME=$home cmake --install "$build" >/dev/null
echo "check-file-managers: installed into $prefix"

if [ "$user_home" = 1 ]; then
  # What `make run` tells a user to copy with sudo: file managers load bridges only from their
  # system folders.
  while read -r module dir; do
    [ -f "$prefix/lib/$module" ] || continue
    install -D -m 644 "$prefix/lib/$module" "$dir/$(basename "$module")"
    placed+=("$dir/$(basename "$module")")
  done <<EOF
nautilus/extensions-4/libpallstone-nautilus.so $(pkg-config --variable=extensiondir libnautilus-extension-4)
nemo/extensions-3.0/libpallstone-nemo.so $(pkg-config --variable=extensiondir libnemo-extension)
caja/extensions-2.0/libpallstone-caja.so $(pkg-config --variable=extensiondir libcaja-extension)
thunarx-3/libpallstone-thunar.so $(pkg-config --variable=extensionsdir thunarx-3)
qt6/plugins/kf6/kfileitemaction/pallstone-dolphin.so $qt6_plugins/kf6/kfileitemaction
qt5/plugins/kf5/kfileitemaction/pallstone-dolphin.so $qt5_plugins/kf5/kfileitemaction
EOF
fi

# One desktop session: the autostart entries first (the user's before the system's of the same
# name), then the file manager on the folder; the probe right-clicks once the window shows.
session() {
  # The accessibility bus on, before the file manager starts: GTK 4 and Qt register with it only
  # when it is there and enabled.
  gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.freedesktop.DBus.Properties.Set org.a11y.Status IsEnabled '<true>' >/dev/null
  /usr/bin/python3 -c 'import pyatspi; pyatspi.Registry.getDesktop(0).childCount'
  if [ "$AUTOSTART" = 1 ]; then
    for dir in "$HOME/.config/autostart" /etc/xdg/autostart; do
      entry=$dir/pallstone-extension.desktop
      [ -f "$entry" ] || continue
      read -r -a command <<<"$(sed -n 's/^Exec=//p' "$entry" | head -1)"
      "${command[@]}" >/dev/null 2>&1 &
      break
    done
  fi
  # Dolphin is worked with the keyboard: Qt 5 registers with the accessibility bus only now and
  # then, and Qt 6's Dolphin gives its menus' entries to it only once they have been hovered. A
  # file manager that did not register is started again (its first right-click is then checked).
  mode=menu
  [ "${START[0]}" != dolphin ] || mode=keys
  [ "$HIDE" = 0 ] || mode=hide
  for attempt in 1 2 3; do
    "${START[@]}" >>"$LOG" 2>&1 &
    pid=$!
    sleep 3
    [ "$mode" = menu ] || sleep 3
    status=0
    /usr/bin/python3 "$PROBE" "$mode" "$pid" "$FOLDER" "$SHOTS" || status=$?
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ "$status" = 3 ] || break
    echo "check-file-managers: start $attempt was not accessible, starting again" >&2
  done
  return "$status"
}

failed=()
display=90
for name in "${managers[@]}"; do
  command -v "$name" >/dev/null ||
    { echo "check-file-managers: $name is not installed" >&2; failed+=("$name"); continue; }
  folder=$home/Check-$name
  mkdir -p "$folder"
  printf 'notes\n' >"$folder/notes.md"
  rm -f "$folder/.hidden"
  [ "$hide" = 0 ] || printf 'hide me\n' >"$folder/hide-me.txt"
  # Each file manager meets a new user's configuration, as the settings application seeds it at
  # its first start (the service does not): what one run changed (the uses counted towards the
  # review invitation) does not reach the next.
  rm -rf "$home/.config/pallstone"
  HOME=$home "$prefix/bin/pallstone" setup >/dev/null
  case "$name" in
    nautilus) start=(nautilus --new-window "$folder") ;;
    nemo | caja) start=("$name" --no-desktop "$folder") ;;
    thunar | dolphin) start=("$name" "$folder") ;;
  esac
  runtime=$work/run-$name
  mkdir -m 700 -p "$runtime"
  display=$((display + 1))
  Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  sleep 1
  status=0
  env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$runtime" DISPLAY=":$display" LANG=C.UTF-8 \
    XDG_DATA_DIRS=/usr/local/share:/usr/share \
    GSETTINGS_BACKEND=memory QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    G_MESSAGES_DEBUG=all AUTOSTART=$autostart HIDE=$hide PROBE="$root/scripts/file-manager-probe.py" \
    FOLDER="$folder" SHOTS="$out/$name" LOG="$out/$name.log" \
    START="$(printf '%q ' "${start[@]}")" \
    dbus-run-session -- bash -c "$(declare -f session); eval \"START=(\$START)\"; session" ||
    status=$?
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  if [ "$status" = 0 ] && [ "$hide" = 1 ]; then
    echo "check-file-managers: $name: the view followed Hide and Unhide by itself"
  elif [ "$status" = 0 ]; then
    echo "check-file-managers: $name: entries on the first right-click; New File made a file"
  else
    echo "check-file-managers: $name: FAILED (see $out/$name.log and $out/$name-*.png)" >&2
    failed+=("$name")
  fi
done
echo "check-file-managers: pictures in $out"
[ ${#failed[@]} -eq 0 ] || { echo "check-file-managers: failed: ${failed[*]}" >&2; exit 1; }
