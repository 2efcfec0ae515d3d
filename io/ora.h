#pragma once
// OpenRaster (".ora") as bytes: a zip whose first entry "mimetype" is stored
// and reads "image/openraster", a "stack.xml" listing the layers top first,
// one PNG per layer, "mergedimage.png" of the whole picture and
// "Thumbnails/thumbnail.png". No GL and no program state here.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"
#include "io/atomic_file.h"
#include "io/pixmap.h"

namespace io {

inline constexpr char ora_mimetype[] = "image/openraster";
inline constexpr int ora_thumbnail_side = 256;

// How a layer combines with those below it, as the program's layer styles
// name it: 0 normal, 1 additive, 2 multiply.
const char* ora_composite_op(uint8_t style);
uint8_t ora_style(const std::string& composite_op);

// A layer to write: `rgba` is width x height x 4 floats, top row first,
// straight (not premultiplied) alpha.
struct OraLayerOut {
  std::string name;
  bool visible = true;
  float opacity = 1;
  uint8_t style = 0;
  std::span<const float> rgba;
};

// Writes an OpenRaster image of width x height: `layers` top first, `merged`
// the whole picture as width x height x 3 floats (top row first). Layer
// pictures and the merged picture are 16-bit PNGs. An error for bad sizes or
// when the zip or PNG encoding failed.
Result<void> write_ora(Output& out, int width, int height, std::span<const OraLayerOut> layers,
                       std::span<const float> merged);

// The picture scaled down by whole-pixel box averages to fit in `side` x
// `side` (unchanged when it already fits); `channels` floats per pixel.
std::vector<float> box_shrink(std::span<const float> px, int w, int h, int channels, int side, int* out_w, int* out_h);

// What a reader accepts before it allocates or inflates anything.
struct OraLimits {
  int max_side = 8192;                                    // image and layer sides
  int max_layers = 256;                                   // layers in stack.xml
  int max_entries = 4096;                                 // entries in the zip
  std::uint64_t max_entry_size = std::uint64_t(1) << 30;  // one entry, inflated
  std::uint64_t max_total_size = std::uint64_t(1) << 32;  // every entry, inflated
  std::uint64_t max_pixels = std::uint64_t(1) << 28;      // all layer pictures together
  std::size_t max_stack_xml = std::size_t(1) << 20;
};

// A layer as read: its picture is 8-bit RGBA (grey and RGB pictures become
// RGBA), placed with its top-left corner at (x, y) of the image.
struct OraLayerIn {
  std::string name;
  bool visible = true;
  float opacity = 1;
  uint8_t style = 0;
  int x = 0, y = 0;
  Pixmap picture;
};

struct OraImage {
  int width = 0, height = 0;
  std::vector<OraLayerIn> layers;  // top first, as stack.xml lists them
};

// Reads and checks a whole OpenRaster image from `bytes`; an error (a sentence
// saying what is wrong) when the archive is not one this program reads or
// breaks `limits`.
Result<OraImage> read_ora(std::span<const uint8_t> bytes, const OraLimits& limits);

// True for a zip entry name that stays inside the archive's folder: relative,
// no "." or ".." parts, no backslashes, no empty parts.
bool safe_entry_name(const std::string& name);

}  // namespace io
