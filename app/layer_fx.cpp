#include "app/layer_fx.h"

#include <utility>

#include "app/brush_image_frame.h"
#include "app/floating_panels.h"
#include "layers/layer.h"

ui::LayerFxPanel layer_fx;

namespace {

const layer* shown_layer = nullptr;  // the layer the histogram was last read from
bool toggle_requested = false;       // Shift+H came before the panels were built

}  // namespace

void layer_fx_keys(bool h_pressed, unsigned char modifier_keys) {
  if (!h_pressed || (modifier_keys & 2)) return;
  layer_fx.refresh = true;
  if (modifier_keys == 1) toggle_requested = !toggle_requested;
}

void serve_layer_fx() {
  if (!layer_fx.panel) return;
  if (std::exchange(toggle_requested, false)) {
    if (gui.is_open(*layer_fx.panel))
      gui.close(*layer_fx.panel);
    else
      gui.open(*layer_fx.panel);
  }
  // Each button also lays a picture being placed.
  if (ui::serve_layer_fx_buttons(layer_fx)) request_placement_commit();
  if (layers.active != shown_layer) {
    shown_layer = layers.active;
    layer_fx.refresh = true;
  }
  // Between refreshes the panel shows the last histogram.
  if (layer_fx.refresh && gui.is_open(*layer_fx.panel)) ui::compute_layer_histogram(layer_fx, layers.active);
}

void add_layer_fx_state(std::vector<float>& out) {
  const gpu::Histogram& h = layer_fx.histogram;
  out.push_back(h.max);
  out.insert(out.end(), h.min_value.begin(), h.min_value.end());
  out.insert(out.end(), h.max_value.begin(), h.max_value.end());
  out.push_back(layer_fx.fx.histozoom);
  out.push_back(layer_fx.fx.channels);
}

void refresh_layer_fx() {
  layer_fx.refresh = true;
}

void reset_layer_fx() {
  toggle_requested = false;
  if (layer_fx.panel) gui.close(*layer_fx.panel);
  layer_fx.fx = {};
  layer_fx.refresh = true;
}
