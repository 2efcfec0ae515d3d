#include "ui/tooltip.h"

#include <cstdio>

namespace ui {

TooltipText tooltip_text(float v, unsigned char display_type) {
  TooltipText t;
  char buf[64];
  if (display_type == 4) {
    std::snprintf(buf, sizeof buf, "%f", double(int(v * 1000)) * 0.001);
    std::size_t keep = v >= 10000 ? 6 : 5;
    if (v < 0) {
      keep = v < -9999 ? 7 : 6;
      t.shift = -8;
    }
    t.text = std::string(buf).substr(0, keep);
  } else {
    std::snprintf(buf, sizeof buf, "%d", int(v));
    t.text = buf;
    t.shift = 14.4f - 3.6f * float(t.text.size() - 1);
  }
  return t;
}

const gui_gadget* tooltip_owner(const GuiContext& g) {
  for (const gui_gadget* c : {g.active_gadget, g.hovered})
    if (c && (c->gadget == GadgetKind::dial || c->gadget == GadgetKind::slider)) return c;
  return nullptr;
}

float tooltip_value(const gui_gadget& c) {
  return c.value_display_post && c.target ? c.target.read() : c.value_float;
}

vec2d tooltip_pos(const gui_gadget& c) {
  return vec2d::Create(c.pos.x - 8, c.pos.y + c.size.y);
}

gpu::PixelRect tooltip_area(const gui_gadget& c) {
  const vec2d p = tooltip_pos(c);
  return gpu::PixelRect::around(p.x - tooltip_fade, p.y, p.x + tooltip_w + tooltip_fade, p.y + tooltip_h);
}

}  // namespace ui
