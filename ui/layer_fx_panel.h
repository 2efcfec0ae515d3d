#pragma once
// The "LAYER FX" panel: the active layer shrunk to half the canvas and its
// four histograms (red, green, blue, luminance) over the values 0 to 3, with
// the lowest and highest value of the selected channel marked. An analysis
// view: nothing here changes the layer.
#include <string>

#include "gpu/buffer.h"
#include "gpu/histogram.h"
#include "ui/gui_context.h"
#include "ui/gui_draw.h"

class layer;

namespace ui {

// The effect object the panel shows; its kind 0 is "levels".
struct LayerFX {
  unsigned char effect = 0;
  std::string name = "levels";
  float histozoom = 1;         // horizontal zoom, kept in 1/3 .. 1 by the slider
  unsigned char channels = 3;  // selected channel: 0 red, 1 green, 2 blue, 3 luminance
};

struct LayerFxPanel {
  LayerFX fx;
  bool refresh = true;  // the histogram is computed again before it is drawn next
  // What the buttons ask for: 2 once pressed, served by serve_buttons.
  unsigned char reset_request = 0, auto_request = 0, apply_request = 0;
  gpu::Histogram histogram;
  gui_master* panel = nullptr;
  gpu::Buffer relief;
};

// Builds the panel and its controls (hidden until opened) into `g`.
void build_layer_fx_panel(LayerFxPanel& p, GuiContext& g, const GuiImages& images);

// The buttons, served between frames: "reset" goes back to the values 0 to 1
// (zoom 1) on the luminance, "auto" zooms so that the selected channel's
// highest value fills the width, "apply" reads the layer again. True when
// any of them was pressed: each also raises the commit of a picture being
// placed (the caller's), as there is no levels transform of its own to
// commit.
bool serve_layer_fx_buttons(LayerFxPanel& p);

// Shrinks `active` into the canvas's half-size buffer, reads it back and bins
// it. An empty histogram without a layer.
void compute_layer_histogram(LayerFxPanel& p, const layer* active);

// Draws the picture, the histograms and the markers over the panel, when it
// is shown.
void draw_layer_fx(const LayerFxPanel& p, float screen_w, float screen_h);

}  // namespace ui
