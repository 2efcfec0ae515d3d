#!/usr/bin/env bash
# End to end: the real program under a virtual X server; a mouse drag paints a
# diagonal stroke. Paint must show along the drag and nowhere far from it.
set -euo pipefail
OLLAN=$(realpath "$1")
LIB=$(dirname "$(realpath "$0")")/lib/xsession.bash
source "$(dirname "$(realpath "$0")")/lib/xvfb.bash"
WORK=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] && cp "$WORK"/*.png "$KEEP"/ ; rm -rf "$WORK"' EXIT

cat >"$WORK/session.sh" <<'INNER'
set -euo pipefail
cd "$WORK"
source "$LIB"
start_ollan --size 640x360 --frames 3000
# Wait until the window shows the canvas and the picture has settled.
settle "640x360+$X+$Y" before.png
# From (80, 120) to (240, 230) in the window, in 40 steps. W first: the mouse
# has no pressure to size the brush with, so the brush keeps its full size.
xdotool mousemove --sync $((X + 80)) $((Y + 120))
xdotool key w
sleep 0.3
xdotool mousedown 1
for step in $(seq 1 40); do
  xdotool mousemove --sync $((X + 80 + step * 4)) $((Y + 120 + step * 11 / 4))
  sleep 0.03
done
xdotool mouseup 1
xdotool mousemove --sync $((X + 20)) $((Y + 340))
sleep 1.5
import -window root after.png
# Frames drew only what changed into the window's kept picture; a resize and
# back makes the next frames redraw all of it, which must show the same
# picture.
xdotool windowsize --sync "$WID" 600 340
sleep 1
xdotool windowsize --sync "$WID" 640 360
sleep 1.5
import -window root redrawn.png
# Hidden and shown again, the window shows its last picture even while no
# frame runs.
xdotool windowunmap --sync "$WID"
sleep 0.5
xdotool windowmap --sync "$WID"
sleep 1.5
import -window root shown_again.png
echo "$X $Y" >origin.txt
# A plain termination would ask to confirm the exit.
kill -KILL $APP 2>/dev/null || true
wait $APP 2>/dev/null || true
INNER
WORK=$WORK OLLAN=$OLLAN LIB=$LIB in_xvfb 1024x768x24 bash "$WORK/session.sh"

cd "$WORK"
read -r X Y <origin.txt
changed() {  # pixels that differ in a WxH+X+Y box of the window
  compare -metric AE -fuzz 4% "before.png[$1]" "after.png[$1]" null: 2>&1 | cut -d' ' -f1 || true
}
fail=0
# Along the drag: 12 x 12 boxes centred on points of the path.
for t in 5 12 20 28 35; do
  px=$((80 + t * 4)) py=$((120 + t * 11 / 4))
  n=$(changed "12x12+$((X + px - 6))+$((Y + py - 6))")
  echo "at ($px, $py): $n of 144 pixels changed"
  [ "${n%.*}" -ge 40 ] || { echo "FAIL: no paint along the drag at ($px, $py)"; fail=1; }
done
# Away from it: the corner above the start, below the start, right of the end.
for box in "40x40+20+20" "60x40+20+280" "40x40+300+60"; do
  IFS='x+' read -r bw bh bx by <<<"$box"
  n=$(changed "${bw}x${bh}+$((X + bx))+$((Y + by))")
  echo "away at $box: $n pixels changed"
  [ "${n%.*}" -le 5 ] || { echo "FAIL: paint away from the drag at $box"; fail=1; }
done
n=$(compare -metric AE "after.png[640x360+$X+$Y]" "redrawn.png[640x360+$X+$Y]" null: 2>&1 | cut -d' ' -f1 || true)
echo "redrawn in full: $n pixels differ"
[ "${n%.*}" = 0 ] || { echo "FAIL: the window redrawn in full differs from the frames that drew what changed"; fail=1; }
n=$(compare -metric AE -fuzz 4% "after.png[640x360+$X+$Y]" "shown_again.png[640x360+$X+$Y]" null: 2>&1 | cut -d' ' -f1 || true)
echo "shown again: $n pixels differ"
[ "${n%.*}" -le 50 ] || { echo "FAIL: the window shown again lost its picture"; fail=1; }
[ $fail = 0 ] && echo PASS
exit $fail
