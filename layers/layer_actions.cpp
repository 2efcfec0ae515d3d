#include "layers/layer_actions.h"

#include <utility>

#include "gpu/geometry.h"
#include "layers/layer_stack.h"

void activate_layer(int index) {
  layers.active = layers.list[size_t(index)].get();
  layers.active_number = index + 1;
  layers.changed = true;
}

namespace {

void copy_buffer(const gpu::Buffer& from, const gpu::Buffer& to) {
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, from.framebuffer());
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to.framebuffer());
  glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace

layer* insert_layer(bool above, bool copy) {
  layer* from = layers.active;
  const int i = layer_index(from);
  if (i < 0) return nullptr;
  layer* l = layer::Create(from, from->style);
  // Created directly above: one swap puts it directly below.
  if (!above) std::swap(layers.list[size_t(i)], layers.list[size_t(i) + 1]);
  l->bump = from->bump;
  l->glossiness = from->glossiness;
  l->diffusion = from->diffusion;
  l->metallic = from->metallic;
  l->visibility = from->visibility;
  l->opacity = from->opacity;
  if (copy) {
    copy_buffer(from->col, l->col);
    copy_buffer(from->mat, l->mat);
    l->store_undo();
  }
  activate_layer(layer_index(l));
  return l;
}

bool delete_active_layer() {
  const int i = layer_index(layers.active);
  const int n = int(layers.list.size());
  if (i < 0 || n < 2) return false;
  layers.active->remove();
  // The layer above now stands where the removed one stood.
  activate_layer(i < n - 1 ? i : i - 1);
  return true;
}

void cycle_style(layer& l) {
  l.style = static_cast<unsigned char>((l.style + 1) % 3);
  layers.changed = true;
}
