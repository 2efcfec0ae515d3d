#include "app/layer_actions.h"

#include "gpu/colour_normalise.h"
#include "layers/layer.h"

void snapshot_active_layer() {
  layer* l = layers.active;
  if (!l) return;
  l->make_undo_live();
  l->store_undo();
}

void normalise_active_layer() {
  layer* l = layers.active;
  if (!l) return;
  snapshot_active_layer();
  gpu::normalise_colours(l->col);
  layers.changed = true;
}
