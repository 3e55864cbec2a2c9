#!/usr/bin/env bash
# Takes a picture of every tab of the settings window, of the folder icon designer, of the window
# that defines a new file type, of an alert, of the About window, of the file managers' window and
# of the profiles window, in English and in Simplified Chinese, at 1280x800 (the smaller windows at
# their own size; the profiles window at 720x420) under a virtual X server, into docs/screenshots/. The window runs against a private,
# freshly seeded configuration so the pictures show the defaults, with two saved profiles of which
# one is in use.
#
# usage: scripts/screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-build}"
[[ "$build" = /* ]] || build="$root/$build"
app="$build/app/pallstone"
out="$root/docs/screenshots"
[ -x "$app" ] || { echo "screenshots: $app not built" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "screenshots: xvfb-run missing (package xvfb)" >&2; exit 1; }
fc-list :lang=zh | grep -q . || echo "screenshots: no Chinese font installed (fonts-wqy-microhei)" >&2

home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
mkdir -p "$out"
mkdir -m 700 "$home/run"
run() {
  env -i PATH="$PATH" HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache" \
    XDG_RUNTIME_DIR="$home/run" LANG="$locale" LC_ALL="$locale" LANGUAGE="$language" \
    QT_QPA_PLATFORM=xcb "$@"
}

# The first start, before any file manager has the plug-in: the note at the top of the window.
# Plug-ins installed system-wide are hidden for it in a private mount namespace (root only).
first_start() {
  local dir
  for dir in /usr/lib/*/nautilus/extensions-4 /usr/lib/*/nemo/extensions-3.0 \
    /usr/lib/*/caja/extensions-2.0 /usr/lib/*/thunarx-3 /usr/lib/*/qt5/plugins/kf5/kfileitemaction; do
    [ -d "$dir" ] && mount -t tmpfs none "$dir"
  done
  for lang in en zh_CN; do
    case "$lang" in
      en) locale=C.UTF-8; language=en ;;
      zh_CN) locale=zh_CN.UTF-8; language=zh_CN ;;
    esac
    run xvfb-run -a -s "-screen 0 1280x800x24" "$app" --screenshot \
      "$out/${lang}-0-general-first-start.png" --screenshot-tab 0 --size 1280x800
    echo "$out/${lang}-0-general-first-start.png"
  done
}
if [ "$(id -u)" = 0 ] && command -v unshare >/dev/null; then
  export -f run first_start
  export home app out
  unshare -m --propagation private bash -c first_start
  rm -rf "$home/.config" "$home/.local" "$home/.cache"
else
  echo "screenshots: the first-start pictures need root (a private mount namespace)" >&2
fi

# The pictures show the menu in use: the Nemo plug-in of this build, installed into the private
# home as a user install puts it (the file managers' window shows the other states beside it).
if [ -f "$build/bridges/nemo/libpallstone-nemo.so" ] && command -v nemo >/dev/null; then
  mkdir -p "$home/.local/lib/nemo/extensions-3.0"
  cp "$build/bridges/nemo/libpallstone-nemo.so" "$home/.local/lib/nemo/extensions-3.0/"
fi


tabs=(general newfile favorites apps foldericon preferences)
for lang in en zh_CN; do
  case "$lang" in
    en) locale=C.UTF-8; language=en ;;
    zh_CN) locale=zh_CN.UTF-8; language=zh_CN ;;
  esac
  shoot() { # FILE TAB [OPTION...]
    local file="$1" tab="$2"
    shift 2
    run xvfb-run -a -s "-screen 0 1280x800x24" \
      "$app" --screenshot "$file" --screenshot-tab "$tab" --size 1280x800 "$@"
    echo "$file"
  }
  for i in "${!tabs[@]}"; do
    shoot "$out/${lang}-$i-${tabs[$i]}.png" "$i"
  done
  shoot "$out/${lang}-4-foldericon-designer.png" 4 --designer
  for window in template alert about extensions; do
    file="$out/${lang}-window-${window}.png"
    run xvfb-run -a -s "-screen 0 1280x800x24" \
      "$app" --screenshot "$file" --screenshot-window "$window"
    echo "$file"
  done
done

# The profiles window, after the tabs so that those show a configuration without profiles.
for lang in en zh_CN; do
  case "$lang" in
    en) locale=C.UTF-8; language=en; names=(Work Home) ;;
    zh_CN) locale=zh_CN.UTF-8; language=zh_CN; names=(工作 家里) ;;
  esac
  rm -rf "$home/.local/share/pallstone/TQConfigManager"
  for name in "${names[@]}"; do
    run "$app" profile save "$name" >/dev/null
  done
  run "$app" profile switch "${names[0]}"
  file="$out/${lang}-profiles.png"
  run xvfb-run -a -s "-screen 0 1280x800x24" \
    "$app" --screenshot "$file" --screenshot-profiles --size 720x420
  echo "$file"
done
