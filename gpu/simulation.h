#pragma once
// The wet-paint simulation: every frame, after the brush has deposited paint
// and written its motion into the velocity field, the active layer's paint
// amount and colour are moved along the field, the wetness is advected and
// diffused, and the field is damped, smoothed, freed of divergence and carried
// along itself. Parameters come from gpu::simulation_settings; the buffers are
// gpu::canvas_buffers' velocity, solver, wetness, scratch, mat_copy, mask,
// canvas_normals and warp_uv.
#include <functional>
#include <optional>

#include "gpu/dirty_region.h"
#include "platform/gl.h"

namespace gpu {

// The active layer's paint, as the simulation moves it.
struct WorkPaint {
  GLuint col_fbo = 0, col_tex = 0;  // work colour, RGBA16F
  GLuint mat_fbo = 0, mat_tex = 0;  // work amount, R32F
};

// What the frame tells the simulation.
struct SimulationFrame {
  WorkPaint paint;
  float brush_x = 0, brush_y = 0;    // brush centre in canvas pixels
  float brush_radius = 0;            // pixels
  float motion_x = 0, motion_y = 0;  // brush motion since the last frame, pixels
  bool dab = false;                  // the brush deposited paint this frame
  bool warp_mode = false;            // the flow moves warp_uv instead of the paint
  bool mask_active = false;          // a selection mask protects paint from flowing
  bool whole_canvas = false;         // copy and clear over the whole canvas, as if the field were unknown
};

// Draw counts of one simulated frame: full-canvas draws at canvas resolution,
// draws at the solver's reduced resolution, brush-region draws and copies.
struct SimulationStats {
  int full_passes = 0;
  int reduced_passes = 0;
  int region_passes = 0;
  int blits = 0;
  double pixels = 0;  // canvas pixels of the largest area a draw covered
  PixelRect touched;  // the paint (or the warp map) changed only inside, in canvas pixels
};

// Runs the simulation for one frame. Needs the canvas projection's GL state
// only as far as the canvas buffers exist; leaves blending off, the canvas
// projection set and the alpha test on.
SimulationStats simulate_frame(const SimulationFrame& f);

// The brush wrote its motion into the persistent velocity field inside
// `where` (none: anywhere), no step longer than `reach` pixels. At full
// fluidity the simulation then clears and copies only around what was written.
void note_field_written(const std::optional<PixelRect>& where, float reach);

// The brush wetted the canvas inside `where`: below full fluidity the
// wetness then spreads and dries only around what is wet.
void note_wetness_written(const PixelRect& where);

// Stops all flow: both velocity fields to zero.
void clear_flow();
// Dries the whole canvas: wetness and its gate to zero, so only paint the brush
// wets again can flow.
void clear_wetness();

// Warp mode. Entering fills warp_uv with the identity map and shows the paint
// through it: overlay_col and overlay_mat get the work paint.
void warp_enter(const WorkPaint& paint);
// Resamples the work paint through warp_uv in `strips` vertical strips (colour
// then amount for each), calling `present` after each strip so the user sees
// the progress. One strip resamples everything in one draw each.
void warp_apply(const WorkPaint& paint, int strips, const std::function<void()>& present);

}  // namespace gpu
