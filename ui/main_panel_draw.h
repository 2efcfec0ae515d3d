#pragma once
// Drawing the main control panel through the toolkit's glass: the group
// boxes as baked relief panels, the dials with their needles, the toggles
// lit while on, the buttons, the layer list's rows; beside the control under
// the pointer (or the one turned) its readout.
#include <optional>
#include <vector>

#include "gpu/buffer.h"
#include "ui/gui_draw.h"
#include "ui/main_panel.h"

namespace ui {

// The panel as toolkit elements: `scene` holds invisible carriers for the
// loose controls, the layer dials and the rows, and one relief panel per
// group box; its elements follow the panel's controls when drawn.
struct MainPanelView {
  GuiContext scene;
  std::vector<gui_gadget*> mirror;  // per control of the panel; none for group boxes and the list
  std::vector<gui_master*> boxes;   // per control of the panel: a group box's panel
  gui_master* rows = nullptr;       // carrier of the layer list's rows, rebuilt when drawn
  std::vector<gpu::Buffer> reliefs;
};

// Builds the view on the current GL context (the group boxes' reliefs are
// baked here); `images` must outlive it.
MainPanelView build_main_panel_view(const MainPanel& m, const GuiImages& images);

// Places the view's elements where the panel's controls stand on a screen of
// w x h and lays out the layer rows; the glass's backdrop is brought up to
// date over them before they are drawn.
void lay_out_main_panel(MainPanelView& v, const MainPanel& m, const GuiImages& images, float screen_w,
                        float screen_h);

// Draws the laid-out panel over the framebuffer bound now, refracting
// `backdrop`; with a clip only what reaches into it.
void draw_main_panel(MainPanelView& v, const MainPanel& m, const GuiPainter& p, GLuint backdrop, float screen_w,
                     float screen_h, const std::optional<gpu::PixelRect>& clip);

}  // namespace ui
