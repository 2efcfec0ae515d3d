#!/usr/bin/env bash
# Input scripts end to end: the same script and seed paint the same picture
# twice, a bad line stops the run before anything is written, the script's
# own export works, and --bench reports its four keys.
set -euo pipefail
ollan="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "replay test: $*"; exit 1; }

cat > "$dir/stroke.txt" <<'SCRIPT'
canvas 160 90
seed 11
set "FLUIDITY" 0.5     # the paint flows
set "BRUSH:SIZE" 12
color 0.1 0.3 0.8
mouse 20 40
frame
down left
frame
mouse 50 45
frame
mouse 90 50
frame
mouse 130 40
frame 2
up left
frame 4
export "$DIR/own.png"
SCRIPT
sed -i "s|\$DIR|$dir|" "$dir/stroke.txt"

"$ollan" --headless --replay "$dir/stroke.txt" --export "$dir/a.png"
"$ollan" --headless --replay "$dir/stroke.txt" --export "$dir/b.png"
[ -s "$dir/a.png" ] || fail "no picture exported"
cmp -s "$dir/a.png" "$dir/b.png" || fail "two replays with one seed differ"
cmp -s "$dir/a.png" "$dir/own.png" || fail "the script's export differs from --export"
file "$dir/a.png" | grep -q "160 x 90, 16-bit" || fail "the export is not a 16-bit 160 x 90 PNG: $(file "$dir/a.png")"

# A bad line: its number and the reason, a failure status, nothing written.
printf 'canvas 160 90\nframe\nmouse 12\nframe\n' > "$dir/bad.txt"
if "$ollan" --headless --replay "$dir/bad.txt" --export "$dir/bad.png" 2> "$dir/err.txt"; then
  fail "a bad script ran"
fi
grep -q "bad.txt:3: mouse wants X Y" "$dir/err.txt" || fail "unexpected message: $(cat "$dir/err.txt")"
[ ! -e "$dir/bad.png" ] || fail "a bad script wrote a picture"

# A command that fails during the run stops it the same way.
printf 'canvas 160 90\nframe\nset "DRYING" 3\nframe\n' > "$dir/bad2.txt"
if "$ollan" --headless --replay "$dir/bad2.txt" 2> "$dir/err2.txt"; then fail "an out-of-range set ran"; fi
grep -q 'bad2.txt:3: "DRYING" is a switch' "$dir/err2.txt" || fail "unexpected message: $(cat "$dir/err2.txt")"

# A box with no queued answer is cancelled and named on standard error.
printf 'canvas 160 90\nkey down Left Ctrl\nkey press Delete\nframe\nkey up Left Ctrl\nframe\n' > "$dir/box.txt"
"$ollan" --headless --replay "$dir/box.txt" 2> "$dir/box_err.txt"
grep -q '"New Project..." Clear project?' "$dir/box_err.txt" || fail "the unanswered box was not logged"

# Escape asks to leave; the queued OK ends the run after the first frame.
printf 'canvas 160 90\nkey press Escape\nanswer ok\nframe\nframe 50\n' > "$dir/quit.txt"
out=$("$ollan" --headless --replay "$dir/quit.txt" --bench)
echo "$out" | grep -q "^frames: 1$" || fail "the confirmed exit did not end the run: $out"
printf 'canvas 160 90\nkey press Escape\nanswer cancel\nframe\nframe 5\n' > "$dir/stay.txt"
out=$("$ollan" --headless --replay "$dir/stay.txt" --bench)
echo "$out" | grep -q "^frames: 6$" || fail "a cancelled exit ended the run: $out"

out=$("$ollan" --headless --size 160x90 --frames 4 --bench)
for key in median_ms min_ms max_ms frames; do
  echo "$out" | grep -q "^$key: [0-9.]*$" || fail "--bench lacks $key: $out"
done
echo "$out" | grep -q "^frames: 4$" || fail "--bench counted wrong: $out"
echo "replay test: passed"
