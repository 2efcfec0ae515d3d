#include "gpu/selection_mask.h"

#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"

namespace gpu {
namespace {

void blit(const Buffer& from, const Buffer& to) {
  glBindFramebuffer(GL_READ_FRAMEBUFFER, from.framebuffer());
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to.framebuffer());
  glBlitFramebuffer(0, 0, from.width(), from.height(), 0, 0, to.width(), to.height(), GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace

void take_mask_snapshot(const Buffer& work_col, const Buffer& work_mat) {
  recreate_mask_snapshots();
  blit(work_col, canvas_buffers.mask_snapshot_col);
  blit(work_mat, canvas_buffers.mask_snapshot_mat);
}

void mask_from_paint(const Buffer& work_mat, float visibility) {
  const Buffer& mask = canvas_buffers.mask;
  mask.bind_target();
  set_projection(geometry.width, geometry.height);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glColor4f(0.5f, 0.2f, 0.2f, 1);
  program(Prog::layer_composite).use().set_int("premul", 0).set("visibility", visibility);
  bind_texture(0, work_mat.texture());
  bind_texture(1, work_mat.texture());
  full_quad();
  glUseProgram(0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void invert_mask() {
  const CanvasBuffers& b = canvas_buffers;
  b.overlay_col.bind_target();
  set_projection(geometry.width, geometry.height);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glUseProgram(0);
  glDisable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glColor4f(0.5f, 0.2f, 0.2f, 1);
  bind_texture(0, b.mask.texture());
  full_quad();
  // Colour where the mask was empty, nothing where it was set.
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE_MINUS_DST_ALPHA, GL_ZERO);
  glDisable(GL_TEXTURE_2D);
  full_quad();
  glEnable(GL_TEXTURE_2D);
  blit(b.overlay_col, b.mask);
}

void fill_lasso(std::span<const std::array<float, 2>> outline) {
  canvas_buffers.lasso_fill.bind_target();
  set_projection(geometry.width, geometry.height);
  glUseProgram(0);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor4f(1, 1, 1, 0.001f);
  glBegin(GL_POLYGON);
  for (const auto& p : outline) glVertex2f(p[0], p[1]);
  glEnd();
  glEnable(GL_TEXTURE_2D);
}

void mask_from_lasso(std::span<const std::array<float, 2>> outline) {
  const CanvasBuffers& b = canvas_buffers;
  fill_lasso(outline);
  b.mask.bind_target();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, 1);
  program(Prog::polygon_parity).use();
  bind_texture(0, b.lasso_fill.texture());
  full_quad();
  bind_texture(0, 0);
  glUseProgram(0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void restore_mask_snapshot(const Buffer& work_col, const Buffer& work_mat) {
  const CanvasBuffers& b = canvas_buffers;
  set_projection(geometry.width, geometry.height);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, 1);
  program(Prog::col_alpha_from_mat).use();
  bind_texture(0, b.mask.texture());
  bind_texture(1, b.mask_snapshot_col.texture());
  work_col.bind_target();
  full_quad();
  bind_texture(1, b.mask_snapshot_mat.texture());
  work_mat.bind_target();
  full_quad();
  glUseProgram(0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace gpu
