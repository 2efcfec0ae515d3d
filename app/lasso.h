#pragma once
// The lasso: with L held, a left drag draws a line behind the pointer; when
// the button is let go the line closes and its inside (even-odd, so a lasso
// crossing itself leaves the doubly enclosed part out) becomes the selection
// mask of mask mode. While the mask is in force its outline marches over the
// picture.
#include <vector>

#include "base/vec.h"
#include "gpu/display.h"
#include "platform/input.h"

struct FrameState;

// The lasso of this frame: `pressed` is a left press this frame, `left` the
// button held; `canvas_pointer` the rotated pointer in canvas pixels. True
// while the lasso owns the pointer (so that nothing paints).
bool lasso_gesture(platform::Input& in, unsigned char modifier_keys, bool left, bool pressed, vec2d canvas_pointer);

// What the display draws of the lasso: the line being drawn, or the outline
// of the mask in force.
void lasso_display(gpu::DisplayInputs& in);

// Appends what the lasso's picture depends on: a change redraws the picture.
void add_lasso_state(std::vector<float>& out);

// No lasso is being drawn (a new session or canvas).
void reset_lasso();
