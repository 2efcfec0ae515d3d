#!/usr/bin/env bash
# OpenRaster end to end with the real program: a replay paints two layers and
# saves them as .ora (script save and --export); Python's zipfile and XML
# parser and ImageMagick read the archive independently; the .ora loads back
# as layers; a hostile archive is refused and changes nothing.
set -euo pipefail
ollan="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "OpenRaster test: $*"; exit 1; }

paint() {
  cat <<SCRIPT
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
key press F9
frame
color 0.1 0.3 0.9
mouse 30 70
frame
down left
frame
mouse 130 20
frame 3
up left
frame 3
SCRIPT
}
{ paint; echo "save $dir/painting.ora"; echo frame; } > "$dir/paint.txt"
"$ollan" --headless --replay "$dir/paint.txt" --export "$dir/painted.png"
"$ollan" --headless --replay "$dir/paint.txt" --export "$dir/exported.ora"
"$ollan" --headless --size 160x90 --frames 1 --export "$dir/blank.png"

# The archive as an independent reader sees it.
python3 - "$dir/painting.ora" "$dir/exported.ora" <<'PY' || fail "the archive's layout is wrong"
import struct, sys, zipfile, xml.etree.ElementTree as ET

def png_header(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    w, h, depth, ctype = struct.unpack(">IIBB", data[16:26])
    return w, h, depth, ctype

for path in sys.argv[1:]:
    raw = open(path, "rb").read()
    # mimetype first, stored, no extra field: readers find it at offset 30.
    assert raw[30:38] == b"mimetype" and raw[38:54] == b"image/openraster", "mimetype is not the first entry"
    z = zipfile.ZipFile(path)
    assert z.testzip() is None, "a CRC does not match"
    first = z.infolist()[0]
    assert first.filename == "mimetype" and first.compress_type == zipfile.ZIP_STORED and first.extra == b""
    names = z.namelist()
    for need in ("stack.xml", "mergedimage.png", "Thumbnails/thumbnail.png"):
        assert need in names, need + " is missing"
    image = ET.fromstring(z.read("stack.xml"))
    assert image.tag == "image" and image.get("w") == "160" and image.get("h") == "90", image.attrib
    layers = image.findall("./stack/layer")
    assert [l.get("name") for l in layers] == ["Layer 2", "Layer 1"], [l.get("name") for l in layers]
    for l in layers:
        assert l.get("visibility") == "visible" and float(l.get("opacity")) == 1.0, l.attrib
        assert png_header(z.read(l.get("src"))) == (160, 90, 16, 6), l.get("src")
    assert png_header(z.read("mergedimage.png"))[:3] == (160, 90, 16)
    tw, th, _, _ = png_header(z.read("Thumbnails/thumbnail.png"))
    assert 0 < tw <= 256 and 0 < th <= 256
    z.extractall(path + ".d")
    for l in layers:
        open(path + ".d/" + l.get("name").replace(" ", "_") + ".png", "wb").write(z.read(l.get("src")))
PY
cmp -s "$dir/painting.ora" "$dir/exported.ora" ||
  [ "$(unzip -Z1 "$dir/painting.ora")" = "$(unzip -Z1 "$dir/exported.ora")" ] || fail "save and --export differ"

px() {  # FILE X Y: the pixel's channels as 0..255 integers, alpha last
  convert "$1" -alpha on -crop "1x1+$2+$3" -depth 8 -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)] %[fx:int(255*a)]' info:
}
d="$dir/painting.ora.d"
# The merged picture is the lit picture the PNG export writes, strokes and all.
[ "$(compare -metric AE "$d/mergedimage.png" "$dir/painted.png" null: 2>&1)" = 0 ] ||
  fail "mergedimage.png is not the lit picture"
changed=$(compare -metric AE -fuzz 5% "$d/mergedimage.png" "$dir/blank.png" null: 2>&1 || true)
[ "$changed" -gt 1000 ] || fail "mergedimage.png shows no strokes ($changed pixels differ from a blank canvas)"
# The red stroke at (110, 55) is on layer 1 only, the blue one at (50, 60) on layer 2 only.
read -r r g b a <<<"$(px "$d/Layer_1.png" 110 55)"
[ "$a" -gt 200 ] && [ "$r" -gt "$b" ] || fail "layer 1 misses its red stroke: $r $g $b $a"
read -r r g b a <<<"$(px "$d/Layer_2.png" 110 55)"
[ "$a" -lt 20 ] || fail "layer 2 holds paint it was not given: alpha $a"
read -r r g b a <<<"$(px "$d/Layer_2.png" 50 60)"
[ "$a" -gt 200 ] && [ "$b" -gt "$r" ] || fail "layer 2 misses its blue stroke: $r $g $b $a"
read -r r g b a <<<"$(px "$d/Layer_1.png" 150 5)"
[ "$a" -eq 0 ] || fail "unpainted canvas is not transparent in layer 1: alpha $a"

