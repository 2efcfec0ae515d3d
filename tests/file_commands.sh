#!/usr/bin/env bash
# The real program's file commands never lose work: the last extension
# picks the kind, a file that could not be loaded never becomes the one S
# overwrites, a FIFO is refused instead of waited on, a recording is checked
# at start-up and written as the session goes, and the command line's
# mistakes get clear, printable messages.
set -euo pipefail
ollan="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failed=0
# Every part runs, so that one report lists every fault.
fail() {
  echo "file commands test: $*"
  failed=1
}

paint() {
  cat <<SCRIPT
canvas 160 90
seed 3
set "BRUSH:SIZE" 12
color 0.2 0.5 0.8
mouse 20 20
frame
down left
frame
mouse 90 60
frame 2
mouse 140 30
frame 2
up left
frame 2
SCRIPT
}

# 1. The last extension alone picks the kind, in any case.
mkdir "$dir/old.pngs"
{ paint; echo "save $dir/plain.olp"; echo "save $dir/old.pngs/painting.olp"; echo "save $dir/shot.PNG"; echo "save $dir/upper.OLP"; echo frame; } > "$dir/save.txt"
"$ollan" --headless --replay "$dir/save.txt" --export "$dir/painted.png" 2> "$dir/log.txt" || fail "save replay: $(cat "$dir/log.txt")"
for p in "$dir/old.pngs/painting.olp" "$dir/upper.OLP"; do
  grep -q -a '<SEGMENT>' "$p" || fail "$p is not a project: $(file "$p")"
done
file "$dir/shot.PNG" | grep -q 'PNG image data, 160 x 90, 16-bit' || fail "shot.PNG: $(file "$dir/shot.PNG")"
"$ollan" --headless --frames 1 --export "$dir/loaded.png" "$dir/old.pngs/painting.olp" 2> "$dir/log.txt" ||
  fail "the project saved under old.pngs/ does not load: $(cat "$dir/log.txt")"
cmp -s "$dir/painted.png" "$dir/loaded.png" || fail "the project saved under old.pngs/ does not load back"

# 2. A refused load leaves the current name alone: S then asks for a name
# instead of overwriting the file that could not be read. After a good load
# S overwrites that file.
head -c 3000 /dev/urandom > "$dir/bad.olp"
cp "$dir/bad.olp" "$dir/bad_before.olp"
cp "$dir/plain.olp" "$dir/good.olp"
cat > "$dir/refused.txt" <<SCRIPT
canvas 160 90
load $dir/bad.olp
frame
answer yes
key press S
frame 2
load $dir/good.olp
frame
mouse 30 70
down left
frame
mouse 120 20
frame 3
up left
frame
answer yes
key press S
frame 2
SCRIPT
"$ollan" --headless --replay "$dir/refused.txt" 2> "$dir/log.txt" || fail "refused-load replay: $(cat "$dir/log.txt")"
cmp -s "$dir/bad.olp" "$dir/bad_before.olp" || fail "S overwrote the project that could not be loaded"
grep -q "Loading project" "$dir/log.txt" || fail "the refused project was not reported: $(cat "$dir/log.txt")"
cmp -s "$dir/good.olp" "$dir/plain.olp" && fail "S did not save over the project that was loaded"
grep -q -a '<SEGMENT>' "$dir/good.olp" || fail "good.olp is no longer a project"

# 3. A FIFO is refused at once, as the file on the command line or by load.
mkfifo "$dir/pipe.olp" "$dir/pipe.png"
status=0
timeout 60 "$ollan" --headless --frames 1 "$dir/pipe.olp" 2> "$dir/log.txt" || status=$?
[ "$status" -ne 124 ] || fail "loading a FIFO from the command line hangs"
grep -q "not a regular file" "$dir/log.txt" || fail "FIFO on the command line: $(cat "$dir/log.txt")"
printf 'canvas 160 90\nload %s\nframe\n' "$dir/pipe.png" > "$dir/fifo.txt"
status=0
timeout 60 "$ollan" --headless --replay "$dir/fifo.txt" 2> "$dir/log.txt" || status=$?
[ "$status" -ne 124 ] || fail "the load command hangs on a FIFO"
grep -q "not a regular file" "$dir/log.txt" || fail "FIFO by load: $(cat "$dir/log.txt")"

# 4. A recording that cannot be written stops the start, not the end; one
# that can is on disk while the session runs, so a crash keeps it.
status=0
timeout 60 "$ollan" --headless --size 160x90 --frames 100000000 --record "$dir/missing/rec.txt" 2> "$dir/log.txt" ||
  status=$?
[ "$status" -ne 0 ] && [ "$status" -ne 124 ] || fail "a bad --record path was not refused at start-up ($status)"
grep -q "missing/rec.txt" "$dir/log.txt" || fail "bad --record: $(cat "$dir/log.txt")"
"$ollan" --headless --size 160x90 --frames 100000000 --record "$dir/rec.txt" 2> /dev/null &
pid=$!
for _ in $(seq 1 60); do
  sleep 0.5
  grep -q '^frame' "$dir/rec.txt" 2> /dev/null && break
done
kill -KILL "$pid" 2> /dev/null || true
wait "$pid" 2> /dev/null || true
grep -q '^canvas 160 90$' "$dir/rec.txt" || fail "the killed session's recording lost its start"
grep -q '^frame' "$dir/rec.txt" || fail "the killed session's recording holds no frames"

# 5. Messages: a folder as a script, a script from a pipe, garbage bytes,
# two files.
status=0
"$ollan" --headless --replay "$dir/old.pngs" 2> "$dir/log.txt" || status=$?
[ "$status" -ne 0 ] || fail "a folder replayed"
grep -q "folder" "$dir/log.txt" || fail "folder as script: $(cat "$dir/log.txt")"
paint > "$dir/paint.txt"
"$ollan" --headless --replay "$dir/paint.txt" --export "$dir/from_file.png" || fail "paint.txt did not replay"
"$ollan" --headless --replay <(cat "$dir/paint.txt") --export "$dir/from_pipe.png" 2> "$dir/log.txt" ||
  fail "a script from a pipe: $(cat "$dir/log.txt")"
cmp -s "$dir/from_file.png" "$dir/from_pipe.png" || fail "the script from a pipe painted something else"
printf 'canvas 160 90\n\x01\xff\xfe\x1b[31m \xc3\x28\n' > "$dir/garbage.txt"
status=0
"$ollan" --headless --replay "$dir/garbage.txt" 2> "$dir/log.txt" || status=$?
[ "$status" -ne 0 ] || fail "a garbage script replayed"
grep -q "garbage.txt:2:" "$dir/log.txt" || fail "garbage script: $(cat "$dir/log.txt")"
if LC_ALL=C grep -q -P '[^\x09\x0a\x20-\x7e]' "$dir/log.txt"; then fail "raw bytes in the message: $(od -c "$dir/log.txt" | head)"; fi
status=0
"$ollan" --headless --frames 1 "$dir/plain.olp" "$dir/good.olp" 2> "$dir/log.txt" || status=$?
[ "$status" -ne 0 ] || fail "two files were taken silently"
grep -q "plain.olp" "$dir/log.txt" && grep -q "good.olp" "$dir/log.txt" || fail "two files: $(cat "$dir/log.txt")"
[ "$failed" -eq 0 ] || exit 1
echo "file commands test: passed"
