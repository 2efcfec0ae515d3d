#!/usr/bin/env bash
# Frames that leave out what did not change paint the same picture as frames
# that redo everything: each script is replayed as it runs and with
# --full-redraw, and every export of the two runs must match byte for byte.
# The scripts paint, flow (until the flow dies), smudge, erase, undo, change
# layers and settings, zoom and rotate the view between strokes, and work
# the floating panel, whose window pictures are compared.
set -euo pipefail
ollan="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "redraw equality: $*"; exit 1; }

stroke() {  # stroke X0 Y0 X1 Y1 [BUTTON]: a press, four moves, a release
  local b=${5:-left}
  printf 'mouse %s %s\nframe\ndown %s\nframe\n' "$1" "$2" "$b"
  for i in 1 2 3 4; do
    printf 'mouse %s %s\nframe\n' $(( $1 + ($3 - $1) * i / 4 )) $(( $2 + ($4 - $2) * i / 4 ))
  done
  printf 'up %s\nframe\n' "$b"
}

# every_brush NAME GREEN: each brush type paints, smudges, erases (Ctrl) and
# averages (Ctrl and Shift), then exports NAME_KEY.png; the substeps go on
# from the bristle type.
every_brush() {
  for d in 1 2 3 4 5 6 7 8 9 0; do
    [ "$d" = 8 ] && printf 'key press Y\n'
    printf 'key press %s\nframe\ncolor 0.%s %s 0.3\n' "$d" "$d" "$2"
    stroke $((10 + d * 12)) 15 $((30 + d * 10)) 75
    stroke $((40 + d * 6)) 70 $((20 + d * 12)) 20 right
    printf 'key down Left Ctrl\n'; stroke 15 $((20 + d * 5)) 145 $((30 + d * 4)); printf 'key up Left Ctrl\n'
    printf 'key down Left Ctrl\nkey down Left Shift\n'; stroke 140 $((80 - d * 5)) 20 $((60 - d * 4))
    printf 'key up Left Shift\nkey up Left Ctrl\nframe 3\nexport "%s/%s_%s.png"\n' "$dir" "$1" "$d"
  done
}

{
  printf 'canvas 160 90\nseed 5\nset "BRUSH:SIZE" 10\ncolor 0.8 0.2 0.1\n'
  stroke 20 30 140 50
  printf 'frame 5\nexport "%s/paint_0.png"\n' "$dir"
  # smudge with the right button, erase with Ctrl held
  stroke 30 60 130 20 right
  printf 'key down Left Ctrl\n'; stroke 80 10 80 80; printf 'key up Left Ctrl\nframe 3\n'
  printf 'export "%s/paint_1.png"\n' "$dir"
  # undo and redo, then the view: wheel zoom, a spin, Home
  printf 'key down Left Ctrl\nkey press Z\nframe 2\nexport "%s/paint_2.png"\nkey press Z\nframe\nkey up Left Ctrl\n' "$dir"
  printf 'mouse 60 40\nwheel 2\nframe 3\nkey down =\nframe 4\nkey up =\nframe 2\n'
  stroke 40 20 120 70
  printf 'key press Home\nframe 3\nexport "%s/paint_3.png"\n' "$dir"
} > "$dir/paint.txt"

{
  printf 'canvas 160 90\nseed 6\nset "FLUIDITY" 0.5\nset "BRUSH:SIZE" 12\ncolor 0.1 0.3 0.8\n'
  stroke 20 40 140 50
  for n in 1 2 3; do printf 'frame 10\nexport "%s/flow_%s.png"\n' "$dir" $n; done
  # no divergence removal: a dead flow stays dead and frames simulate nothing
  printf 'set "FLUID:CURLS" 0\n'
  stroke 140 20 20 70
  for n in 4 5 6; do printf 'frame 15\nexport "%s/flow_%s.png"\n' "$dir" $n; done
  printf 'set "FLUIDITY" 1\nframe 2\nexport "%s/flow_7.png"\n' "$dir"
} > "$dir/flow.txt"

