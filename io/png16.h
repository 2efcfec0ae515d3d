#pragma once
// 16-bit PNG export: RGB (colour type 2) or RGBA (colour type 6), each float
// sample stored as Int(min(value, 1) x 65535) big-endian, top row first.
#include <span>
#include <string>

#include "base/result.h"
#include "io/atomic_file.h"

namespace io {

// Encodes w x h pixels of `channels` (3 or 4) floats each, top row first. An
// error for a bad size or when libpng fails.
Result<void> png16_encode(Output& out, std::span<const float> samples, int w, int h, int channels);

// Encodes into the file at `path`, replacing it only when complete.
Result<void> png16_write(const std::string& path, std::span<const float> samples, int w, int h, int channels);

// One sample as stored: negative and NaN values become 0, values above 1
// become 65535.
unsigned short png16_sample(float value);

}  // namespace io
