#include "layers/layer_actions.h"

#include <utility>

#include "layers/layer_stack.h"

void activate_layer(int index) {
  layers.active = layers.list[size_t(index)].get();
  layers.active_number = index + 1;
  layers.changed = true;
}

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
    blit(from->col, l->col);
    blit(from->mat, l->mat);
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
