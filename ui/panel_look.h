#pragma once
// How the main panel's controls look: each control's tint, by its label and
// kind, and which generated image it is drawn with.
#include "ui/interface_control.h"
#include "ui/panel_layout.h"

namespace ui {

// RGBA; the glass's transparency is 0.75 minus the alpha.
struct Tint {
  float rgba[4];
};
Tint control_tint(const PanelControl& k, InterfaceKind kind);

}  // namespace ui
