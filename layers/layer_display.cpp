#include "layers/layer_display.h"

#include <vector>

#include "layers/layer.h"

gpu::PixelRect display_layers(const gpu::DisplayInputs& in) {
  std::vector<gpu::DisplayLayer> view;
  view.reserve(layers.list.size());
  for (const auto& lp : layers.list) {
    const layer& l = *lp;
    const bool undo = l.showing_undo();
    gpu::DisplayLayer d;
    d.col_tex = undo ? l.undo_col() : l.fbo_col();
    d.mat_tex = undo ? l.undo_mat() : l.fbo_mat();
    d.col_fbo = undo ? l.undo_colID() : l.fbo_colID();
    d.mat_fbo = undo ? l.undo_matID() : l.fbo_matID();
    d.style = l.style;
    d.hidden = l.hidden != 0;
    d.active = &l == layers.active;
    d.bump = l.bump;
    d.glossiness = l.glossiness;
    d.diffusion = l.diffusion;
    d.metallic = l.metallic;
    d.opacity = l.opacity;
    d.visibility = l.visibility;
    for (int i = 0; i < 3; ++i) d.color[i] = l.color[i];
    d.posx = l.posx;
    d.posy = l.posy;
    view.push_back(d);
  }
  return gpu::render_display(view, in);
}
