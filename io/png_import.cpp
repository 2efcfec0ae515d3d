#include "io/png_import.h"

#include "platform/png_decode.h"

namespace io {

std::optional<Pixmap> TPixmapLoaderPNG::LoadPixmap(std::span<const uint8_t> stream, std::string* error,
                                                   const PictureLimits& limits) {
  Rgba8Image image;
  std::string why;
  if (!decode_png_rgba8(stream.data(), stream.size(), &image, &why, limits.max_side, limits.max_rgba_bytes)) {
    if (error) *error = "PNG ERROR: " + why;
    return std::nullopt;
  }
  Pixmap p;
  p.width = image.width;
  p.height = image.height;
  p.channels = image.source_alpha ? 4 : image.source_grey ? 1 : 3;
  if (p.channels == 4) {
    p.pixels = std::move(image.pixels);
    return p;
  }
  const std::size_t n = std::size_t(p.width) * p.height;
  p.pixels.resize(n * p.channels);
  for (std::size_t i = 0; i < n; ++i)
    for (int c = 0; c < p.channels; ++c) p.pixels[i * p.channels + c] = image.pixels[i * 4 + c];
  return p;
}

}  // namespace io
