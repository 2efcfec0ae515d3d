#pragma once
// The perspective guide: a wire lattice (a gridded cube, three axes, the
// cube's edges continued towards infinity and a horizon circle) seen through
// a perspective camera and bent by the vertex stage's lens distortion, drawn
// over the picture. It is never painted into a layer.
#include "gpu/guide_settings.h"

namespace gpu {

// Draws the guide of `g` over the bound w x h target and advances the sway
// counter. Leaves the 2-D canvas projection of the other passes.
void draw_guide(GuideSettings& g, int w, int h);

}  // namespace gpu
