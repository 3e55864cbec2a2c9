#!/usr/bin/env bash
# `make run`: builds, installs (root: system prefix /usr/local; otherwise ~/.local), starts the
# extension service and shows it: on a desktop the settings application opens (or Nautilus is
# restarted to load the bridge); without a display the menu the service builds for the working
# folder is printed through a real D-Bus call.
set -euo pipefail

build=${1:-build}
jobs=${JOBS:-$(nproc)}
here=$PWD
cd "$(dirname "$0")/.."

if [ "$(id -u)" -eq 0 ]; then
  prefix=/usr/local user=OFF
else
  prefix=$HOME/.local user=ON
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPALLSTONE_WERROR=ON \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DPALLSTONE_USER_INSTALL=$user
cmake --build "$build" -j "$jobs"
cmake --install "$build"
echo "run: installed into $prefix (cmake --build $build --target uninstall removes it)"

bin=$prefix/bin
name=com.tolvane.pallstone.extension
path=/com/tolvane/pallstone/ContextMenu

# A file:// URI for a path, every byte outside the unreserved set percent-encoded.
file_uri() {
  local LC_ALL=C s=$1 out="" c i
  for ((i = 0; i < ${#s}; i++)); do
    c=${s:i:1}
    case $c in
      [A-Za-z0-9/._~-]) out+=$c ;;
      *) out+=$(printf '%%%02X' "'$c") ;;
    esac
  done
  printf 'file://%s' "$out"
}

# Ends a service left from an earlier build (the bus activates the new one on the next call).
restart_service() {
  local pid
  pid=$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.GetConnectionUnixProcessID "$name" 2>/dev/null |
    sed -n 's/^(uint32 \([0-9]*\),)$/\1/p') || true
  if [ -n "$pid" ]; then
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.StartServiceByName "$name" 0 >/dev/null
}

show_menu() {
  "$bin/pallstone" setup >/dev/null
  restart_service
  echo "run: the menu for the background of $1 (MenuForMenuKind over D-Bus):"
  gdbus call --session --dest "$name" --object-path "$path" \
    --method com.tolvane.pallstone.ContextMenu.MenuForMenuKind 1 '[]' "$(file_uri "$1")" |
    sed 's/), (/),\n  (/g'
}

session_bus=${DBUS_SESSION_BUS_ADDRESS:-}
[ -n "$session_bus" ] || [ ! -S "/run/user/$(id -u)/bus" ] ||
  export DBUS_SESSION_BUS_ADDRESS="unix:path=/run/user/$(id -u)/bus"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  show_menu "$here"
  if "$bin/pallstone" --help 2>&1 | grep -q 'open the settings window'; then
    echo "run: opening the settings application"
    setsid -f "$bin/pallstone" >/dev/null 2>&1
  elif command -v nautilus >/dev/null; then
    echo "run: restarting Nautilus so that it loads the bridge"
    nautilus -q 2>/dev/null || true
    setsid -f nautilus "$here" >/dev/null 2>&1
  fi
  if [ "$user" = ON ]; then
    echo "run: file managers load bridges only from their system folders; to add these:"
    while read -r module pc variable relative; do
      [ -f "$prefix/lib/$relative/$module" ] || continue
      if [ "$pc" = qt6 ]; then
        ext="$(/usr/lib/qt6/bin/qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null)/kf6/kfileitemaction"
      elif [ "$pc" = qt5 ]; then
        ext="$(/usr/lib/qt5/bin/qmake -query QT_INSTALL_PLUGINS 2>/dev/null)/kf5/kfileitemaction"
      else
        ext=$(pkg-config --variable="$variable" "$pc" 2>/dev/null || true)
      fi
      echo "     sudo install -D -m 644 $prefix/lib/$relative/$module ${ext:-<extensiondir>}/$module"
    done <<'EOF2'
libpallstone-nautilus.so libnautilus-extension-4 extensiondir nautilus/extensions-4
libpallstone-nemo.so libnemo-extension extensiondir nemo/extensions-3.0
libpallstone-caja.so libcaja-extension extensiondir caja/extensions-2.0
libpallstone-thunar.so thunarx-3 extensionsdir thunarx-3
pallstone-dolphin.so qt6 - qt6/plugins/kf6/kfileitemaction
pallstone-dolphin.so qt5 - qt5/plugins/kf5/kfileitemaction
EOF2
  fi
else
  # No desktop: a private session bus for the service, gone when the call has been shown.
  export -f show_menu restart_service file_uri
  export bin name path
  dbus-run-session -- bash -c 'show_menu "$1"' run "$here" 2> >(grep -v 'fd limit' >&2)
fi
