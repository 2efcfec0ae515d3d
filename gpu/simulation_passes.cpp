#include "gpu/simulation_passes.h"

#include <algorithm>

#include "gpu/buffer.h"
#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"

namespace gpu::sim {

void bind_target(GLuint fbo) {
  glBindFramebuffer(GL_FRAMEBUFFER, fbo);
  set_projection(geometry.width, geometry.height);
}

namespace {

double canvas_pixels() {
  return double(geometry.width) * double(geometry.height);
}

// Canvas pixels the quad covers, clipped to the canvas.
double covered_pixels(const QuadCorners& q) {
  if (q.full) return canvas_pixels();
  const float w = float(geometry.width), h = float(geometry.height);
  const float x0 = std::clamp(q.pos[0][0], 0.0f, w), x1 = std::clamp(q.pos[2][0], 0.0f, w);
  const float y0 = std::clamp(q.pos[0][1], 0.0f, h), y1 = std::clamp(q.pos[2][1], 0.0f, h);
  return double(x1 - x0) * double(y1 - y0);
}

}  // namespace

void Draw::full() {
  full_quad();
  ++stats.full_passes;
  stats.pixels = std::max(stats.pixels, clip ? clip->clipped(geometry.width, geometry.height).area() : canvas_pixels());
}

void Draw::reduced() {
  full_quad();
  ++stats.reduced_passes;
}

void Draw::region(float x, float y, float r, float dx, float dy) {
  QuadCorners q = region_quad_corners(x, y, r, dx, dy);
  region_quad(x, y, r, dx, dy);
  ++(q.full ? stats.full_passes : stats.region_passes);
  stats.pixels = std::max(stats.pixels, covered_pixels(q));
}

Unclipped::Unclipped() : scissor_(glIsEnabled(GL_SCISSOR_TEST)) {
  glDisable(GL_SCISSOR_TEST);
}

Unclipped::~Unclipped() {
  if (scissor_) glEnable(GL_SCISSOR_TEST);
}

void Draw::blit(GLuint from_fbo, GLuint to_fbo, int w, int h) {
  Unclipped unclipped;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, from_fbo);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to_fbo);
  glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  ++stats.blits;
}

void Draw::blit(GLuint from_fbo, GLuint to_fbo, const PixelRect& canvas_rect) {
  const int h = geometry.height;
  const PixelRect r = canvas_rect.clipped(geometry.width, h);
  if (r.empty()) return;
  Unclipped unclipped;
  // GL counts rows from the bottom.
  glBindFramebuffer(GL_READ_FRAMEBUFFER, from_fbo);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to_fbo);
  glBlitFramebuffer(r.x0, h - r.y1, r.x1, h - r.y0, r.x0, h - r.y1, r.x1, h - r.y0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  ++stats.blits;
}

void use_fixed_function(GLuint tex) {
  glUseProgram(0);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  bind_texture(0, tex);
}

void Draw::gate(bool mask_active, bool drying, bool reduced_resolution) {
  if (!mask_active && !drying) return;
  glEnable(GL_BLEND);
  glBlendEquation(GL_FUNC_ADD);
  glColor4f(0, 0, 0, 1);
  if (mask_active) {
    use_fixed_function(canvas_buffers.mask.texture());
    glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_ALPHA);
    reduced_resolution ? reduced() : full();
  }
  if (drying) {
    use_fixed_function(canvas_buffers.wetness.texture());
    glBlendFunc(GL_ZERO, GL_SRC_ALPHA);
    reduced_resolution ? reduced() : full();
  }
  glDisable(GL_BLEND);
}

}  // namespace gpu::sim
