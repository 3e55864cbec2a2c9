#!/usr/bin/env bash
# Times the start of the extension as a command: `pallstone-extension menu` on a tiny folder, the
# whole process, in a configuration seeded as on a first start. Prints hyperfine's median and mean
# wall time and the processor time beside the target of 40 ms.
# usage: bench/bench_start.sh [BUILD_DIR]   (default: build; needs its app and extension)
set -euo pipefail
build=${1:-build}
app=$(realpath "$build/app/pallstone")
extension=$(realpath "$build/extension/pallstone-extension")
command -v hyperfine >/dev/null || { echo "hyperfine is needed" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/pallstone-bench-start.XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME=$work/home QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME" "$work/tiny"
touch "$work/tiny/a.txt" "$work/tiny/b.png"
"$app" setup >/dev/null

hyperfine --style none --warmup 3 --runs 30 --export-json "$work/start.json" \
  "$extension menu --target $work/tiny" >/dev/null
python3 - "$work/start.json" <<'PY'
import json, statistics, sys
result = json.load(open(sys.argv[1]))["results"][0]
times = result["times"]
median = statistics.median(times) * 1000
# Processor time as well: on a shared machine the wall time also counts the wait for a core.
cpu = (result["user"] + result["system"]) * 1000
print(f"pallstone-extension menu, tiny folder, {len(times)} runs: "
      f"median {median:.1f} ms, mean {statistics.mean(times) * 1000:.1f} ms, "
      f"processor time (user + system) {cpu:.1f} ms "
      f"(target < 40 ms) {'met' if median < 40 else 'MISSED'}")
PY
