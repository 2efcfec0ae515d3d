#pragma once
// A picture taken from a clipboard, packed: the top row first, 3 (RGB) or 4
// (RGBA) bytes a pixel, no padding between rows.
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

struct ClipboardImage {
  int width = 0, height = 0;
  int channels = 4;
  std::vector<uint8_t> pixels;
};

// Largest side of a clipboard picture the program takes in; a larger one
// could not become a canvas or fit on one.
inline constexpr int max_clipboard_side = 16384;

// Packs `height` rows of `stride` bytes, each holding `width` pixels of
// `channels` 8-bit values (3 or 4), into a ClipboardImage. Nothing when the
// sizes do not fit together (a stride shorter than a row, a buffer shorter
// than its rows, a side out of range).
std::optional<ClipboardImage> packed_image(const uint8_t* data, std::size_t size, int width, int height, int stride,
                                           int channels);

}  // namespace platform
