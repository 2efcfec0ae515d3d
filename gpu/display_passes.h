#pragma once
// The passes of the display after the layers are lit: glow, the copy into
// view_image, the lasso, and the mirrored layer draw.
#include <array>

#include "gpu/display.h"

namespace gpu {

// Draws the current layer pass (paint_display bound) as the full quad, or
// mirrored: mode 4 or more flips the whole quad (bit 4 left-right, bit 8
// top-bottom); modes 1 to 3 draw two halves, 1 repeating the left half on the
// right, 2 the right half on the left, each half lit from its own side.
void mirrored_draw(unsigned char mirror_mode, const std::array<float, 3>& lpos);

// Light above 1 in paint_image spreads as a blurred glow added with `amount`.
void add_glow(float amount);

// view_image = background, then paint_image over it (dithered to 8-bit steps
// when `dither`).
void copy_to_view(bool dither);

// The even-odd fill of the lasso and its marching outline, onto view_image.
void draw_lasso(const DisplayInputs& in);

}  // namespace gpu
