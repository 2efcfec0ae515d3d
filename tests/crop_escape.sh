#!/usr/bin/env bash
# Escape in crop mode leaves crop mode without the exit question: with an OK
# queued for a question, the replay goes on to its screenshot; a second
# Escape, with crop mode off, asks and ends the run before the next one.
set -euo pipefail
ollan="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "crop escape test: $*"; exit 1; }

cat > "$dir/escape.txt" <<SCRIPT
canvas 320 180
mouse 160 90
frame
key down Left Shift
key press F2
frame
key up Left Shift
answer ok
key press Escape
frame 2
screenshot $dir/after_crop.png
key press Escape
frame 2
screenshot $dir/after_exit.png
SCRIPT
"$ollan" --headless --replay "$dir/escape.txt" 2> "$dir/err.txt" || fail "the replay failed: $(cat "$dir/err.txt")"
[ -f "$dir/after_crop.png" ] || fail "Escape in crop mode asked to exit"
[ ! -f "$dir/after_exit.png" ] || fail "Escape out of crop mode did not ask to exit"
