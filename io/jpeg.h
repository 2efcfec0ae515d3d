#pragma once
// JPEG coding through libjpeg: 8-bit RGB pictures, top row first.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "io/pixmap.h"

namespace io {

inline constexpr int jpeg_quality = 100;
inline constexpr int max_jpeg_side = 16384;

// `rgb` holds width x height x 3 bytes. Nothing, with `error` set, when libjpeg
// fails or the size is out of range.
std::optional<std::vector<uint8_t>> jpeg_encode(std::span<const uint8_t> rgb, int width, int height, int quality,
                                                std::string* error);

// An RGB pixmap (grey and colour JPEGs alike), or nothing with `error` set:
// for a size beyond `limits` (checked from the header), and for a picture
// cut short or holding corrupt data.
std::optional<Pixmap> jpeg_decode(std::span<const uint8_t> data, std::string* error, const PictureLimits& limits = {});

}  // namespace io
