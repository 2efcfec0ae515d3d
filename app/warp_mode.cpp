#include "app/warp_mode.h"

#include "app/app_state.h"
#include "app/view.h"
#include "gpu/display.h"
#include "gpu/simulation.h"
#include "layers/layer.h"
#include "layers/layer_display.h"

namespace {

constexpr int transition_strips = 20;

gpu::WorkPaint work_paint(const layer& l) {
  return {l.fbo_colID(), l.fbo_col(), l.fbo_matID(), l.fbo_mat()};
}

// The layers as they are (not through the map) in the window.
void present_picture(platform::Window& window) {
  gpu::DisplayInputs in;
  in.zoom = view.zoom;
  display_layers(in);
  window.bind_screen();
  gpu::ViewTransform t = view_transform(app.screen_w, app.screen_h);
  gpu::draw_view(t);
  window.present();
}

}  // namespace

void toggle_warp_mode(platform::Window& window, platform::Input& input) {
  if (!modes.warp_mode) {
    if (layer* l = layers.active) gpu::warp_enter(work_paint(*l));
    modes.warp_mode = true;
    return;
  }
  modes.warp_mode = false;
  if (layer* l = layers.active) gpu::warp_apply(work_paint(*l), transition_strips, [&] { present_picture(window); });
  input.flush_keys();
}

void commit_warp() {
  layer* l = layers.active;
  if (!modes.warp_mode || !l) return;
  l->make_undo_live();
  l->UNDO_GET |= undo_snapshot_taken;
  l->store_undo();
  gpu::warp_apply(work_paint(*l), 1, {});
  // The layer now holds the warped paint: showing it through the old map
  // again would warp it twice.
  gpu::warp_enter(work_paint(*l));
}

void warp_key(KeyContext& k) {
  if (app.modifier_keys == 2)
    toggle_warp_mode(k.window, k.input);
  else if (app.modifier_keys == 3)
    commit_warp();
}
