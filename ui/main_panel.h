#pragma once
// The main control panel along the window's right edge: the radial controls
// of the panel's table, each bound to its setting in the parameter model, and
// the layer list. The pass runs once a frame before painting input: it finds
// the control under the pointer, operates the one pressed and says what the
// panel owns, so that nothing it owns paints. A press that begins on the
// panel (a control or a group's background) belongs to it until every
// button is up; one that begins elsewhere never becomes the panel's.
#include <string>
#include <vector>

#include "ui/gui_context.h"
#include "ui/interface_control.h"
#include "ui/layer_list.h"
#include "ui/layer_requests.h"

namespace ui {

struct MainPanel {
  std::vector<interface> controls;  // in creation order; later ones lie on top
  int layer_list = -1;              // index of the layer list control
  int hovered = -1;                 // the control under the pointer
  int pressed = -1;                 // the control being operated
  bool over_group = false;          // the pointer is over a group's background
  std::string hover_name;           // the layer list's part under the pointer
  LayerRows rows;                   // the layer list's rows as last laid out
  std::vector<LayerRequest> requests;
  int flags = 0;  // gui_flag::gui_owned bits

  enum class Press : unsigned char { none, panel, elsewhere } press = Press::none;
  bool press_spent = false;  // a delete asked: the rest of the press does nothing
  vec2d list_trap;           // where the layer list's drag (re)started
};

// Every control of the panel's table with its place, range, tint and binding.
MainPanel build_main_panel();

// The layer list's rows on a window of this size, from the stack as it is.
LayerRows main_panel_rows(const MainPanel& m, float screen_w, float screen_h);

// This frame's pass; afterwards `flags` says what the panel owns and
// `requests` holds what the layer list asks of the stack.
void main_panel_pass(MainPanel& m, const PointerInput& in);

// What the panel shows beside its control `i`: the setting's readout, or
// the layer list's part under the pointer.
std::string control_readout(const MainPanel& m, int i);

}  // namespace ui
