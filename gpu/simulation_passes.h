#pragma once
// Small helpers the simulation's passes share: binding a target with the
// canvas projection, copying buffers, drawing while counting, and the gates
// that stop the flow under the selection mask and where the canvas is dry.
#include <optional>

#include "gpu/simulation.h"
#include "platform/gl.h"

namespace gpu::sim {

// Binds `fbo` as the target with the viewport and projection of the current
// canvas geometry (which a ScopedResolution may have reduced).
void bind_target(GLuint fbo);

// Draws and copies, counted into `stats`.
struct Draw {
  SimulationStats& stats;
  // The scissor the canvas-resolution draws run under, for the counts; none:
  // the whole canvas.
  std::optional<PixelRect> clip;
  void full();                                                 // full quad at canvas resolution
  void reduced();                                              // full quad at the solver resolution
  void region(float x, float y, float r, float dx, float dy);  // region quad (may fall back to full)
  // 1:1 copies of colour attachment 0, whole or of a canvas rect; never
  // clipped by the scissor, since passes read a copy beyond their own area.
  void blit(GLuint from_fbo, GLuint to_fbo, int w, int h);
  void blit(GLuint from_fbo, GLuint to_fbo, const PixelRect& canvas_rect);
  void gate(bool mask_active, bool drying, bool reduced_resolution);  // multiplies the bound target
};

// While alive the scissor test is off (blits and mipmap generation honour
// it or not, depending on the driver), and on again afterwards if it was.
class Unclipped {
 public:
  Unclipped();
  ~Unclipped();
  Unclipped(const Unclipped&) = delete;
  Unclipped& operator=(const Unclipped&) = delete;

 private:
  GLboolean scissor_;
};

// Fixed-function drawing of texture unit 0 modulated by the vertex colour.
void use_fixed_function(GLuint tex);

}  // namespace gpu::sim
