#pragma once
// Below full fluidity the simulation runs only where the flow can be alive:
// around the texels of the persistent velocity field and of the pressure that
// are not zero, grown by how far one frame's passes can carry a value. Outside
// that rectangle every field stays exactly zero, as a simulation of the whole
// canvas would leave it.
#include "gpu/dirty_region.h"

namespace gpu {

struct FlowSpread {
  int solver_divisor = 2;  // canvas pixels per pressure texel
  int jacobi_steps = 0;    // pressure relaxation steps a frame
  bool smoothing = false;  // the field is blurred ("FLUID:SHARPNESS" above 0)
  bool curls = false;      // the divergence is removed ("FLUID:CURLS" above 0)
};

// The canvas rectangle a frame must simulate when the velocity field is
// non-zero only inside `field` (canvas pixels) and the pressure only inside
// `pressure` (canvas pixels covering its texels).
PixelRect flow_work_rect(const PixelRect& field, const PixelRect& pressure, const FlowSpread& s);

// The canvas pixels that pressure texels `r` cover, for a canvas of `w` x `h`
// and a solver of `sw` x `sh`; and back, the pressure texels that cover
// canvas pixels `r`. Both round outwards.
PixelRect solver_to_canvas(const PixelRect& r, int w, int h, int sw, int sh);
PixelRect canvas_to_solver(const PixelRect& r, int w, int h, int sw, int sh);

}  // namespace gpu
