#pragma once
// Where this frame's stroke can have laid paint, for the display to redo only
// that part of the picture.
#include <optional>

#include "gpu/dirty_region.h"

// What the stroke recorded of the frame's brush, its area tools included.
// None in warp mode, where the display shows the paint through the map, and
// when the stroke could not tell: the caller redoes the whole picture.
std::optional<gpu::PixelRect> stroke_region(bool warp_mode);
