#!/usr/bin/env bash
# Times the archive service against Info-ZIP and 7-Zip on one generated tree: 2,000 files, about
# 300 MB (text and incompressible blobs), with and without a password.
# usage: bench/bench_compress.sh [BUILD_DIR]   (default: build; needs its bench/compress_timer)
set -euo pipefail
build=${1:-build}
timer="$build/bench/compress_timer"
[ -x "$timer" ] || { echo "no $timer (build the compress_timer target)" >&2; exit 1; }
for tool in zip 7z python3; do
  command -v "$tool" >/dev/null || { echo "$tool is needed (scripts/deps.sh)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/pallstone-bench-compress.XXXXXX")
trap 'rm -rf "$work"' EXIT
password='bench pass 1'

python3 - "$work/tree" <<'PY'
import os, random, sys
root = sys.argv[1]
rng = random.Random(20240601)
words = ["".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 10)))
         for _ in range(5000)]
corpus = " ".join(rng.choice(words) for _ in range(700000)).encode()  # about 4 MB of text
for i in range(2000):
    folder = os.path.join(root, f"dir{i % 20:02d}", f"sub{i % 7}")
    os.makedirs(folder, exist_ok=True)
    if i % 20 == 0:  # 100 blobs of 2 MB
        data = rng.randbytes(2 * 1024 * 1024)
        name = f"blob{i:04d}.bin"
    else:  # 1,900 texts of 20 to 84 KB
        size = rng.randint(20 * 1024, 84 * 1024)
        start = rng.randrange(0, len(corpus) - size)
        data = corpus[start:start + size]
        name = f"text{i:04d}.txt"
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)
PY

files=$(find "$work/tree" -type f | wc -l)
bytes=$(du -sb "$work/tree" | cut -f1)
echo "tree: $files files, $((bytes / 1000000)) MB"
cat $(find "$work/tree" -type f) >/dev/null # every run reads from the page cache

# Wall and CPU time (user + system) of a command run in $work, and the archive's size. On a busy
# machine the CPU time is the fairer comparison.
measure() {
  local label=$1; shift
  rm -f "$work/out.zip"
  local TIMEFORMAT='%R %U %S' times real user sys
  times=$({ time (cd "$work" && "$@" >/dev/null 2>&1); } 2>&1)
  read -r real user sys <<<"$times"
  printf '%-44s %7.2f s wall %7.2f s cpu %8d KB\n' "$label" "$real" \
    "$(echo "$user + $sys" | bc)" "$(($(stat -c %s "$work/out.zip") / 1024))"
  last_wall=$real
}

# The archive service against its peer, wall time over wall time, beside the target.
ratio() {
  printf '%-44s %7.2fx (target at most %sx)\n' "$1" "$(echo "scale=3; $2 / $3" | bc)" "$4"
}

timer=$(realpath "$timer")
echo "cores: $(nproc)"
echo "-- without a password"
measure "pallstone (deflate level 6, all cores)" "$timer" out.zip tree
plain=$last_wall
measure "zip -r -6" zip -q -r -6 out.zip tree
zip6=$last_wall
measure "7z a -tzip -mx=5 -mmt=1" 7z a -tzip -mx=5 -mmt=1 out.zip tree
echo "-- with a password (AES-256)"
measure "pallstone (deflate level 6, AES-256, all cores)" "$timer" out.zip --password "$password" tree
aes=$last_wall
measure "7z a -tzip -mx=5 -mem=AES256 -mmt=1" \
  7z a -tzip -mx=5 -mem=AES256 -mmt=1 "-p$password" out.zip tree
measure "7z a -tzip -mx=5 -mem=AES256 -mmt=2" \
  7z a -tzip -mx=5 -mem=AES256 -mmt=2 "-p$password" out.zip tree
seven2=$last_wall
echo "-- ratios (wall time)"
ratio "pallstone / zip -r -6" "$plain" "$zip6" 0.6
ratio "pallstone AES / 7z -mmt=2 AES" "$aes" "$seven2" 0.8
