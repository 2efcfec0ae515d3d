#pragma once
// The program's own PNG pixmap loader for import: any PNG becomes an 8-bit
// pixmap of grey (1 byte per pixel), RGB (3) or RGBA (4); grey with alpha
// becomes RGBA with the grey in red, green and blue.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "io/pixmap.h"

namespace io {

class TPixmapLoaderPNG {
 public:
  // The pixmap, or nothing with `error` set ("PNG ERROR: " and libpng's reason)
  // when the bytes are not a readable PNG.
  static std::optional<Pixmap> LoadPixmap(std::span<const uint8_t> stream, std::string* error = nullptr,
                                          const PictureLimits& limits = {});
};

}  // namespace io
