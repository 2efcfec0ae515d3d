#include "app/layer_fx.h"

#include "app/floating_panels.h"
#include "layers/layer.h"

ui::LayerFxPanel layer_fx;

namespace {

const layer* shown_layer = nullptr;  // the layer the histogram was last read from

}  // namespace

void layer_fx_keys(bool h_pressed, unsigned char modifier_keys) {
  if (!h_pressed || (modifier_keys & 2) || !layer_fx.panel) return;
  layer_fx.refresh = true;
  if (modifier_keys != 1) return;
  if (gui.is_open(*layer_fx.panel))
    gui.close(*layer_fx.panel);
  else
    gui.open(*layer_fx.panel);
}

void serve_layer_fx() {
  ui::serve_layer_fx_buttons(layer_fx);
  if (layers.active != shown_layer) {
    shown_layer = layers.active;
    layer_fx.refresh = true;
  }
}

void refresh_layer_fx() {
  layer_fx.refresh = true;
}
