#include "app/mask_mode.h"

#include "app/app_state.h"
#include "gpu/selection_mask.h"
#include "layers/layer.h"
#include "layers/layer_stack.h"

namespace {

// The layer whose paint was masked: the restore goes back into it even when
// another layer became active meanwhile.
layer* masked_layer = nullptr;

}  // namespace

void set_mask_mode(bool on) {
  if (on == (modes.mask_mode != 0)) return;
  if (on) {
    layer* l = layers.active;
    if (!l) return;
    gpu::take_mask_snapshot(l->col, l->mat);
    gpu::mask_from_paint(l->mat, l->visibility);
    masked_layer = l;
  } else if (layer_index(masked_layer) >= 0) {
    gpu::restore_mask_snapshot(masked_layer->col, masked_layer->mat);
  }
  if (!on) masked_layer = nullptr;
  modes.mask_mode = on ? 1 : 0;
  layers.changed = true;
}

void toggle_mask_mode() {
  set_mask_mode(modes.mask_mode == 0);
}
