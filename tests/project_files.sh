#!/usr/bin/env bash
# Projects end to end with the real program: a replay paints, saves and
# exports; a project named on the command line loads at start-up and exports
# the same picture; a damaged project or an unwritable name is logged and the
# replay goes on.
set -euo pipefail
ollan="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "project files test: $*"; exit 1; }

cat > "$dir/paint.txt" <<SCRIPT
canvas 160 90
seed 5
set "BRUSH:SIZE" 14
color 0.8 0.2 0.1
mouse 20 30
frame
down left
frame
mouse 80 50
frame 2
mouse 140 60
frame 2
up left
frame 3
save $dir/painting.olp
save $dir/painting.jpg
frame
SCRIPT
"$ollan" --headless --replay "$dir/paint.txt" --export "$dir/painted.png"
[ -s "$dir/painting.olp" ] || fail "no project saved"
file "$dir/painting.jpg" | grep -q "JPEG" || fail "no JPEG saved: $(file "$dir/painting.jpg")"
[ "$(grep -c -a '<SEGMENT>' "$dir/painting.olp")" -ge 18 ] || fail "the project has too few segments"

# Loaded at start-up, the project shows the same picture.
"$ollan" --headless --frames 1 --export "$dir/loaded.png" "$dir/painting.olp"
cmp -s "$dir/painted.png" "$dir/loaded.png" || fail "the loaded project does not show the saved picture"

# A damaged project and an unwritable name: logged, and the replay goes on.
head -c 2000 /dev/urandom > "$dir/bad.olp"
cp "$dir/painting.olp" "$dir/keep.olp"
cat > "$dir/bad.txt" <<SCRIPT
canvas 160 90
seed 5
load $dir/bad.olp
frame
save $dir/missing/x.olp
frame
choose $dir/keep.olp
key press O
frame 2
SCRIPT
"$ollan" --headless --replay "$dir/bad.txt" --export "$dir/after_bad.png" 2> "$dir/log.txt" ||
  fail "the replay stopped: $(cat "$dir/log.txt")"
grep -q "Loading project" "$dir/log.txt" || fail "the damaged project was not logged: $(cat "$dir/log.txt")"
grep -q "Saving project" "$dir/log.txt" || fail "the failed save was not logged: $(cat "$dir/log.txt")"
cmp -s "$dir/painted.png" "$dir/after_bad.png" || fail "the project loaded by O after the failures differs"
[ ! -e "$dir/missing" ] || fail "a failed save left something behind"
cmp -s "$dir/painting.olp" "$dir/keep.olp" || fail "loading changed the project file"
echo "project files test: ok"
