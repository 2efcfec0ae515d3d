#!/usr/bin/env bash
# Brush images through the real program: I shows the capture quad, I again
# takes the snap; the settings, brush-image and swatch files save and load
# through the save and load commands; Shift+I removes the images only when
# the question is answered OK.
set -euo pipefail
ollan="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failed=0
fail() {
  echo "brush image files test: $*"
  failed=1
}

# The image count stated in a brush-image file's header (packed twice), or
# "bad" when the file is not one.
image_count() {
  python3 - "$1" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
try:
    start = data.index(b"</SIZE>\r\n") + 9
    end = data.index(b"</SEGMENT>", start)
    block = data[start:end]
    for _ in range(2):
        block = zlib.decompress(block[:-4])
    assert block.startswith(b"Ollan brush images")
    print(struct.unpack("<i", block[19:23])[0])
except Exception:
    print("bad")
PY
}

paint_and_snap() {
  cat <<SCRIPT
canvas 640 480
seed 2
set "BRUSH:SIZE" 30
color 0.9 0.1 0.1
mouse 280 200
frame
down left
frame
mouse 290 280
frame 3
up left
color 0.1 0.1 0.9
mouse 350 200
frame
down left
frame
mouse 360 280
frame 3
up left
frame
key press I
frame 2
key press I
frame 2
SCRIPT
}

# 1. Capture, then save each kind.
{ paint_and_snap; echo "save $dir/set.oli"; echo "save $dir/set.ols"; echo "save $dir/set.olc"; echo frame; } > "$dir/save.txt"
"$ollan" --headless --replay "$dir/save.txt" 2> "$dir/save.log" || fail "save replay: $(cat "$dir/save.log")"
for f in set.oli set.ols set.olc; do
  [[ -s "$dir/$f" ]] || fail "$f was not written: $(cat "$dir/save.log")"
done
[[ "$(image_count "$dir/set.oli")" == 1 ]] || fail "the snap was not saved: $(image_count "$dir/set.oli") images"
ls -a "$dir" | grep -q 'ollan-tmp' && fail "a temporary file was left behind"

# 2. Load them back; Shift+I answered Cancel keeps the image, OK removes it.
cat > "$dir/load.txt" <<SCRIPT
canvas 640 480
load $dir/set.ols
load $dir/set.olc
load $dir/set.oli
frame
answer cancel
key down Left Shift
key press I
frame
key up Left Shift
frame
save $dir/kept.oli
answer ok
key down Left Shift
key press I
frame
key up Left Shift
frame
save $dir/none.oli
frame
SCRIPT
"$ollan" --headless --replay "$dir/load.txt" 2> "$dir/load.log" || fail "load replay: $(cat "$dir/load.log")"
[[ "$(image_count "$dir/kept.oli")" == 1 ]] || fail "Cancel removed the images: $(cat "$dir/load.log")"
[[ "$(image_count "$dir/none.oli")" == 0 ]] || fail "OK kept the images: $(cat "$dir/load.log")"

# 3. A file that is not a brush-image file changes nothing and says why.
printf 'not a brush image file' > "$dir/junk.oli"
cat > "$dir/junk.txt" <<SCRIPT
canvas 640 480
load $dir/set.oli
load $dir/junk.oli
frame
save $dir/after.oli
frame
SCRIPT
"$ollan" --headless --replay "$dir/junk.txt" 2> "$dir/junk.log" || fail "junk replay: $(cat "$dir/junk.log")"
grep -q "not an Ollan brush-image file" "$dir/junk.log" || fail "no reason given: $(cat "$dir/junk.log")"
[[ "$(image_count "$dir/after.oli")" == 1 ]] || fail "a bad file changed the images"
cmp -s "$dir/set.oli" "$dir/after.oli" || fail "the images did not come back as saved"

exit $failed
