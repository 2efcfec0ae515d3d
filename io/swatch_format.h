#pragma once
// The colour-swatch file ("olc"): the swatch grid, one segment whose block is
// packed once: magic "Ollan color swatches" (20 bytes), version byte (1), the
// column count, then per column its cell count and the cells (32 bytes each:
// r, g, b, a floats, xi, yi ints, x, y floats). Little-endian.
#include <cstdint>
#include <span>
#include <vector>

#include "base/result.h"
#include "io/atomic_file.h"
#include "io/project_format.h"
#include "io/segment.h"

namespace io {

inline constexpr uint8_t swatch_version = 1;

using SwatchColumns = std::vector<std::vector<SwatchCell>>;

Bytes encode_swatches(const SwatchColumns& columns);
// Writes the whole file. False when the output failed.
bool write_swatches(Output& out, const SwatchColumns& columns);

// Reads a whole swatch file; every count is checked against the block before
// anything is allocated by it, and every float is finite. The caller replaces
// its grid only with a result that succeeded.
Result<SwatchColumns> read_swatches(std::span<const uint8_t> bytes);

}  // namespace io
