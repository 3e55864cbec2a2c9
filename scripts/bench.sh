#!/usr/bin/env bash
# Runs every benchmark of a build folder (default: build) and prints the results.
set -euo pipefail
build=${1:-build}
# Without a display the windows are drawn off screen, as in the tests.
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  export QT_QPA_PLATFORM=offscreen
fi
shopt -s nullglob
found=0
for b in "$build"/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b")"
  "$b" --benchmark_min_time=0.2
done
[ "$found" = 1 ] || { echo "no benchmarks in $build/bench" >&2; exit 1; }
# The extension's start as a command, against its target.
if [ -x "$build/extension/pallstone-extension" ] && [ -x "$build/app/pallstone" ]; then
  echo "== bench_start.sh"
  "$(dirname "$0")/../bench/bench_start.sh" "$build"
fi
# The archive service against zip and 7-Zip on a generated tree (about a minute).
if [ -x "$build/bench/compress_timer" ]; then
  echo "== bench_compress.sh"
  "$(dirname "$0")/../bench/bench_compress.sh" "$build"
fi
# "Convert to" against the vips command line and ImageMagick on a generated photo.
if [ -x "$build/bench/convert_timer" ]; then
  echo "== bench_convert.sh"
  "$(dirname "$0")/../bench/bench_convert.sh" "$build"
fi
# The service's CPU time per menu on a virtual desktop, for each layout of the icon folders.
if [ -x "$build/extension/pallstone-extension" ]; then
  echo "== bench_menu_icons.sh"
  "$(dirname "$0")/../bench/bench_menu_icons.sh" "$build" 2> >(grep -v 'fd limit' >&2)
fi
