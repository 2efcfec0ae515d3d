#pragma once
// JPEG coding through libjpeg: 8-bit RGB pictures, top row first.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"
#include "io/pixmap.h"

namespace io {

inline constexpr int jpeg_quality = 100;
inline constexpr int max_jpeg_side = 16384;

// `rgb` holds width x height x 3 bytes. An error when libjpeg fails or the
// size is out of range.
Result<std::vector<uint8_t>> jpeg_encode(std::span<const uint8_t> rgb, int width, int height, int quality);

// An RGB pixmap (grey and colour JPEGs alike); an error for a size beyond
// `limits` (checked from the header), and for a picture cut short or holding
// corrupt data.
Result<Pixmap> jpeg_decode(std::span<const uint8_t> data, const PictureLimits& limits = {});

}  // namespace io
