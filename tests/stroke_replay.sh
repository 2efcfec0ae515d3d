#!/usr/bin/env bash
# Strokes through the real frame, replayed headless from input scripts: paint
# lands along the drag, the eraser (Ctrl held) takes it off again, and a stroke
# painted with Z held leaves the previous undo copy, which Ctrl+Z then shows.
set -euo pipefail
OLLAN=$(realpath "$1")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"

preamble() { printf 'canvas 640 360\nseed 3\nset "BRUSH:SIZE" 24\ncolor 0.1 0.3 0.8\npen 0.9\n'; }
# drag X0 Y0 X1 Y1: a stroke in 24 frames.
drag() {
  echo "mouse $1 $2"
  echo frame
  echo "down left"
  for i in $(seq 1 24); do
    echo "mouse $(($1 + ($3 - $1) * i / 24)) $(($2 + ($4 - $2) * i / 24))"
    echo frame
  done
  echo "up left"
  echo frame
}
render() {  # NAME: replays NAME.script into NAME.png
  "$OLLAN" --headless --replay "$1.script" --export "$1.png" >"$1.log" 2>&1 || { cat "$1.log"; exit 1; }
}
changed() {  # A B BOX: pixels of BOX (WxH+X+Y) that differ between A.png and B.png
  compare -metric AE -fuzz 3% "$1.png[$3]" "$2.png[$3]" null: 2>&1 | cut -d' ' -f1 || true
}
fail=0
expect() {  # WHAT VALUE OP LIMIT
  if ! [ "${2%.*}" "$3" "$4" ]; then
    echo "FAIL: $1 ($2, expected $3 $4)"
    fail=1
  else
    echo "ok: $1 ($2)"
  fi
}

{ preamble; echo "frame 30"; } >blank.script
{ preamble; drag 60 180 280 180; echo "frame 3"; } >paint.script
{ preamble; drag 60 180 280 180; echo "key down Left Ctrl"; drag 170 100 170 260; echo "key up Left Ctrl"; echo "frame 3"; } >erase.script
for z in plain held; do
  {
    preamble
    drag 60 120 280 120
    [ $z = held ] && echo "key down Z"
    drag 60 240 280 240
    [ $z = held ] && echo "key up Z"
    echo "key down Left Ctrl"
    echo "key press Z"
    echo frame
    echo "key up Left Ctrl"
    echo "frame 3"
  } >"undo_$z.script"
done
for s in blank paint erase undo_plain undo_held; do render $s; done

expect "paint along the stroke" "$(changed blank paint 200x12+70+174)" -ge 2000
expect "no paint above the stroke" "$(changed blank paint 200x40+70+100)" -le 5
expect "no paint below the stroke" "$(changed blank paint 200x40+70+240)" -le 5
expect "erased where the eraser crossed" "$(changed blank erase 6x10+167+175)" -le 6
expect "paint left beside the crossing" "$(changed blank erase 60x12+70+174)" -ge 500
expect "undo shows the first stroke" "$(changed blank undo_plain 200x12+70+114)" -ge 2000
expect "undo hides the second stroke" "$(changed blank undo_plain 200x12+70+234)" -le 5
expect "with Z held the undo copy is older than the first stroke" "$(changed blank undo_held 200x12+70+114)" -le 5
[ $fail = 0 ] && echo PASS
exit $fail
