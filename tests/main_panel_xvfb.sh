#!/usr/bin/env bash
# The main control panel in a live window under a bare X server: the
# "BRUSH:SIZE" dial dragged 40 pixels right with the mouse (0.5 a pixel:
# 15 becomes about 35) makes a stroke much wider than the same stroke before
# the drag. Keeps a screenshot of the window while the dial is held
# (panel.png in $OLLAN_KEEP when that is set).
set -euo pipefail
here=$(dirname "$(realpath "$0")")
source "$here/lib/xvfb.bash"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null ||
  { echo "main panel xvfb test: skipped, no Xvfb or xdotool"; exit 0; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
OLLAN=$(realpath "$1")
export OLLAN WORK LIB=$here/lib/xsession.bash

cat >"$WORK/session.sh" <<'INNER'
set -euo pipefail
cd "$WORK"
source "$LIB"
start_ollan --size 640x480 --seed 5 --frames 600 --export live.png
settle "640x480+$X+$Y" first.png
# BRUSH:SIZE: group "GUI:BRUSH" at 130, 275 from the right edge, the dial at
# -3, 25 in it, 38 wide: centred at (640 - 127 + 19, 275 + 25 + 19).
stroke() {
  xdotool mousemove --sync $((X + 80)) $((Y + $1))
  sleep 0.3
  xdotool mousedown 1
  for step in $(seq 1 20); do
    xdotool mousemove --sync $((X + 80 + step * 12)) $((Y + $1))
    sleep 0.03
  done
  xdotool mouseup 1
  sleep 0.3
}
# Without "PEN:SIZE [w]" the stroke is the brush's full size, whatever the
# pressure the mouse's speed makes.
xdotool key w
stroke 120
xdotool mousemove --sync $((X + 532)) $((Y + 319))
sleep 0.3
xdotool mousedown 1
for step in 1 2 3 4 5 6 7 8; do
  xdotool mousemove --sync $((X + 532 + step * 5)) $((Y + 319))
  sleep 0.05
done
sleep 0.3
import -window root panel.png
xdotool mouseup 1
sleep 0.3
stroke 330
wait $APP
INNER
in_xvfb 800x600x24 bash "$WORK/session.sh" || {
  echo "main panel xvfb test: the live session failed"; cat "$WORK/err.txt" 2>/dev/null; exit 1; }

cd "$WORK"
[ -n "${OLLAN_KEEP:-}" ] && cp panel.png live.png "$OLLAN_KEEP"/
# A stroke's width: the most dark pixels in one column of its band.
width() {
  convert live.png -crop "240x200+80+$1" -colorspace gray -depth 8 txt:- |
    awk -F'[,:()]' 'NR > 1 && $4 < 140 { n[$1]++ } END { m = 0; for (c in n) if (n[c] > m) m = n[c]; print m }'
}
before=$(width 20)
after=$(width 230)
echo "main panel xvfb test: strokes $before and $after pixels wide"
[ "$before" -gt 0 ] || { echo "main panel xvfb test: the first stroke painted nothing"; exit 1; }
[ $((after * 10)) -gt $((before * 17)) ] || { echo "main panel xvfb test: the dial did not widen the brush"; exit 1; }
echo "main panel xvfb test: passed"
