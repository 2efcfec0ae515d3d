#pragma once
// An 8-bit picture as the image loaders return it, top row first.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace io {

// What a loader accepts, checked against the file's header before any pixel
// is decoded.
struct PictureLimits {
  int max_side = 16384;
  std::size_t max_rgba_bytes = std::size_t(1) << 30;  // the picture decoded as RGBA
};

struct Pixmap {
  int width = 0, height = 0;
  int channels = 0;             // 1 grey, 3 RGB, 4 RGBA
  std::vector<uint8_t> pixels;  // width x height x channels

  bool has_alpha() const { return channels == 4; }
  // The picture as RGBA (grey into red, green and blue; alpha 255 where the
  // picture has none).
  std::vector<uint8_t> rgba() const;
};

}  // namespace io
