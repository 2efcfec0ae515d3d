#pragma once
// The value box a dial or slider of the floating panels shows below itself
// while it is hovered or operated: what it says and where it stands.
#include <string>

#include "gpu/dirty_region.h"
#include "ui/gui_context.h"

namespace ui {

inline constexpr float tooltip_w = 48, tooltip_h = 20, tooltip_fade = 18;

struct TooltipText {
  std::string text;
  float shift = 0;  // added to the text's x
};

// The value as the box shows it: with display type 4 three decimals cut to
// five characters (six from 10000 up; a negative value six, seven below
// -9999, moved 8 pixels left), otherwise the whole number, centred.
TooltipText tooltip_text(float v, unsigned char display_type);

// The control whose value box shows: the one operated, else the one under
// the pointer, when it is a dial or a slider; none otherwise.
const gui_gadget* tooltip_owner(const GuiContext& g);

// The value the control's box shows: its target's, or its own position.
float tooltip_value(const gui_gadget& c);

// The box's top-left: 8 pixels left of the control, just below it.
vec2d tooltip_pos(const gui_gadget& c);
// The pixels the box with its side fades covers.
gpu::PixelRect tooltip_area(const gui_gadget& c);

}  // namespace ui
