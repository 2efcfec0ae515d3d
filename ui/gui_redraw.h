#pragma once
// Redrawing the floating panels only where their look changed: how a panel
// or control looks is recorded when it is drawn, and the next frame redraws
// the window pixels of what differs. The highlights advance once a frame,
// drawn or not, and are drawn in coarse steps, so that a window redrawn in
// parts shows what one drawn whole would.
#include <string>
#include <vector>

#include "gpu/dirty_region.h"
#include "ui/gui_context.h"

namespace ui {

// One frame of the highlights: each fades by 5 %, and to nothing below
// 1/64; a lit control stays fully lit.
void fade_highlights(GuiContext& g);

// The highlight as drawn, in steps of 1/32: a fade redraws a control about
// 32 times, not every frame.
float shown_hover(float hover);

// The window pixels (y down) that drawing the element may touch: the element
// and its label; for a panel also its title.
gpu::PixelRect footprint(const gui_gadget& c);
gpu::PixelRect footprint(const gui_master& m);
// A panel with its controls, which may stand out of it.
gpu::PixelRect panel_footprint(const gui_master& m);

// The pixels of the open panels' glass that show the window picture at
// `changed`: the picture changed there, so they are redrawn with it.
gpu::PixelRect glass_near(const GuiContext& g, const gpu::PixelRect& changed);

class GuiRedraw {
 public:
  // The window pixels where the open panels look different from the last
  // call (the first call: all of them); empty when nothing changed.
  gpu::PixelRect changes(const GuiContext& g);

  struct Look {
    const gui* element = nullptr;
    bool tooltip = false;  // the element's value box
    gpu::PixelRect area;
    std::vector<float> state;
    std::string text;
    bool operator==(const Look&) const = default;
  };

 private:
  std::vector<Look> last_;
};

}  // namespace ui
