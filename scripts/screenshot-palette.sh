#!/usr/bin/env bash
# Shows the palette over a file manager under Xvfb on a private session bus and saves a picture
# into docs/screenshots/palette-<en|zh_CN>.png: the file manager (default: nemo) opens a small folder,
# a file is right-clicked so that the file manager's bridge reports it to the service, the menu
# is closed, `pallstone-extension palette` opens the palette and a few letters are typed. Uses the
# bridge installed on the system (scripts/screenshot-file-managers.sh places one). Not part of
# `make test`.
#
# usage: scripts/screenshot-palette.sh [BUILD_DIR] [FILE_MANAGER]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/screenshot-home.sh
. "$root/scripts/screenshot-home.sh"
build="${1:-build}"
[[ "$build" = /* ]] || build="$root/$build"
manager="${2:-nemo}"
out="$root/docs/screenshots"
mkdir -p "$out"
for tool in xvfb-run xdotool import dbus-run-session "$manager"; do
  command -v "$tool" >/dev/null ||
    { echo "screenshot-palette: $tool is missing (scripts/deps.sh)" >&2; exit 1; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

shoot() {
  local lang="$1" typed="$2" name="$3"
  local home="$work/$lang"
  screenshot_home "$home" "$build"
  local -a env=(env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config"
    XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache"
    XDG_DATA_DIRS="$home/.local/share:/usr/local/share:/usr/share"
    XDG_RUNTIME_DIR="$home/run" LANG="$lang" GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
    QT_QPA_PLATFORM=xcb)
  "${env[@]}" "$build/app/pallstone" setup >/dev/null
  local -a start=("$manager" "$home/Documents")
  [ "$manager" = nemo ] || [ "$manager" = caja ] && start=("$manager" --no-desktop "$home/Documents")
  "${env[@]}" xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- bash -c '
    out=$1 typed=$2 extension=$3; shift 3
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
    # notes.txt: the first item of the view, after the Projects folder, in icon view.
    xdotool mousemove $((X + 260)) $((Y + 150)) click 1
    for _ in 1 2; do
      xdotool click 3
      sleep 1
      xdotool key Escape
      for _ in $(seq 150); do owned && break; sleep 0.2; done
      sleep 1
    done
    "$extension" palette
    sleep 2
    xdotool type --delay 150 "$typed"
    sleep 1
    import -window root "$out"
    xdotool key Escape
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  ' shoot "$out/palette-$name.png" "$typed" "$build/extension/pallstone-extension" \
    "${start[@]}"
  echo "$out/palette-$name.png"
}

shoot C.UTF-8 "copy" en
# The keys are English in every language, so the same letters find the entry.
shoot zh_CN.UTF-8 "copy" zh_CN
