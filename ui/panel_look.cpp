#include "ui/panel_look.h"

#include <string_view>

namespace ui {

Tint control_tint(const PanelControl& k, InterfaceKind kind) {
  const std::string_view label = k.label();
  switch (kind) {
    case InterfaceKind::group: return {{0.56f, 0.65f, 0.72f, 1}};
    case InterfaceKind::layer_list: return {{0.56f, 0.65f, 0.72f, 0.1f}};
    case InterfaceKind::menu_button: return {{0.056f, 0.065f, 0.072f, 0.1f}};
    case InterfaceKind::step_button:
    case InterfaceKind::toggle:
      if (label == "CANVAS:SHOW" || label == "PEN:SIZE [w]") return {{1, 1, 0.5f, 0.3f}};
      if (label == "PEN:OPACITY [e]") return {{0.5f, 1, 1, 0.3f}};
      if (label == "PEN:TILT") return {{0.5f, 1, 0.5f, 0.3f}};
      return {{1, 0.98f, 0.95f, 0.3f}};
    case InterfaceKind::dial: break;
  }
  if (label == "COLOR:RED") return {{0.2f, 0, 0, 0.35f}};
  if (label == "COLOR:GREEN") return {{0, 0.2f, 0, 0.35f}};
  if (label == "COLOR:BLUE") return {{0, 0, 0.2f, 0.35f}};
  if (label == "COLOR:SATURATE" || label == "COLOR:DRP GAMMA") return {{0, 0, 0.1f, 0.5f}};
  if (label == "BRUSH:BIAS") return {{0, 0, 0, 0}};
  if (k.group) return {{0, 0, 0, 0.2f}};
  if (label == "FLUID:SHARPNESS") return {{0.1f, 0, 0, 0.1f}};
  if (label == "FLUID:SMUDGE") return {{0, 0.1f, 0, 0.1f}};
  return {{0, 0, 0, 0.1f}};
}

}  // namespace ui
