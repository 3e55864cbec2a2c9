#!/usr/bin/env bash
# Times "Convert to" against the tools a person would otherwise use, on a generated 4000 x 3000 PNG
# photo and a one-band PNG of grey noise: PNG to JPEG (quality 85) against `vips copy` and
# ImageMagick's `convert`, and the iOS icon set (18 files, from a 3000 x 3000 square cut of the
# photo: icons need a square) against a loop of `vipsthumbnail` calls. Prints the best wall time
# of five runs, the peak memory, and the ratios.
# usage: bench/bench_convert.sh [BUILD_DIR]   (default: build; needs its bench/convert_timer)
set -euo pipefail
build=${1:-build}
timer="$build/bench/convert_timer"
[ -x "$timer" ] || { echo "no $timer (build the convert_timer target)" >&2; exit 1; }
for tool in vips vipsthumbnail /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "$tool is needed (scripts/deps.sh: libvips-tools, time)" >&2; exit 1; }
done
timer=$(realpath "$timer")

work=$(mktemp -d "${TMPDIR:-/tmp}/pallstone-bench-convert.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Noise blurred a little: detail like a photo's, so neither the PNG nor the JPEG is trivially small.
vips gaussnoise "$work/noise.v" 4000 3000 --mean 128 --sigma 60
vips bandjoin "$work/noise.v $work/noise.v $work/noise.v" "$work/rgb.v"
vips gaussblur "$work/rgb.v" "$work/blur.v" 1.5
vips cast "$work/blur.v" "$work/photo.v" uchar
vips copy "$work/photo.v" "$work/photo.png" --interpretation srgb
vips crop "$work/photo.png" "$work/square.png" 500 0 3000 3000
# Unblurred noise in one band: the hardest case for both coders.
vips cast "$work/noise.v" "$work/grey.v" uchar
vips copy "$work/grey.v" "$work/grey.png" --interpretation b-w
rm -f "$work"/*.v
echo "photo: 4000x3000 PNG, $(($(stat -c %s "$work/photo.png") / 1024)) KB"

# best_of LABEL CMD...: the best wall time of five runs, to the millisecond (time(1) counts in
# hundredths, a tenth of a run here), and the largest peak memory.
best_of() {
  local label=$1; shift
  local best="" peak=0 start end wall rss
  for _ in 1 2 3 4 5; do
    rm -rf "$work/out" && mkdir "$work/out"
    start=$(date +%s%N)
    if ! rss=$(cd "$work" && /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1); then
      echo "$label: failed" >&2
      return 1
    fi
    end=$(date +%s%N)
    wall=$(((end - start) / 1000000))
    if [ -z "$best" ] || [ "$wall" -lt "$best" ]; then best=$wall; fi
    [ "$rss" -gt "$peak" ] && peak=$rss
  done
  best=$(echo "scale=3; $best / 1000" | bc)
  printf '%-46s %7.3f s %8d KB\n' "$label" "$best" "$peak" >&2
  echo "$best $peak"
}

ratio() { echo "scale=2; $1 / $2" | bc; }

# jpeg_row LABEL SOURCE: one PNG-to-JPEG row against `vips copy` (and ImageMagick where installed).
jpeg_row() {
  echo "-- $1 to JPEG, quality 85"
  read -r ours ours_mem < <(best_of "pallstone" "$timer" jpeg "$2" out/photo.jpeg)
  read -r cli cli_mem < <(best_of "vips copy $2 out.jpg[Q=85]" vips copy "$2" "out/photo.jpg[Q=85]")
  if command -v convert >/dev/null && convert -version 2>/dev/null | grep -q ImageMagick; then
    if read -r im im_mem < <(best_of "ImageMagick convert -quality 85" convert "$2" -quality 85 out/photo.jpg); then
      echo "time against ImageMagick: $(ratio "$ours" "$im")x"
    fi
  else
    echo "ImageMagick convert: absent"
  fi
  echo "time against vips copy: $(ratio "$ours" "$cli")x (target: at most 1)"
  echo "peak memory against vips copy: $(ratio "$ours_mem" "$cli_mem")x (target: at most 1.2)"
}
jpeg_row "PNG photo 4000x3000" photo.png
jpeg_row "PNG grey noise 4000x3000, one band" grey.png

echo "-- iOS icon set, 18 files"
sizes="152 76 40 20 58 29 80 40 167 180 120 60 40 87 58 120 80 1024"
thumbnails() {
  local i=0
  for s in $sizes; do
    i=$((i + 1))
    vipsthumbnail square.png --size "${s}x${s}!" -o "out/icon$i.png" || return 1
  done
}
export -f thumbnails
export sizes
read -r set set_mem < <(best_of "pallstone" "$timer" ios square.png out/square)
read -r loop loop_mem < <(best_of "vipsthumbnail, one call per file" bash -c thumbnails)
echo "speed-up against the vipsthumbnail loop: $(ratio "$loop" "$set")x (target: at least 5)"
