#pragma once
// The floating panels and who of them owns the pointer. The pointer pass runs
// once a frame before any painting input: it decides whether the GUI takes the
// pointer (hover, a press, a drag) and operates the control being pressed.
// Ownership is decided when a button goes down: a press that begins on a
// panel belongs to the GUI until every button is up, one that begins on the
// canvas belongs to the canvas, so a stroke passing under a panel goes on.
#include <memory>
#include <vector>

#include "ui/gui.h"
#include "ui/gui_flags.h"

namespace ui {

// One frame of pointer input.
struct PointerInput {
  vec2d pos;  // client pixels
  bool left = false, right = false;
  unsigned char modifier_keys = 0;  // Shift 1, Ctrl 2, Alt 4
  float screen_w = 0, screen_h = 0;
  // Something else owns the pointer (view navigation, the guide, the panel
  // state switched off): the GUI takes no new press.
  bool others_own = false;
};

struct GuiContext {
  std::vector<std::unique_ptr<gui_master>> master_list;  // every panel, in creation order (drawing order)
  std::vector<gui_master*> open_panels;                  // the panels shown and searched for input
  gui_gadget* active_gadget = nullptr;                   // the control being operated
  gui_gadget* hovered = nullptr;                         // the control under the pointer
  gui_master* hovered_panel = nullptr;                   // the panel under the pointer
  bool click_latch = false;                              // a once-per-press action has fired; cleared on release
  PointerShape pointer_shape = PointerShape::arrow;
  int flags = 0;  // gui_flag::gui_owned bits only

  gui_master& add(std::unique_ptr<gui_master> panel);
  void open(gui_master& panel);
  void close(gui_master& panel);
  bool is_open(const gui_master& panel) const;

  // Internal press state, kept between frames.
  enum class Press : unsigned char { none, gui, canvas, other } press = Press::none;
  vec2d last_pos;
  vec2d grab;  // the mover's grab offset
};

// Runs the pass for this frame; afterwards `flags` says what the GUI owns.
void pointer_pass(GuiContext& g, const PointerInput& in);

// Merges the GUI's bits into the application's gui_flags, keeping the others.
inline int merge_gui_flags(int app_flags, const GuiContext& g) {
  return (app_flags & ~gui_flag::gui_owned) | g.flags;
}

}  // namespace ui
