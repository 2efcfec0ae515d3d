#pragma once
// Where this frame's stroke can have laid paint, for the display to redo only
// that part of the picture.
#include <optional>

#include "gpu/dirty_region.h"

// The bristle brush painting or smudging: the box of every bristle segment
// of the frame, widened by the line width and the smoothing's fringe. None
// when the brush paints by other means (other brush types, the erase and
// average tools with their area passes, warp mode): the caller redoes the
// whole picture.
std::optional<gpu::PixelRect> stroke_region(int brush_type, unsigned char tool_mode, bool warp_mode);
