#!/usr/bin/env bash
# The script's screenshot: the window's picture as a PNG of the window's
# size, showing what was painted; a bad name is refused before the first
# frame and a file that cannot be written stops the run with the old file kept.
set -euo pipefail
ollan="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "screenshot test: $*"; exit 1; }

cat > "$dir/shots.txt" <<'SCRIPT'
canvas 160 90
seed 5
color 0.9 0.1 0.1
mouse 30 45
frame 2
screenshot "$DIR/before.png"
down left
frame
mouse 80 50
frame 2
mouse 130 45
frame 2
up left
frame 3
screenshot "$DIR/after.png"
SCRIPT
sed -i "s|\$DIR|$dir|g" "$dir/shots.txt"
"$ollan" --headless --replay "$dir/shots.txt"
for f in before after; do
  file "$dir/$f.png" | grep -q "160 x 90, 16-bit/color RGB" || fail "$f.png: $(file "$dir/$f.png")"
done
# Where the red stroke passed, the screen turned red.
changed=$(convert "$dir/before.png" "$dir/after.png" -fx 'u.g - v.g' -format '%[fx:p{80,50}.r > 0.1]' info:)
[ "$changed" = 1 ] || fail "the stroke does not show in the screenshot"
ls "$dir" | grep -q '\.tmp' && fail "a temporary file was left"

printf 'canvas 160 90\nframe\nscreenshot shot.jpg\n' > "$dir/bad.txt"
if "$ollan" --headless --replay "$dir/bad.txt" 2> "$dir/err.txt"; then fail "a screenshot to a .jpg ran"; fi
grep -q "bad.txt:3: screenshot writes a .png file" "$dir/err.txt" || fail "unexpected message: $(cat "$dir/err.txt")"

mkdir "$dir/locked"
echo keep > "$dir/locked/shot.png"
chmod 555 "$dir/locked"
printf 'canvas 160 90\nframe\nscreenshot "%s"\nframe\n' "$dir/locked/shot.png" > "$dir/ro.txt"
if [ "$(id -u)" != 0 ]; then
  if "$ollan" --headless --replay "$dir/ro.txt" 2> "$dir/ro_err.txt"; then fail "an unwritable screenshot ran"; fi
  grep -q "ro.txt:3:" "$dir/ro_err.txt" || fail "unexpected message: $(cat "$dir/ro_err.txt")"
  [ "$(cat "$dir/locked/shot.png")" = keep ] || fail "the old file was touched"
fi
chmod 755 "$dir/locked"
echo "screenshot test: ok"
