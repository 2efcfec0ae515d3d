#pragma once
// Drawing the colour mixer over the picture: the colour wheel at the current
// colour and the swatch grid with its cells, the current column, the
// selected cell and the new-column button.
#include "base/vec.h"
#include "document/swatch_grid.h"
#include "ui/swatch_panel.h"

namespace ui {

struct WheelLook {
  vec2d pos;           // top-left, client pixels
  float size = 96;     // diameter
  float midpoint = 1;  // the colour's value
  float gamma = 0;     // the display gamma the picture is shown with (0: none)
  float color[4] = {0, 0, 0, 1};
};

// Both draw over the framebuffer bound now, a screen of w x h, and put the
// GL state back.
void draw_color_wheel(const WheelLook& w, float screen_w, float screen_h);
void draw_swatches(const SwatchPanel& p, const SwatchGrid& g, float screen_w, float screen_h);

}  // namespace ui
