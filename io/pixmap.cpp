#include "io/pixmap.h"

namespace io {

std::vector<uint8_t> Pixmap::rgba() const {
  const std::size_t n = std::size_t(width) * height;
  std::vector<uint8_t> out(n * 4);
  for (std::size_t i = 0; i < n; ++i) {
    const uint8_t* p = pixels.data() + i * channels;
    uint8_t* o = out.data() + i * 4;
    if (channels < 3) {
      o[0] = o[1] = o[2] = p[0];
    } else {
      o[0] = p[0], o[1] = p[1], o[2] = p[2];
    }
    o[3] = channels == 4 ? p[3] : 255;
  }
  return out;
}

}  // namespace io
