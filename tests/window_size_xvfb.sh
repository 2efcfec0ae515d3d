#!/usr/bin/env bash
# The live window under a bare X server, resized from outside as a window
# manager would: 640 x 480, then 560 x 560 (the same sum of the sides) each
# show the canvas in the middle of the window; moved and resized, Shift+Home
# gives the window back the size and place it had at start. Keeps the
# screenshots (resized_640x480.png, resized_560x560.png) in $OLLAN_KEEP when
# that is set.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
source "$here/lib/xvfb.bash"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null ||
  { echo "window size xvfb test: skipped, no Xvfb or xdotool"; exit 0; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
OLLAN=$(realpath "$1")
export OLLAN WORK LIB=$here/lib/xsession.bash XDG_STATE_HOME=$WORK/state
mkdir -p "$XDG_STATE_HOME"

cat >"$WORK/session.sh" <<'INNER'
set -euo pipefail
cd "$WORK"
source "$LIB"
fail() { echo "window size xvfb test: $*"; kill -KILL "$APP" 2>/dev/null || true; exit 1; }
geometry() { xdotool getwindowgeometry "$WID" | tail -n +2 | tr -s ' ' | tr '\n' ' '; }
# The first and last client pixel of the bright paper along a row (r Y) or a
# column (c X) of the screenshot, between FROM and TO.
paper_span() {
  local shot=$1 dir=$2 at=$3 from=$4 to=$5 crop
  if [ "$dir" = r ]; then crop="$((to - from))x1+$((X + from))+$((Y + at))"; else crop="1x$((to - from))+$((X + at))+$((Y + from))"; fi
  convert "$shot" -crop "$crop" +repage -colorspace gray -depth 8 txt:- |
    awk -F'[,:() ]+' -v dir="$dir" -v from="$from" 'NR > 1 && $4 > 100 { p = (dir == "r" ? $1 : $2) + from; if (lo == "") lo = p; hi = p } END { print lo "-" hi }'
}
resize_to() {
  xdotool windowsize "$WID" "$1" "$2"
  sleep 1
  xdotool mousemove --sync 1275 715
  settle "$1x$2+$X+$Y" "resized_$1x$2.png"
}
start_ollan --size 320x180 --seed 2
settle "320x180+$X+$Y" first.png
start=$(geometry)

# The 320 x 180 canvas in the middle of the W x H window: its paper spans
# exactly its own width along the window's middle row and its height down
# the middle column (looked at within 180 pixels of the middle, clear of the
# panels).
expect_centred() {
  local w=$1 h=$2 shot="resized_$1x$2.png" row col
  eval "$(xdotool getwindowgeometry --shell "$WID")"
  row=$(paper_span "$shot" r $((h / 2)) $((w / 2 - 180)) $((w / 2 + 180)))
  col=$(paper_span "$shot" c $((w / 2)) $((h / 2 - 180)) $((h / 2 + 180)))
  [ "$row" = "$(((w - 320) / 2))-$(((w + 320) / 2 - 1))" ] || fail "at $w x $h the canvas row spans $row"
  [ "$col" = "$(((h - 180) / 2))-$(((h + 180) / 2 - 1))" ] || fail "at $w x $h the canvas column spans $col"
}
resize_to 640 480
expect_centred 640 480
resize_to 560 560
expect_centred 560 560

xdotool windowmove "$WID" 30 40
sleep 1
xdotool mousemove --sync 300 300
# Shift held over whole frames: "key shift+Home" can press and release it
# within one frame, before the frame reads it.
xdotool keydown shift
sleep 0.3
xdotool key Home
sleep 0.3
xdotool keyup shift
sleep 1
back=$(geometry)
[ "$back" = "$start" ] || fail "Shift+Home left the window at $back, start-up put it at $start"
kill -KILL "$APP"
wait "$APP" 2>/dev/null || true
INNER
in_xvfb 1280x720x24 bash ${OLLAN_TRACE:+-x} "$WORK/session.sh" || {
  echo "window size xvfb test: the live session failed"; cat "$WORK/err.txt" 2>/dev/null; exit 1; }
[ -n "${OLLAN_KEEP:-}" ] && cp "$WORK"/resized_*.png "$OLLAN_KEEP"/
echo "window size xvfb test: passed"