# Loaded at start-up, the layers show the strokes where they were painted.
"$ollan" --headless --frames 1 --export "$dir/back.png" "$dir/painting.ora"
identify -format '%w %h' "$dir/back.png" | grep -qx '160 90' || fail "the loaded canvas has the wrong size"
read -r r g b a <<<"$(px "$dir/back.png" 110 55)"
[ "$r" -gt "$b" ] || fail "the loaded picture misses the red stroke: $r $g $b"
read -r r g b a <<<"$(px "$dir/back.png" 50 60)"
[ "$b" -gt "$r" ] || fail "the loaded picture misses the blue stroke: $r $g $b"
[ "$(compare -metric AE -fuzz 2% "$dir/back.png[10x10+145+0]" "$dir/blank.png[10x10+145+0]" null: 2>&1)" = 0 ] ||
  fail "the loaded picture has paint where none was"

# Hostile archives: refused with a message, the painting and the files untouched.
python3 - "$dir" <<'PY'
import sys, zipfile
d = sys.argv[1]
good = zipfile.ZipFile(d + "/painting.ora")
def write(name, entries):
    with zipfile.ZipFile(d + "/" + name, "w") as z:
        for n, data in entries:
            z.writestr(n, data)
stack = good.read("stack.xml")
write("escape.ora", [("mimetype", b"image/openraster"), ("stack.xml", stack),
                     ("data/layer0.png", good.read("data/layer0.png")), ("../../escape.png", b"x")])
write("bomb.ora", [("mimetype", b"image/openraster"), ("stack.xml", stack),
                   ("data/layer0.png", good.read("data/layer0.png")), ("data/layer1.png", good.read("data/layer1.png"))])
with zipfile.ZipFile(d + "/bomb.ora", "a", zipfile.ZIP_DEFLATED) as z:
    with z.open("big.bin", "w", force_zip64=True) as f:
        chunk = b"\0" * (1 << 24)
        for _ in range(66):  # 1.03 GiB of zeros, about 1 MB packed
            f.write(chunk)
PY
cp "$dir/painting.ora" "$dir/keep.ora"
for bad in escape bomb; do
  { paint; echo "load $dir/$bad.ora"; echo frame; } > "$dir/bad.txt"
  "$ollan" --headless --replay "$dir/bad.txt" --export "$dir/after_$bad.png" 2> "$dir/$bad.log" ||
    fail "the replay stopped on $bad.ora: $(cat "$dir/$bad.log")"
  grep -q "Loading OpenRaster" "$dir/$bad.log" || fail "$bad.ora was not refused: $(cat "$dir/$bad.log")"
  [ "$(compare -metric AE "$dir/after_$bad.png" "$dir/painted.png" null: 2>&1)" = 0 ] ||
    fail "refusing $bad.ora changed the painting"
done
grep -q "outside" "$dir/escape.log" || fail "the escaping entry was not named: $(cat "$dir/escape.log")"
grep -q "unpacks to" "$dir/bomb.log" || fail "the bomb was not named: $(cat "$dir/bomb.log")"
[ ! -e "$dir/../escape.png" ] || fail "an entry was written outside"

# A save that cannot be written leaves nothing behind and the old file as it was.
{ paint; echo "save $dir/missing/x.ora"; echo "save $dir/keep.ora"; echo frame; } > "$dir/save.txt"
"$ollan" --headless --replay "$dir/save.txt" 2> "$dir/save.log" || fail "the replay stopped: $(cat "$dir/save.log")"
grep -q "Saving OpenRaster" "$dir/save.log" || fail "the failed save was not logged: $(cat "$dir/save.log")"
[ ! -e "$dir/missing" ] || fail "a failed save left something behind"
ls "$dir" | grep -q '\.tmp' && fail "a temporary file was left: $(ls "$dir")"
cat "$dir/escape.log" "$dir/bomb.log" "$dir/save.log"

# --export takes .png and .ora names only.
if "$ollan" --headless --frames 1 --export "$dir/x.jpg" 2>"$dir/option.log"; then fail "--export took a .jpg"; fi
grep -q "png or .ora" "$dir/option.log" || fail "--export x.jpg: $(cat "$dir/option.log")"
echo "OpenRaster files: ok"
