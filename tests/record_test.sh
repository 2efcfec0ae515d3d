#!/usr/bin/env bash
# A live session under a bare X server is recorded as an input script; the
# recording, replayed headless, paints the same picture. Also keeps a
# screenshot of the live window with its status text (status.png in
# $OLLAN_KEEP when that is set).
set -euo pipefail
OLLAN=$(realpath "$1")
LIB=$(dirname "$(realpath "$0")")/lib/xsession.bash
source "$(dirname "$(realpath "$0")")/lib/xvfb.bash"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "record test: skipped, no Xvfb or xdotool"
  exit 0
fi

cat >"$WORK/session.sh" <<'INNER'
set -euo pipefail
cd "$WORK"
source "$LIB"
start_ollan --size 320x180 --seed 5 --frames 240 --record rec.txt --export live.png
sleep 1
xdotool mousemove --sync $((X + 60)) $((Y + 60))
xdotool keydown shift
xdotool mousedown 1
for step in $(seq 1 20); do
  xdotool mousemove --sync $((X + 60 + step * 8)) $((Y + 60 + step * 3))
  sleep 0.03
done
xdotool mouseup 1
xdotool keyup shift
xdotool key bracketright
xdotool mousemove --sync $((X + 100)) $((Y + 150))
xdotool mousedown 1
for step in $(seq 1 15); do
  xdotool mousemove --sync $((X + 100 + step * 10)) $((Y + 150 - step * 4))
  sleep 0.03
done
xdotool mouseup 1
sleep 0.5
import -window root status.png
wait $APP
INNER
WORK=$WORK OLLAN=$OLLAN LIB=$LIB in_xvfb 640x400x24 bash "$WORK/session.sh" || {
  echo "record test: the live session failed"; cat "$WORK/err.txt" 2>/dev/null; exit 1; }

cd "$WORK"
[ -n "${OLLAN_KEEP:-}" ] && cp status.png rec.txt live.png "$OLLAN_KEEP"/
grep -q '^down left' rec.txt || { echo "record test: no button press was recorded"; exit 1; }
grep -q '^key down Left Shift' rec.txt || { echo "record test: no Shift was recorded"; exit 1; }
"$OLLAN" --headless --replay rec.txt --export replayed.png
cmp -s live.png replayed.png || { echo "record test: the replay painted another picture"; exit 1; }
echo "record test: passed ($(grep -c '^frame' rec.txt) frame lines)"
