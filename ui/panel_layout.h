#pragma once
// Where the main control panel's controls stand: one row per control in the
// order the panel creates them, the value controls addressing their setting
// by id. Group boxes and the layer list drive no setting of their own.
#include <optional>
#include <span>

#include "document/parameters.h"

namespace ui {

enum class ControlKind : unsigned char { value, group, layer_list };

struct PanelControl {
  ControlKind kind;
  std::optional<document::ParamId> param;  // value controls
  const char* own_label;                   // group boxes and the layer list
  float x, y;                   // top level: x leftward from the right edge, y from the top; else within the group
  float w, h;                   // size; one number in the panel's table means w = h
  const char* group = nullptr;  // label of the parent group, null at top level
  float multiplier = 1;         // dial turns per unit of value

  // The value control's parameter label, or the box's own.
  const char* label() const { return param ? document::parameter(*param).label : own_label; }
};

std::span<const PanelControl> panel_controls();

}  // namespace ui
