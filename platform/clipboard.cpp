#include "platform/clipboard.h"

#include <cstring>

namespace platform {

std::optional<ClipboardImage> packed_image(const uint8_t* data, std::size_t size, int width, int height, int stride,
                                           int channels) {
  if (!data || (channels != 3 && channels != 4)) return std::nullopt;
  if (width < 1 || height < 1 || width > max_clipboard_side || height > max_clipboard_side) return std::nullopt;
  const std::size_t row = std::size_t(width) * std::size_t(channels);
  if (stride < 0 || std::size_t(stride) < row) return std::nullopt;
  // The last row need not be padded to the stride.
  if (size < std::size_t(stride) * std::size_t(height - 1) + row) return std::nullopt;
  ClipboardImage image;
  image.width = width;
  image.height = height;
  image.channels = channels;
  image.pixels.resize(row * std::size_t(height));
  for (int y = 0; y < height; ++y) std::memcpy(&image.pixels[row * y], data + std::size_t(stride) * y, row);
  return image;
}

}  // namespace platform
