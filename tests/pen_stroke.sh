#!/usr/bin/env bash
# A scripted pen stroke whose pressure rises from light to full: with
# "PEN:SIZE [w]" on it starts thin and ends wide, with it off it keeps one width.
set -euo pipefail
OLLAN=$(realpath "$1")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

stroke() {  # the script of the stroke with "PEN:SIZE [w]" set to $1
  echo "canvas 320 180"
  echo "set \"PEN:SIZE [w]\" $1"
  echo "mouse 40 90"
  echo "pen 0.05"
  echo "frame"
  echo "down left"
  for i in $(seq 1 60); do
    echo "mouse $((40 + i * 4)) 90"
    printf 'pen %d.%03d\n' $((i / 60)) $(((i % 60) * 1000 / 60))
    echo "frame"
  done
  echo "up left"
  echo "pen off"
  echo "frame 3"
}

width() {  # pixels of column $2 of picture $1 clearly darker than the paper: the stroke's width there
  # (a light stroke catches the canvas grain, so its paint is thin, not narrow)
  local paper
  paper=$(convert "$1" -colorspace Gray -negate -format "%[fx:100 * p{5,5}.intensity + 5]" info:)
  convert "$1" -crop "1x180+$2+0" +repage -colorspace Gray -negate -threshold "$paper%" \
    -format "%[fx:round(mean*h)]" info:
}

for size in 1 0; do
  stroke $size >"$WORK/pen$size.txt"
  "$OLLAN" --headless --replay "$WORK/pen$size.txt" --export "$WORK/pen$size.png" >"$WORK/out$size.txt"
  if grep -q 'No tablets connected!' "$WORK/out$size.txt"; then
    echo "FAIL: the scripted pen did not open as a tablet"
    exit 1
  fi
done

on_early=$(width "$WORK/pen1.png" 110) on_late=$(width "$WORK/pen1.png" 270)
off_early=$(width "$WORK/pen0.png" 110) off_late=$(width "$WORK/pen0.png" 270)
echo "PEN:SIZE on: width $on_early early, $on_late late; off: $off_early early, $off_late late"
fail=0
[ "$on_late" -ge 8 ] && [ "$on_late" -ge $((3 * (on_early > 0 ? on_early : 1))) ] ||
  { echo "FAIL: with PEN:SIZE on the stroke did not widen with the pressure"; fail=1; }
[ "$off_early" -ge 8 ] && [ $((off_late - off_early)) -le 3 ] && [ $((off_early - off_late)) -le 3 ] ||
  { echo "FAIL: with PEN:SIZE off the width followed the pressure"; fail=1; }
[ "$fail" = 0 ] && echo PASS
exit $fail