{
  printf 'canvas 160 90\nseed 7\nset "BRUSH:SIZE" 9\ncolor 0.2 0.7 0.3\n'
  stroke 20 20 140 30
  # a second layer painted over, then the one below selected and hidden
  printf 'key press F9\nframe 2\ncolor 0.9 0.8 0.1\n'
  stroke 60 10 70 80
  printf 'frame 2\nexport "%s/layers_0.png"\n' "$dir"
  printf 'key press F10\nframe 2\nkey press F12\nframe 2\nexport "%s/layers_1.png"\nkey press F12\nframe 2\n' "$dir"
  # settings through the table and the keys: glow, no high quality, the
  # layer's bump, a mirror, the light moved with Shift and an arrow key
  printf 'set "GLOWING" 0.6\nframe 2\nset "HIGH QUALITY" 0\nframe 2\nset "LAYER:BUMP" 0.8\nframe 2\n'
  printf 'export "%s/layers_2.png"\n' "$dir"
  printf 'key press F6\nframe 2\nkey down Left Shift\nkey down Right\nframe 3\nkey up Right\nkey up Left Shift\nframe 2\n'
  printf 'export "%s/layers_3.png"\n' "$dir"
  # the layers merged down
  printf 'key press F11\nframe\nkey down Left Shift\nkey press F9\nframe 2\nkey up Left Shift\nframe 2\n'
  printf 'export "%s/layers_4.png"\n' "$dir"
  # the layer cleared
  printf 'key press Delete\nframe 2\nexport "%s/layers_5.png"\n' "$dir"
} > "$dir/layers.txt"

# Below full fluidity the flow is simulated only where it can be alive:
# exports frame by frame while it spreads and dies, a fast stroke whose
# paint races across the canvas at low fluidity, and then every brush type
# painting, smudging, erasing and averaging while the paint flows.
{
  printf 'canvas 160 90\nseed 9\nset "FLUIDITY" 0.5\nset "BRUSH:SIZE" 10\ncolor 0.7 0.6 0.1\n'
  stroke 30 45 60 45
  for n in 1 2 3 4 5 6; do printf 'frame 2\nexport "%s/alive_%s.png"\n' "$dir" $n; done
  printf 'set "FLUIDITY" 0.1\nset "HIGH QUALITY" 0\n'
  stroke 10 80 150 10
  for n in 7 8 9 10; do printf 'frame\nexport "%s/alive_%s.png"\n' "$dir" $n; done
  # full fluidity while that flow still runs: a smudge in what it left
  printf 'set "FLUIDITY" 1\n'; stroke 20 60 140 30 right
  printf 'export "%s/alive_10b.png"\nset "FLUIDITY" 0.1\n' "$dir"
  printf 'frame 20\nexport "%s/alive_11.png"\n' "$dir"
  # dried (D twice: drying off dries the canvas, on again keeps it dry), so
  # only what the brushes wet spreads and dries
  printf 'key press D\nframe\nkey press D\nframe\n'
  printf 'set "FLUIDITY" 0.6\nset "HIGH QUALITY" 1\nset "BRUSH:SIZE" 8\n'
  every_brush alive_b 0.3
} > "$dir/alive.txt"

# Every brush type paints, smudges, erases (Ctrl) and averages (Ctrl and
# Shift) at full fluidity, with the substeps on for the last types.
{
  printf 'canvas 160 90\nseed 8\nset "BRUSH:SIZE" 11\n'
  every_brush brushes 0.5
} > "$dir/brushes.txt"

# The brush-mode panel (at 640 x 480: 352..512 x 352..480) over the picture:
# the pointer crosses its controls and presses "=", "*" and WARP twice, and
# strokes pass beside and under its glass; the window is compared, panel and
# pointer included.
{
  printf 'canvas 640 480\nseed 9\nset "BRUSH:SIZE" 14\ncolor 0.8 0.3 0.1\n'
  stroke 250 300 600 420
  printf 'mouse 380 450\nframe 2\nscreenshot "%s/panels_0.png"\n' "$dir"
  for at in "426 450" "497 442" "482 465" "482 465"; do
    printf 'mouse %s\nframe\ndown left\nframe\nup left\nframe 2\n' "$at"
  done
  printf 'screenshot "%s/panels_1.png"\n' "$dir"
  stroke 300 380 630 460
  printf 'screenshot "%s/panels_2.png"\nmouse 200 100\nframe 30\nscreenshot "%s/panels_3.png"\n' "$dir" "$dir"
} > "$dir/panels.txt"

