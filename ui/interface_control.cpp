#include "ui/interface_control.h"

#include <algorithm>

namespace ui {

interface interface::Create(std::string name, InterfaceKind kind, vec2d pos, vec2d size, float low, float high,
                            const float tint[4], std::optional<document::ParamId> param, int parent) {
  interface c;
  c.name = std::move(name);
  c.gadget = kind;
  c.pos = c.rel_pos = pos;
  c.size = size;
  c.low = low;
  c.high = high;
  std::copy(tint, tint + 4, c.color);
  c.transparency = 0.75f - tint[3];
  c.param = param;
  c.parent = parent;
  if (param) c.least = document::parameter(*param).least;
  return c;
}

bool interface::mouse(vec2d p, float screen_w) const {
  if (gadget <= InterfaceKind::dial) {
    const float r = 0.5f * size.x;
    const float dx = screen_w - p.x - (pos.x - r), dy = p.y - (pos.y + 0.5f * size.y);
    return dx * dx + dy * dy < r * r;
  }
  return covers(p, screen_w);
}

bool interface::covers(vec2d p, float screen_w) const {
  const float x0 = left(screen_w);
  return x0 <= p.x && p.x < x0 + size.x && pos.y < p.y && p.y < pos.y + size.y;
}

float interface::position_of(float value) const {
  if (unbounded()) return value;
  return std::clamp((value - low) / (high - low), 0.0f, 1.0f);
}

float interface::value_at(float position) const {
  if (unbounded()) return std::max(position, least);
  return low + (high - low) * std::clamp(position, 0.0f, 1.0f);
}

void interface::init_adjustment(vec2d p, float value, bool ctrl) {
  trap_pos = p;
  fine = ctrl;
  prev_value = value_remapped = position_of(value);
}

float interface::adjust_value(vec2d p, float value, bool ctrl) {
  if (ctrl != fine) {
    fine = ctrl;
    prev_value = position_of(value);
    trap_pos = p;
  }
  const float moved = (p.x - trap_pos.x) + (trap_pos.y - p.y);
  value_remapped = prev_value + moved * dial_step * mult * (fine ? fine_scale : 1);
  const float lo = unbounded() ? least : 0.0f;
  const float hi = unbounded() ? std::max(value_remapped, lo) : 1.0f;
  if (value_remapped < lo || value_remapped > hi) {
    value_remapped = std::clamp(value_remapped, lo, hi);
    prev_value = value_remapped;
    trap_pos = p;
  }
  return value_at(value_remapped);
}

}  // namespace ui
