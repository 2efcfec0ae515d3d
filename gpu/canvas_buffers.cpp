#include "gpu/canvas_buffers.h"

#include "gpu/geometry.h"

namespace gpu {

CanvasBuffers canvas_buffers;

void create_image_slots() {
  CanvasBuffers& b = canvas_buffers;
  const int w = geometry.width, h = geometry.height;
  auto slot = [&](GLenum wrap) { return Buffer::create(w, h, GL_RGBA16F, GL_RGBA, wrap); };
  b.view_image = slot(GL_CLAMP_TO_BORDER);
  b.view_image.make_mipmapped(GL_NEAREST);
  b.canvas_image = slot(GL_MIRRORED_REPEAT);
  b.paint_image = slot(GL_MIRRORED_REPEAT);
  b.paint_image.make_mipmapped(GL_NEAREST);
  b.mask = slot(GL_MIRRORED_REPEAT);
  b.scratch = slot(GL_MIRRORED_REPEAT);
  b.canvas_normals = slot(GL_MIRRORED_REPEAT);
}

void create_work_buffers(int screen_w, int screen_h) {
  CanvasBuffers& b = canvas_buffers;
  const int w = geometry.width, h = geometry.height;
  const GLenum mr = GL_MIRRORED_REPEAT, border = GL_CLAMP_TO_BORDER;
  b.screen_copy = Buffer::create(screen_w > 0 ? screen_w : 1, screen_h > 0 ? screen_h : 1, GL_RGBA8, GL_RGB, mr);
  b.canvas_height = Buffer::create(w, h, GL_R32F, GL_RED, mr);
  for (Buffer& v : b.velocity) v = Buffer::create(w, h, GL_RG32F, GL_RG, mr);
  b.canvas_source = Buffer::create(w, h, GL_R32F, GL_RED, mr);
  b.canvas_load = Buffer::create(w, h, GL_R32F, GL_RED, mr);
  b.overlay_mat = Buffer::create(w, h, GL_R32F, GL_RED, mr);
  b.overlay_col = Buffer::create(w, h, GL_RGBA16F, GL_RGBA, mr);
  b.warp_uv = Buffer::create(w, h, GL_RG32F, GL_RG, mr);
  b.mask_view_mat = Buffer::create(w, h, GL_R32F, GL_RED, mr);
  b.mask_view_col = Buffer::create(w, h, GL_RGBA16F, GL_RGBA, mr);
  b.glow_a = Buffer::create(int(w * 0.1f), int(h * 0.1f), GL_RGBA16F, GL_RGBA, mr);
  b.glow_b = Buffer::create(int(w * 0.1f), int(h * 0.1f), GL_RGBA16F, GL_RGBA, mr);
  b.hq_target = Buffer::create(2 * w, 2 * h, GL_RGBA16F, GL_RGBA, mr);
  b.hq_reduced = Buffer::create(w, h, GL_RGBA16F, GL_RGBA, mr);
  for (Buffer& s : b.solver) s = Buffer::create(w / b.solver_divisor, h / b.solver_divisor, GL_R32F, GL_RED, mr);
  b.half_image = Buffer::create(int(w * 0.5f), int(h * 0.5f), GL_RGBA16F, GL_RGBA, border);
  b.lasso_fill = Buffer::create(w, h, GL_R16, GL_RED, border);
  b.mat_copy = Buffer::create(w, h, GL_R32F, GL_RED, mr);
  recreate_mask_snapshots();
  glClearColor(0, 0, 0, 1);
  b.wetness = Buffer::create(w, h, GL_RGBA16F, GL_RGBA, border);
  glClearColor(0, 0, 0, 0);
  b.readback.assign(size_t(w) * size_t(h) * 4, 0);
}

void recreate_mask_snapshots() {
  CanvasBuffers& b = canvas_buffers;
  const int w = geometry.width, h = geometry.height;
  b.mask_snapshot_col = Buffer::create(w, h, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_BORDER);
  b.mask_snapshot_mat = Buffer::create(w, h, GL_R32F, GL_RED, GL_CLAMP_TO_BORDER);
}

void delete_canvas_buffers() {
  CanvasBuffers& b = canvas_buffers;
  int divisor = b.solver_divisor;
  b = CanvasBuffers{};
  b.solver_divisor = divisor;
}

}  // namespace gpu
