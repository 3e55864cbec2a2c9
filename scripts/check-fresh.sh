#!/usr/bin/env bash
# Proves the README on a machine nobody has touched: makes a minimal root of a Debian release with
# mmdebstrap, clones this repository's committed HEAD into it and runs the README's commands there
# as a new user would, printing the time of each.
#   scripts/check-fresh.sh SUITE [COMMAND...]
# SUITE: bookworm, trixie or testing. COMMAND: a make target (default: run test), e.g.
# `scripts/check-fresh.sh trixie run test-release`. Needs root and the network; the root is made
# under $FRESH_ROOTS (default /work/roots, else /var/tmp) and removed at the end, or kept with
# KEEP_ROOT=1 (its mounts are undone all the same). REUSE_ROOT=DIR takes a root kept earlier
# instead of making one: its clone moves to this repository's HEAD and keeps its build folders
# (quicker rounds while mending; it proves less than a fresh root), and the root is kept.
set -euo pipefail

usage() { echo "usage: $0 bookworm|trixie|testing [make-target...]" >&2; exit 2; }
[ $# -ge 1 ] || usage
suite=$1
shift
case "$suite" in bookworm | trixie | testing) ;; *) usage ;; esac
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(run test)

[ "$(id -u)" -eq 0 ] || { echo "check-fresh: needs root (mmdebstrap, chroot)" >&2; exit 1; }
command -v mmdebstrap >/dev/null ||
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends mmdebstrap

repo=$(cd "$(dirname "$0")/.." && pwd)
roots=${FRESH_ROOTS:-/work/roots}
[ -d "$(dirname "$roots")" ] || roots=/var/tmp
mkdir -p "$roots"
if [ -n "${REUSE_ROOT:-}" ]; then
  root=$(realpath "$REUSE_ROOT")
  [ -d "$root/root/pallstone/.git" ] || { echo "check-fresh: $root holds no clone" >&2; exit 1; }
  KEEP_ROOT=1
else
  root=$(mktemp -d "$roots/pallstone-$suite.XXXXXX")
  root=$(realpath "$root")
fi

# Every mount below the root, deepest first.
mounts_below() {
  findmnt -rn -o TARGET | awk -v r="$root" 'index($0, r "/") == 1 || $0 == r' | sort -r
}

# Undoes the mounts, then removes the root only when nothing is mounted below it any more: a root
# removed while the host's /dev is bound into it takes the host's /dev along.
cleanup() {
  local status=$? m
  for m in $(mounts_below); do
    umount "$m" 2>/dev/null || umount --lazy "$m" || true
  done
  if [ -n "$(mounts_below)" ]; then
    echo "check-fresh: still mounted below $root, left in place:" >&2
    mounts_below >&2
    exit 1
  fi
  if [ "${KEEP_ROOT:-0}" = 1 ]; then
    echo "check-fresh: root kept at $root"
  else
    rm -rf --one-file-system "$root"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

elapsed() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }

# A new root of the release, with this repository's committed HEAD cloned into it.
make_root() {
  local start
  start=$(date +%s)
  # Testing's Release files in the mirror can be past their validity date.
  mmdebstrap --variant=apt --include=ca-certificates,git,make,sudo \
    --aptopt='Acquire::Check-Valid-Until "false"' \
    "$suite" "$root" http://deb.debian.org/debian
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
  echo "check-fresh: $suite root made in $(elapsed $(($(date +%s) - start)))"
  if git -C "$repo" rev-parse --git-dir >/dev/null 2>&1; then
    git clone -q "$repo" "$root/root/pallstone"
    echo "check-fresh: cloned $(git -C "$root/root/pallstone" log -1 --format='%h %s')"
  else
    # A checkout without its history (as some CI systems make): its files, without build folders.
    mkdir "$root/root/pallstone"
    tar -C "$repo" --exclude='./build*' -cf - . | tar -C "$root/root/pallstone" -xf -
    echo "check-fresh: copied the files of $repo"
  fi
}

if [ -n "${REUSE_ROOT:-}" ]; then
  git -C "$root/root/pallstone" fetch -q "$repo" HEAD
  git -C "$root/root/pallstone" reset -q --hard FETCH_HEAD
  echo "check-fresh: reused $root at $(git -C "$root/root/pallstone" log -1 --format='%h %s')"
else
  make_root
fi

mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --bind /dev "$root/dev"
# Mounts made below the bound /dev must not travel back to the host's /dev.
mount --make-private "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs tmpfs "$root/dev/shm"

declare -A took
failed=()
for t in "${targets[@]}"; do
  start=$(date +%s)
  status=0
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin \
    LANG=C.UTF-8 TERM=dumb bash -c 'cd /root/pallstone && make "$1"' make "$t" || status=$?
  took[$t]=$(elapsed $(($(date +%s) - start)))
  if [ $status -eq 0 ]; then
    echo "check-fresh: $suite: make $t passed in ${took[$t]}"
  else
    echo "check-fresh: $suite: make $t FAILED (exit $status) after ${took[$t]}"
    failed+=("$t")
    break
  fi
done

echo "check-fresh: $suite summary:"
for t in "${targets[@]}"; do
  [ -n "${took[$t]:-}" ] || { echo "  make $t: not run"; continue; }
  if [[ " ${failed[*]} " == *" $t "* ]]; then
    echo "  make $t: FAILED after ${took[$t]}"
  else
    echo "  make $t: passed in ${took[$t]}"
  fi
done
[ ${#failed[@]} -eq 0 ]
