#!/usr/bin/env bash
# The service's CPU time per menu as a desktop session runs it (xcb on a virtual screen), for each
# way the icon folders can be laid out, beside the 250 ms after which a bridge gives up. The time
# is the main thread's: the thread that answers the bus.
# usage: bench/bench_menu_icons.sh [BUILD_DIR]   (default: build)
set -euo pipefail
build=$(realpath "${1:-build}")
service="$build/extension/pallstone-extension"
app="$build/app/pallstone"
[ -x "$service" ] && [ -x "$app" ] || { echo "build pallstone and pallstone-extension first" >&2; exit 1; }
for tool in xvfb-run dbus-run-session gdbus gtk-update-icon-cache; do
  command -v "$tool" >/dev/null || { echo "$tool is needed (scripts/deps.sh)" >&2; exit 1; }
done
menus=${MENUS:-20}

work=$(mktemp -d "${TMPDIR:-/tmp}/pallstone-bench-icons.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Each layout is a folder put before /usr/share in XDG_DATA_DIRS.
mkdir -p "$work/none"
# Our icon alone, as our install left /usr/local before it wrote what an icon folder needs.
mkdir -p "$work/bare/icons/hicolor/scalable/apps"
cp "$(dirname "$0")/../resources/icons/pro.svg" "$work/bare/icons/hicolor/scalable/apps/pallstone.svg"
# The install of this build, as root under /usr/local does it.
cmake --install "$build" --prefix "$work/installed" >/dev/null
# The same folder without its icon cache: a theme as a user copies one by hand.
cp -r "$work/installed" "$work/uncached"
rm -f "$work/uncached/share/icons/hicolor/icon-theme.cache"

measure() { # label data-dir [data-home]
  local home="$work/home-${1//[^a-z]/}"
  mkdir -p "$home"
  HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="${3:-$home/.local/share}" \
    XDG_CACHE_HOME="$home/.cache" XDG_DATA_DIRS="$2:/usr/share" QT_QPA_PLATFORM=xcb \
    LANG=C.UTF-8 MENUS="$menus" SERVICE="$service" APP="$app" LABEL="$1" FOLDER="$work" \
    xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- bash -c '
      "$APP" setup >/dev/null
      "$SERVICE" 2>/dev/null & pid=$!
      gdbus wait --session --timeout 20 com.tolvane.pallstone.extension
      ask() {
        gdbus call --session --dest com.tolvane.pallstone.extension \
          --object-path /com/tolvane/pallstone/ContextMenu \
          --method com.tolvane.pallstone.ContextMenu.MenuForMenuKind 1 "[]" "file://$FOLDER" >/dev/null
      }
      ask; sleep 1.5  # the icon theme is listed once, on a worker, after the start
      ns() { cut -d" " -f1 "/proc/$pid/task/$pid/schedstat"; }
      before=$(ns)
      for _ in $(seq "$MENUS"); do ask; done
      after=$(ns)
      kill "$pid"
      awk -v l="$LABEL" -v d=$((after - before)) -v n="$MENUS" \
        "BEGIN { printf \"%-34s %8.2f ms %10s\n\", l, d / n / 1e6, \"250 ms\" }"'
}

printf '%-34s %11s %10s\n' "icon folders" "CPU / menu" "bridge bound"
measure "/usr/share only (with cache)" "$work/none"
measure "our icon alone under /usr/local" "$work/bare/"
measure "this build installed" "$work/installed/share"
measure "installed, without icon cache" "$work/uncached/share"
measure "installed as ~/.local" "$work/none" "$work/installed/share"
