#include "gpu/buffer.h"
#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "gpu/simulation.h"
#include "gpu/simulation_passes.h"

namespace gpu {

void warp_enter(const WorkPaint& paint) {
  SimulationStats stats;
  sim::Draw draw{stats, std::nullopt};
  const int wi = geometry.width, hi = geometry.height;
  draw.blit(paint.col_fbo, canvas_buffers.overlay_col.framebuffer(), wi, hi);
  draw.blit(paint.mat_fbo, canvas_buffers.overlay_mat.framebuffer(), wi, hi);
  const float w = float(wi), h = float(hi);
  sim::bind_target(canvas_buffers.warp_uv.framebuffer());
  glUseProgram(0);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  // Each pixel holds its own texture coordinate.
  glBegin(GL_QUADS);
  glColor4f(0, 0, 0, 1);
  glVertex2f(0, h);
  glColor4f(0, 1, 0, 1);
  glVertex2f(0, 0);
  glColor4f(1, 1, 0, 1);
  glVertex2f(w, 0);
  glColor4f(1, 0, 0, 1);
  glVertex2f(w, h);
  glEnd();
  glColor4f(1, 1, 1, 1);
  glEnable(GL_TEXTURE_2D);
}

void warp_apply(const WorkPaint& paint, int strips, const std::function<void()>& present) {
  CanvasBuffers& b = canvas_buffers;
  SimulationStats stats;
  sim::Draw draw{stats, std::nullopt};
  const int w = geometry.width, h = geometry.height;
  draw.blit(paint.col_fbo, b.overlay_col.framebuffer(), w, h);
  draw.blit(paint.mat_fbo, b.overlay_mat.framebuffer(), w, h);
  if (strips < 1) strips = 1;
  const float strip_w = float(w) / float(strips), strip_u = 1.0f / float(strips);
  auto strip = [&](int i, const Buffer& source, GLuint target_fbo) {
    sim::bind_target(target_fbo);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    program(Prog::uv_lookup_filtered).use().set("offset", 0.5f * geometry.texel_x, 0.5f * geometry.texel_y);
    bind_texture(0, source.texture());
    bind_texture(1, b.warp_uv.texture());
    const float x0 = strip_w * float(i), x1 = strip_w * float(i + 1);
    const float u0 = strip_u * float(i), u1 = strip_u * float(i + 1);
    glBegin(GL_QUADS);
    glTexCoord2f(u0, 1);
    glVertex2f(x0, 0);
    glTexCoord2f(u0, 0);
    glVertex2f(x0, float(h));
    glTexCoord2f(u1, 0);
    glVertex2f(x1, float(h));
    glTexCoord2f(u1, 1);
    glVertex2f(x1, 0);
    glEnd();
    glEnable(GL_ALPHA_TEST);
  };
  for (int i = 0; i < strips; ++i) {
    strip(i, b.overlay_col, paint.col_fbo);
    strip(i, b.overlay_mat, paint.mat_fbo);
    glUseProgram(0);
    bind_texture(1, 0);
    bind_texture(0, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (present) present();
  }
}

}  // namespace gpu
