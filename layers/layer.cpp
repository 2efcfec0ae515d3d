#include "layers/layer.h"

#include <algorithm>

#include "gpu/geometry.h"

LayerState layers;

gpu::Buffer layer::fbo_create(GLenum internal_format, GLenum format) {
  glClearColor(0, 0, 0, 0);
  return gpu::Buffer::create(gpu::geometry.width, gpu::geometry.height, internal_format, format,
                             GL_MIRRORED_REPEAT);
}

layer* layer::Create(layer* after, float x, float y, float w, float h, unsigned char style) {
  auto l = std::make_unique<layer>();
  l->pos = vec2d::Create(x, y);
  l->size = vec2d::Create(w, h);
  l->style = style;
  l->col = fbo_create(GL_RGBA16F, GL_RGBA);
  l->mat = fbo_create(GL_R32F, GL_RED);
  l->undo_col_buffer = fbo_create(GL_RGBA16F, GL_RGBA);
  l->undo_mat_buffer = fbo_create(GL_R32F, GL_RED);
  l->width = float(gpu::geometry.width);
  l->height = float(gpu::geometry.height);
  layer* raw = l.get();
  auto& list = layers.list;
  auto at = std::find_if(list.begin(), list.end(), [after](const auto& p) { return p.get() == after; });
  if (!after || at == list.end()) list.push_back(std::move(l));
  else list.insert(at + 1, std::move(l));
  return raw;
}

namespace {

void blit(const gpu::Buffer& from, const gpu::Buffer& to) {
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, from.framebuffer());
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to.framebuffer());
  glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_LINEAR);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace

void layer::store_undo() {
  blit(col, undo_col_buffer);
  blit(mat, undo_mat_buffer);
}

void layer::get_undo() {
  blit(undo_col_buffer, col);
  blit(undo_mat_buffer, mat);
}

void layer::remove() {
  auto& list = layers.list;
  auto at = std::find_if(list.begin(), list.end(), [this](const auto& p) { return p.get() == this; });
  if (layers.active == this) layers.active = nullptr;
  if (at != list.end()) list.erase(at);  // destroys *this and its buffers
}

void delete_all_layers() {
  layers.list.clear();
  layers.active = nullptr;
  layers.active_number = 1;
}
