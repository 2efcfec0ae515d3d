#!/usr/bin/env bash
# Under a bare X server there is no pen: the tablet says "No tablets connected!"
# once on standard output and the mouse paints through the mouse simulation.
set -euo pipefail
OLLAN=$(realpath "$1")
LIB=$(dirname "$(realpath "$0")")/lib/xsession.bash
source "$(dirname "$(realpath "$0")")/lib/xvfb.bash"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

cat >"$WORK/session.sh" <<'INNER'
set -euo pipefail
cd "$WORK"
source "$LIB"
start_ollan --size 320x180 --frames 100000
# The stroke runs across the middle of the canvas, left to right.
settle "320x180+$X+$Y" before.png
xdotool mousemove --sync $((X + 100)) $((Y + 90))
xdotool mousedown 1
for step in $(seq 1 30); do
  xdotool mousemove --sync $((X + 100 + step * 4)) $((Y + 90 + (step % 3)))
  sleep 0.03
done
xdotool mouseup 1
xdotool mousemove --sync $((X + 300)) $((Y + 170))
settle "320x180+$X+$Y" after.png
echo "$X $Y" >origin.txt
# A plain termination would ask to confirm the exit.
kill -KILL $APP 2>/dev/null || true
wait $APP 2>/dev/null || true
INNER
WORK=$WORK OLLAN=$OLLAN LIB=$LIB in_xvfb 640x400x24 bash "$WORK/session.sh"

cd "$WORK"
echo "--- standard output"
cat out.txt
[ "$(grep -cx 'No tablets connected!' out.txt)" = 1 ] || { echo "FAIL: expected one 'No tablets connected!' line"; exit 1; }

read -r X Y <origin.txt
changed() {  # pixels that differ in a WxH+X+Y box of the screen
  compare -metric AE -fuzz 2% "before.png[$1]" "after.png[$1]" null: 2>&1 | cut -d' ' -f1 || true
}
stroke=$(changed "110x16+$((X + 105))+$((Y + 83))")
away=$(changed "50x40+$((X + 250))+$((Y + 105))")
echo "pixels changed along the stroke: $stroke, away from it: $away"
[ "${stroke%.*}" -gt 200 ] || { echo "FAIL: the mouse did not paint"; exit 1; }
[ "${away%.*}" -lt 20 ] || { echo "FAIL: the canvas changed away from the stroke"; exit 1; }
echo PASS
