#pragma once
// The brush-image file ("oli"): a header segment (block packed twice) with
// the options, then one segment per image (block packed once). Header:
// magic "Ollan brush images" (18 bytes), version byte (4), image count, the
// bristle size, bristle count, bias, oscillation and oscillation chaos
// (floats), the image-flag and paint sub-mode bytes, the sequence playback
// mode and image-colour bytes. Image block: size W, H (floats), the capture
// quad's corners huv0..huv3 (2 floats each), the "p" byte, the name length and
// name, then W x H x 4 colour floats (RGBA, from the image's `col` texture)
// and W x H paint-amount floats (from its `mat` texture). Little-endian.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"
#include "io/atomic_file.h"
#include "io/segment.h"

namespace io {

inline constexpr uint8_t brush_image_version = 4;
inline constexpr int max_brush_image_side = 2048;  // captures are clamped to it
inline constexpr std::size_t max_brush_image_name = 4096;

struct BrushImageOptions {
  float bristle_size = 0, bristles = 0, bias = 0, oscillate = 0, osc_chaos = 0;
  uint8_t image_flag = 0, paint_mode = 0;
  uint8_t playback_mode = 3, image_color = 1;  // version 4
};

// One image with its pixels; `col` and `mat` always by name, never by
// position, so that the colour and paint textures cannot swap.
struct BrushImage {
  int width = 0, height = 0;
  float huv[4][2] = {};
  uint8_t perspective = 0;  // the "p" option when it was taken
  std::string name;
  std::vector<float> col;  // width x height x 4, RGBA
  std::vector<float> mat;  // width x height
};

struct BrushImageFile {
  uint8_t version = brush_image_version;
  int32_t stated_count = 0;  // the image count the header gives
  BrushImageOptions options;
  std::vector<BrushImage> images;  // the complete images, in file order
  bool truncated = false;          // the file ended before all stated images
};

// Writes the header and every image; `progress` (may be empty) runs after each
// image. False when the output failed or an image's pixels do not match its
// size.
bool write_brush_images(Output& out, const BrushImageOptions& options, std::span<const BrushImage> images,
                        const std::function<void(int done)>& progress);

// Reads a whole brush-image file (versions 3 and 4). An error, with nothing
// to keep, when the header is not sound or an image block is damaged; a file
// that merely ends early gives the images before the end.
Result<BrushImageFile> read_brush_images(std::span<const uint8_t> bytes);

// The blocks before packing, as the writer makes them.
Bytes encode_brush_image_header(const BrushImageOptions& options, int32_t count);
Bytes encode_brush_image(const BrushImage& image);

}  // namespace io
