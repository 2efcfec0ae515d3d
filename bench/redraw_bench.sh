#!/usr/bin/env bash
# Frame costs of the replayed program (--bench medians): a full redraw, an
# idle frame, a painting frame with a 30-pixel brush on one layer and on
# eight, and painting while the paint flows ("FLUIDITY" 0.5, "HIGH QUALITY"
# off), at 1280 x 720 (30 frames each) and the same stroke at 3840 x 2160
# (10 frames each: a full redraw there takes seconds on llvmpipe). Each row
# runs every build given, one after the other, so builds compare within one
# run. Not a test: it prints a table.
#   bench/redraw_bench.sh OLLAN [OLLAN...]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 OLLAN [OLLAN...]" >&2; exit 2; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

idle() {  # W H FRAMES: frames in which nothing happens
  printf 'canvas %s %s\nmouse 100 100\nframe %s\n' "$1" "$2" "$3"
}
paint() {  # W H LAYERS FRAMES [SETTINGS]: a 30-pixel brush moving 4 pixels a frame
  printf 'canvas %s %s\nset "BRUSH:SIZE" 30\n%s' "$1" "$2" "${5:-}"
  for ((i = 1; i < $3; i++)); do printf 'key press F9\nframe\n'; done
  local y=$(($2 / 2))
  printf 'mouse 100 %s\nframe\ndown left\nframe\n' "$y"
  for ((i = 1; i <= $4; i++)); do printf 'mouse %s %s\nframe\n' $((100 + 4 * i)) "$y"; done
  printf 'up left\nframe\n'
}
flowing=$'set "FLUIDITY" 0.5\nset "HIGH QUALITY" 0\n'

field() { echo "$2" | sed -n "s/^$1: //p"; }
row() {  # LABEL SCRIPT [FLAGS]
  local out b
  for ((b = 0; b < ${#builds[@]}; b++)); do
    out=$("${builds[$b]}" --headless --bench --replay "$2" ${3:-})
    printf '%-6s %-40s %9s %9s %9s %9s %11s %11s %11s\n' "#$((b + 1))" "$1" "$(field median_ms "$out")" \
      "$(field simulation_ms "$out")" "$(field display_ms "$out")" "$(field gui_ms "$out")" \
      "$(field simulation_px "$out")" "$(field display_px "$out")" "$(field gui_px "$out")"
  done
}

builds=("$@")
for ((b = 0; b < ${#builds[@]}; b++)); do echo "build #$((b + 1)): ${builds[$b]}"; done
printf '%-6s %-40s %9s %9s %9s %9s %11s %11s %11s\n' build frame median_ms sim_ms disp_ms gui_ms sim_px disp_px gui_px
for size in "1280 720 30" "3840 2160 10"; do
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
    paint "$1" "$2" 1 "$3" "$flowing" > "$dir/flow.txt"
    row "$1x$2 paint while flowing (0.5, hq off)" "$dir/flow.txt"
    row "$1x$2 the same, forced" "$dir/flow.txt" --full-redraw
  fi
done
