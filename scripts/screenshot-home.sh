# Sourced by the screenshot scripts: a home folder like a new user's, with a few documents and
# the service's D-Bus activation file pointing at this build.
#   screenshot_home HOME BUILD_DIR
screenshot_home() {
  local home="$1" build="$2"
  mkdir -p "$home/run" "$home/Documents/Projects" "$home/.local/share/dbus-1/services"
  chmod 700 "$home/run"
  printf 'notes\n' >"$home/Documents/notes.txt"
  printf '# Plan\n' >"$home/Documents/plan.md"
  printf '[D-BUS Service]\nName=com.tolvane.pallstone.extension\nExec=%s\n' \
    "$build/extension/pallstone-extension" \
    >"$home/.local/share/dbus-1/services/com.tolvane.pallstone.extension.service"
}
