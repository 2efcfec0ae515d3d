#pragma once
// Where a painting frame's brush can have changed the active layer's paint
// (and the buffers its area tools borrow), in canvas pixels, for the display
// and the simulation to redo only that part.
#include <optional>

#include "brush/brush_types.h"
#include "gpu/dirty_region.h"

// The bristle set (type 8) this frame: the box of every hair's segment,
// widened by the line width and the smoothing's fringe. None when there are
// no hairs.
std::optional<gpu::PixelRect> bristle_region();
// The longest step a hair made this frame, in pixels: as far as the motion
// it writes into the velocity field can carry paint.
float bristle_reach();

// The dabs of types 0 to 5 around (x, y), their scatter and dab sizes
// included, from the previous position to this one.
gpu::PixelRect dab_region(const StrokeCall& c);

// A square of side `size` around (x, y) (the loaded brush, the area tools),
// and the pixels the rasteriser may round into.
gpu::PixelRect square_region(float x, float y, float size);
