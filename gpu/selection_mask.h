#pragma once
// The selection mask's life: a snapshot of the work colour and amount when a
// mask is made, the mask from paint or inverted, and the restore that puts the
// snapshot back inside the mask when the mask is applied or removed. The mask
// itself is canvas_buffers.mask (its alpha selects).
#include <array>
#include <span>

#include "gpu/buffer.h"

namespace gpu {

// Makes the snapshot pair again at the canvas size and copies the work colour
// and amount into it.
void take_mask_snapshot(const Buffer& work_col, const Buffer& work_mat);

// The mask becomes every pixel that holds paint in `work_mat`, weighted by the
// layer's `visibility`.
void mask_from_paint(const Buffer& work_mat, float visibility);

// Selected becomes unselected and the other way round.
void invert_mask();

// The even-odd fill of a closed outline (canvas pixels) into lasso_fill:
// every covering of the polygon's triangle fan adds 0.001, so a pixel covered
// an odd number of times is inside (polygon_parity tells them apart).
void fill_lasso(std::span<const std::array<float, 2>> outline);

// The mask becomes the inside of the outline, even-odd: where a lasso
// crosses itself the doubly enclosed part is outside.
void mask_from_lasso(std::span<const std::array<float, 2>> outline);

// Paint inside the mask returns to its state at snapshot time.
void restore_mask_snapshot(const Buffer& work_col, const Buffer& work_mat);

}  // namespace gpu
