#include "layers/canvas_setup.h"

#include "gpu/buffer.h"
#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "layers/layer.h"

bool valid_canvas_size(int w, int h) {
  return w > 0 && h > 0 && w <= max_canvas_side && h <= max_canvas_side;
}

bool create_canvas(int w, int h, const float paint_rgb[3], int screen_w, int screen_h) {
  if (!valid_canvas_size(w, h)) return false;
  delete_all_layers();
  gpu::delete_canvas_buffers();
  gpu::set_canvas_size(w, h);
  gpu::create_image_slots();
  gpu::create_work_buffers(screen_w, screen_h);

  layer* first = layer::Create(nullptr, 0);
  layers.active = first;
  layers.active_number = 1;
  layers.changed = true;

  gpu::disable_color_clamping();
  gpu::set_projection(w, h);
  first->col.bind_target();
  glUseProgram(0);
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glColor4f(paint_rgb[0], paint_rgb[1], paint_rgb[2], 1.0f);
  gpu::full_quad();
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  first->mat.bind_target();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  gpu::canvas_buffers.canvas_texture_dirty = true;
  return true;
}

bool resize_canvas(int w, int h, float ox, float oy, int screen_w, int screen_h) {
  if (!valid_canvas_size(w, h)) return false;
  gpu::delete_canvas_buffers();
  gpu::set_canvas_size(w, h);
  gpu::create_image_slots();
  gpu::create_work_buffers(screen_w, screen_h);
  for (auto& l : layers.list) l->resample(w, h, ox, oy);
  gpu::set_projection(w, h);
  gpu::canvas_buffers.canvas_texture_dirty = true;
  layers.changed = true;
  return true;
}