for name in paint flow alive layers brushes panels; do
  "$ollan" --headless --replay "$dir/$name.txt" 2> "$dir/$name.err" || fail "$name: $(cat "$dir/$name.err")"
  mkdir "$dir/fast_$name"
  mv "$dir/${name}"_*.png "$dir/fast_$name/"
  "$ollan" --headless --full-redraw --replay "$dir/$name.txt" 2> "$dir/$name.err" || fail "$name: $(cat "$dir/$name.err")"
  count=0
  for f in "$dir/fast_$name"/*.png; do
    cmp -s "$f" "$dir/$(basename "$f")" || fail "$name: $(basename "$f") differs from the full redraw"
    count=$((count + 1))
  done
  [ "$count" -ge 4 ] || fail "$name: only $count exports"
done

# The shortcut is taken: in a script that mostly waits, most frames display
# nothing, while the full redraw displays every frame.
printf 'canvas 160 90\n' > "$dir/idle.txt"; stroke 20 20 140 70 >> "$dir/idle.txt"; printf 'frame 40\n' >> "$dir/idle.txt"
fast=$("$ollan" --headless --bench --replay "$dir/idle.txt")
full=$("$ollan" --headless --bench --full-redraw --replay "$dir/idle.txt")
echo "$fast" | grep -q "^display_px: 0$" || fail "idle frames still display: $fast"
echo "$full" | grep -q "^display_px: 14400$" || fail "the full redraw left the display out: $full"
# A stroke redisplays only around the brush.
{
  printf 'canvas 160 90\nset "BRUSH:SIZE" 8\nmouse 20 45\nframe\ndown left\nframe\n'
  for i in $(seq 1 20); do printf 'mouse %s 45\nframe\n' $((20 + 5 * i)); done
} > "$dir/long.txt"
stroke_fast=$("$ollan" --headless --bench --replay "$dir/long.txt")
px=$(echo "$stroke_fast" | sed -n 's/^display_px: //p')
[ "$px" -gt 0 ] && [ "$px" -lt 14400 ] || fail "a stroke redisplays $px pixels of 14400"
# Every brush type, and erase and average, redisplays only around the brush,
# and so does a stroke while the paint flows.
long_stroke() {  # KEY HELD SETTINGS: brush KEY, a stroke across with keys HELD down
  printf 'canvas 160 90\nset "BRUSH:SIZE" 8\n%bkey press %s\nframe\n%bmouse 20 45\nframe\ndown left\nframe\n' \
    "$3" "$1" "$2"
  for i in $(seq 1 20); do printf 'mouse %s 45\nframe\n' $((20 + 5 * i)); done
}
display_px() { "$ollan" --headless --bench --replay "$1" | sed -n 's/^display_px: //p'; }
for d in 1 2 3 4 5 6 7 8 9 0; do
  for held in '' 'key down Left Ctrl\n' 'key down Left Ctrl\nkey down Left Shift\n'; do
    long_stroke "$d" "$held" '' > "$dir/type.txt"
    px=$(display_px "$dir/type.txt")
    [ "$px" -gt 0 ] && [ "$px" -lt 7200 ] || fail "brush key $d, ${held:-painting}: redisplays $px pixels of 14400"
  done
done
# The flow's margins (the pressure's reach) are tens of pixels: a larger canvas.
long_stroke 9 '' 'set "FLUIDITY" 0.5\n' | sed 's/^canvas 160 90$/canvas 640 360/' > "$dir/flowing.txt"
px=$(display_px "$dir/flowing.txt")
[ "$px" -gt 0 ] && [ "$px" -lt 115200 ] || fail "a stroke in flowing paint redisplays $px pixels of 230400"
echo "redraw equality: ok"
