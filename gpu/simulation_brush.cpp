#include <cmath>

#include "gpu/buffer.h"
#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "gpu/simulation.h"
#include "gpu/simulation_passes.h"
#include "gpu/simulation_settings.h"

namespace gpu {
namespace {

enum { mode_paint = 0, mode_smudge = 1, mode_erase = 2, mode_average = 3 };

// The footprint quad: a square of side 2 r around the centre, its texture
// coordinates spanning the dab.
void footprint(const BrushDab& b) {
  const float x0 = b.x - b.radius, x1 = b.x + b.radius;
  const float y0 = b.y - b.radius, y1 = b.y + b.radius;
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(x0, y0);
  glTexCoord2f(0, 1);
  glVertex2f(x0, y1);
  glTexCoord2f(1, 1);
  glVertex2f(x1, y1);
  glTexCoord2f(1, 0);
  glVertex2f(x1, y0);
  glEnd();
}

void clear_to(const Buffer& target, float r, float g, float b, float a) {
  glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer());
  glClearColor(r, g, b, a);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace

void draw_brush_motion(const BrushDab& b, bool warp_mode) {
  const float fluidity = simulation_settings.fluidity;
  const bool smudge = b.mode == mode_smudge;
  if (!(fluidity < 1.0f || smudge) || b.mode == mode_average || (warp_mode && b.mode == mode_erase)) return;
  const float k = smudge ? 0.5f + 0.5f * fluidity : 1.0f - fluidity;
  const float w = float(geometry.width);
  const float p = std::fmax(0.0f, b.pressure);
  sim::bind_target(canvas_buffers.velocity[0].framebuffer());
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  program(Prog::dab_soft).use().set("falloff", b.falloff);
  // The field's unit is the canvas width; texture y runs upwards.
  glColor4f(k * b.motion_x / w, -k * b.motion_y / w, 0, p * p);
  footprint(b);
  glColor4f(1, 1, 1, 1);
}

void draw_brush_wetness(const BrushDab& b) {
  if (b.mode != mode_paint && b.mode != mode_smudge) return;
  sim::bind_target(canvas_buffers.wetness.framebuffer());
  glEnable(GL_BLEND);
  glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  program(Prog::dab_soft).use().set("falloff", b.falloff);
  glColor4f(1, 0, 0, 1);
  footprint(b);
  glColor4f(1, 1, 1, 1);
}

void clear_flow() {
  clear_to(canvas_buffers.velocity[0], 0, 0, 0, 0);
  clear_to(canvas_buffers.velocity[1], 0, 0, 0, 0);
}

void clear_wetness() {
  clear_to(canvas_buffers.wetness, 0, 0, 0, 0);
}

void toggle_drying() {
  if (simulation_settings.drying) clear_flow();
  clear_wetness();
  simulation_settings.drying = simulation_settings.drying ? 0 : 1;
}

}  // namespace gpu
