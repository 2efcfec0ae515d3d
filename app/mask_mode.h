#pragma once
// Mask mode (Ctrl+Q, the brush-mode panel's MASK): part of the active layer
// is masked. Inside the mask the paint does not flow and the display shows
// it as it was when the mask was made; leaving the mode puts it back there,
// so strokes in mask mode change only the canvas outside the mask. The mask
// is the layer's paint when the mode starts, or the inside of a lasso, and
// Ctrl+I turns it inside out.
#include <array>
#include <vector>

// Starts mask mode with the active layer's paint masked, or leaves it; nothing
// without an active layer.
void set_mask_mode(bool on);
void toggle_mask_mode();

// The inside of the closed outline (canvas pixels) becomes the mask, and mask
// mode is on. A mask already in force first puts back the paint it kept.
void mask_from_lasso(std::vector<std::array<float, 2>> outline);

// What was masked is free and the rest is masked (a mask in force first puts
// back the paint it kept). Outside mask mode it starts the mode with the
// paint's mask turned inside out: strokes then change only the paint.
void invert_mask_mode();

// The lasso outline of the mask in force; empty when the mask came from the
// paint or mask mode is off.
const std::vector<std::array<float, 2>>& mask_outline();
