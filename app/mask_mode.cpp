#include "app/mask_mode.h"

#include <utility>

#include "app/app_state.h"
#include "gpu/selection_mask.h"
#include "layers/layer.h"
#include "layers/layer_stack.h"

namespace {

// The layer whose paint was masked: the restore goes back into it even when
// another layer became active meanwhile.
layer* masked_layer = nullptr;
std::vector<std::array<float, 2>> outline;

// The paint the mask in force kept goes back, if it still has a layer.
void restore_masked_paint() {
  if (modes.mask_mode && layer_index(masked_layer) >= 0)
    gpu::restore_mask_snapshot(masked_layer->col, masked_layer->mat);
}

// A new mask replaces the one in force: the paint the old one kept goes back
// first, and the new one keeps the active layer's paint as it is then.
// Returns that layer, or null when there is none (nothing changes then).
layer* begin_new_mask() {
  layer* l = layers.active;
  if (!l) return nullptr;
  restore_masked_paint();
  gpu::take_mask_snapshot(l->col, l->mat);
  masked_layer = l;
  outline.clear();
  modes.mask_mode = 1;
  layers.changed = true;
  return l;
}

}  // namespace

void set_mask_mode(bool on) {
  if (on == (modes.mask_mode != 0)) return;
  if (on) {
    if (layer* l = begin_new_mask()) gpu::mask_from_paint(l->mat, l->visibility);
    return;
  }
  restore_masked_paint();
  masked_layer = nullptr;
  outline.clear();
  modes.mask_mode = 0;
  layers.changed = true;
}

void toggle_mask_mode() {
  set_mask_mode(modes.mask_mode == 0);
}

void mask_from_lasso(std::vector<std::array<float, 2>> lasso) {
  if (!begin_new_mask()) return;
  gpu::mask_from_lasso(lasso);
  outline = std::move(lasso);
}

void invert_mask_mode() {
  if (!layers.active) return;
  const bool was_on = modes.mask_mode != 0;
  // The outline still bounds the inverted mask.
  std::vector<std::array<float, 2>> kept = std::move(outline);
  layer* l = begin_new_mask();
  if (!was_on) gpu::mask_from_paint(l->mat, l->visibility);
  gpu::invert_mask();
  outline = std::move(kept);
}

const std::vector<std::array<float, 2>>& mask_outline() {
  static const std::vector<std::array<float, 2>> none;
  return modes.mask_mode ? outline : none;
}
