#!/usr/bin/env bash
# Frame costs of the replayed program (--bench medians): a full redraw, an
# idle frame, a painting frame with a 30-pixel brush on one layer and on
# eight, at 1280 x 720 (40 frames each) and at 3840 x 2160 (15 frames each,
# a full redraw there takes seconds on llvmpipe). Not a test: it prints a
# table.
#   bench/redraw_bench.sh path/to/ollan [runs]
set -euo pipefail
ollan="$1"
runs="${2:-1}"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

idle() {  # W H FRAMES: frames in which nothing happens
  printf 'canvas %s %s\nmouse 100 100\nframe %s\n' "$1" "$2" "$3"
}
paint() {  # W H LAYERS FRAMES: a 30-pixel brush moving 4 pixels a frame
  printf 'canvas %s %s\nset "BRUSH:SIZE" 30\n' "$1" "$2"
  for ((i = 1; i < $3; i++)); do printf 'key press F9\nframe\n'; done
  local y=$(($2 / 2))
  printf 'mouse 100 %s\nframe\ndown left\nframe\n' "$y"
  for ((i = 1; i <= $4; i++)); do printf 'mouse %s %s\nframe\n' $((100 + 4 * i)) "$y"; done
  printf 'up left\nframe\n'
}

field() { echo "$2" | sed -n "s/^$1: //p"; }
row() {  # LABEL SCRIPT [FLAGS]
  local out
  for ((r = 0; r < runs; r++)); do
    out=$("$ollan" --headless --bench --replay "$2" ${3:-})
    printf '%-34s %9s %9s %9s %9s %11s %11s %11s\n' "$1" "$(field median_ms "$out")" "$(field simulation_ms "$out")" \
      "$(field display_ms "$out")" "$(field gui_ms "$out")" "$(field simulation_px "$out")" \
      "$(field display_px "$out")" "$(field gui_px "$out")"
  done
}

printf '%-34s %9s %9s %9s %9s %11s %11s %11s\n' frame median_ms sim_ms disp_ms gui_ms sim_px disp_px gui_px
for size in "1280 720 40" "3840 2160 15"; do
  set -- $size
  idle "$1" "$2" "$3" > "$dir/idle.txt"
  paint "$1" "$2" 1 "$3" > "$dir/paint1.txt"
  row "$1x$2 full redraw (idle, forced)" "$dir/idle.txt" --full-redraw
  row "$1x$2 idle" "$dir/idle.txt"
  row "$1x$2 paint 30 px, 1 layer" "$dir/paint1.txt"
  if [ "$1" = 1280 ]; then
    row "$1x$2 paint 30 px, 1 layer, forced" "$dir/paint1.txt" --full-redraw
    paint "$1" "$2" 8 "$3" > "$dir/paint8.txt"
    row "$1x$2 paint 30 px, 8 layers" "$dir/paint8.txt"
  fi
done
