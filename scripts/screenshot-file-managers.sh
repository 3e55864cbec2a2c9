#!/usr/bin/env bash
# Starts Nemo, Caja, Thunar and Dolphin one after the other under Xvfb on a private session bus,
# each on a small folder with the bridge of a build folder (default: build), right-clicks the
# folder's background and saves a picture of the menu into docs/screenshots/<name>-menu.png.
# The GTK file managers read extensions only from their system folders: a bridge that is not
# installed is copied there for the run and removed after it (so root is needed); Dolphin finds
# its plugin through QT_PLUGIN_PATH. Not part of `make test`.
#
# usage: scripts/screenshot-file-managers.sh [BUILD_DIR] [nemo|caja|thunar|dolphin ...]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/screenshot-home.sh
. "$root/scripts/screenshot-home.sh"
build="${1:-build}"
[[ "$build" = /* ]] || build="$root/$build"
shift || true
managers=("$@")
[ ${#managers[@]} -gt 0 ] || managers=(nemo caja thunar dolphin)
out="$root/docs/screenshots"
mkdir -p "$out"
"$root/scripts/deps.sh" --file-managers
for tool in xvfb-run xdotool import dbus-run-session; do
  command -v "$tool" >/dev/null ||
    { echo "screenshot-file-managers: $tool is missing (scripts/deps.sh)" >&2; exit 1; }
done

placed=()
work="$(mktemp -d)"
cleanup() {
  for f in "${placed[@]}"; do rm -f "$f"; done
  rm -rf "$work"
}
trap cleanup EXIT

# Puts a GTK bridge where its file manager looks, unless one is installed there already.
place() {
  local module="$1" dir="$2"
  [ -f "$module" ] || { echo "screenshot-file-managers: build $module first" >&2; exit 1; }
  [ -e "$dir/$(basename "$module")" ] && return
  install -D -m 644 "$module" "$dir/$(basename "$module")"
  placed+=("$dir/$(basename "$module")")
}

shoot() {
  local name="$1"
  local home="$work/$name"
  screenshot_home "$home" "$build"
  local -a env=(env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config"
    XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache"
    XDG_DATA_DIRS="$home/.local/share:/usr/local/share:/usr/share"
    XDG_RUNTIME_DIR="$home/run" LANG=C.UTF-8 GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
    QT_PLUGIN_PATH="$work/plugins" QT_QPA_PLATFORM=xcb)
  "${env[@]}" "$build/app/pallstone" setup >/dev/null

  local -a start
  case "$name" in
    nemo) start=(nemo --no-desktop "$home/Documents") ;;
    caja) start=(caja --no-desktop "$home/Documents") ;;
    thunar) start=(thunar "$home/Documents") ;;
    dolphin) start=(dolphin "$home/Documents") ;;
  esac
  "${env[@]}" xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- bash -c '
    out=$1; shift
    "$@" >/dev/null 2>&1 &
    pid=$!
    owned() {
      gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner com.tolvane.pallstone.extension 2>/dev/null |
        grep -q true
    }
    window=$(xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | tail -1)
    sleep 3
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # The background of the view: below and right of the few items the folder holds.
    xdotool mousemove $((X + WIDTH * 2 / 3)) $((Y + HEIGHT * 3 / 4))
    # Dolphin loads its plugins at the first right-click, whose menu comes before the service.
    if ! owned; then
      xdotool click 3
      sleep 1
      xdotool key Escape
    fi
    for _ in $(seq 150); do owned && break; sleep 0.2; done
    sleep 1
    xdotool click 3
    sleep 2
    import -window root "$out"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  ' shoot "$out/$name-menu.png" "${start[@]}"
  echo "$out/$name-menu.png"
}

for name in "${managers[@]}"; do
  command -v "$name" >/dev/null ||
    { echo "screenshot-file-managers: $name is not installed, skipped" >&2; continue; }
  case "$name" in
    nemo) place "$build/bridges/nemo/libpallstone-nemo.so" \
      "$(pkg-config --variable=extensiondir libnemo-extension)" ;;
    caja) place "$build/bridges/caja/libpallstone-caja.so" \
      "$(pkg-config --variable=extensiondir libcaja-extension)" ;;
    thunar) place "$build/bridges/thunar/libpallstone-thunar.so" \
      "$(pkg-config --variable=extensionsdir thunarx-3)" ;;
    dolphin)
      # The bridge of the generation this Dolphin belongs to (its folder is named like the plugins').
      for kf in kf6 kf5; do
        [ -f "$build/bridges/dolphin/$kf/pallstone-dolphin.so" ] || continue
        mkdir -p "$work/plugins/$kf/kfileitemaction"
        ln -sf "$build/bridges/dolphin/$kf/pallstone-dolphin.so" "$work/plugins/$kf/kfileitemaction/"
      done ;;
    *) echo "screenshot-file-managers: unknown file manager $name" >&2; exit 2 ;;
  esac
  shoot "$name"
done
