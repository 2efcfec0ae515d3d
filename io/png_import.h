#pragma once
// The program's one PNG decoder: any PNG becomes an 8-bit pixmap of grey (1
// byte per pixel), RGB (3) or RGBA (4); grey with alpha becomes RGBA with the
// grey in red, green and blue. Any bit depth and colour type is converted;
// pictures wider or taller than max_png_side are refused.
#include <cstdint>
#include <span>

#include "base/result.h"
#include "io/pixmap.h"

namespace io {

inline constexpr int max_png_side = 16384;

class TPixmapLoaderPNG {
 public:
  // The pixmap, or an error ("PNG ERROR: " and the reason) when the bytes are
  // not a readable PNG.
  // A header whose size is above `limits` is refused before anything is
  // decoded.
  static Result<Pixmap> LoadPixmap(std::span<const uint8_t> stream, const PictureLimits& limits = {});
};

}  // namespace io
