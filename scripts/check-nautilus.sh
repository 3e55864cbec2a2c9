#!/usr/bin/env bash
# Starts the real Nautilus under Xvfb on a private session bus with the bridge of a build folder
# (default: build) in its extension folder, and proves that Nautilus loads it without warnings:
# the module is mapped into the Nautilus process, the bridge started the service at load (the
# bus name gets an owner), and Nautilus printed no warning or critical about it.
# Needs root (the extension folder is the system's) and Nautilus; not part of `make test`.
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
command -v nautilus >/dev/null || { echo "check-nautilus: nautilus is not installed" >&2; exit 1; }
ext=$(pkg-config --variable=extensiondir libnautilus-extension-4)
module="$PWD/$build/bridges/nautilus/libpallstone-nautilus.so"
[ -f "$module" ] || { echo "check-nautilus: build $module first" >&2; exit 1; }

installed="$ext/libpallstone-nautilus.so"
placed=0
if [ ! -e "$installed" ]; then
  install -m 644 "$module" "$installed"
  placed=1
fi
log=$(mktemp)
home=$(mktemp -d)
cleanup() { [ "$placed" = 1 ] && rm -f "$installed"; rm -rf "$home" "$log"; }
trap cleanup EXIT

export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
  XDG_CACHE_HOME=$home/.cache
mkdir -p "$XDG_DATA_HOME/dbus-1/services"
# The bus activates the service of this build.
printf '[D-BUS Service]\nName=com.tolvane.pallstone.extension\nExec=%s\n' \
  "$PWD/$build/extension/pallstone-extension" \
  > "$XDG_DATA_HOME/dbus-1/services/com.tolvane.pallstone.extension.service"
"$PWD/$build/app/pallstone" setup >/dev/null

xvfb-run -a dbus-run-session -- bash -c '
  nautilus --new-window "$HOME" >"$1" 2>&1 &
  pid=$!
  for _ in $(seq 100); do
    grep -q libpallstone-nautilus "/proc/$pid/maps" 2>/dev/null &&
      gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner com.tolvane.pallstone.extension |
      grep -q true && break
    sleep 0.2
  done
  grep -q libpallstone-nautilus "/proc/$pid/maps" && echo "check-nautilus: the bridge is loaded"
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner com.tolvane.pallstone.extension | grep -q true &&
    echo "check-nautilus: the bridge started the service"
  sleep 1
  nautilus -q || kill "$pid"
  wait "$pid" || true
' check "$log" | tee "$log.out"
grep -q "the bridge is loaded" "$log.out" && grep -q "started the service" "$log.out" ||
  { cat "$log" >&2; rm -f "$log.out"; exit 1; }
rm -f "$log.out"
if grep -iE "pallstone|extension" "$log" | grep -iE "warning|critical|error"; then
  echo "check-nautilus: Nautilus warned about the bridge" >&2
  exit 1
fi
echo "check-nautilus: Nautilus loads the bridge without warnings"
