#include "ui/color_wheel.h"

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

constexpr float pi = 3.14159265358979f;

// A primary's share of the hue at angle x (half turns from its own hue).
float lobe(float x) {
  return std::sqrt(std::max(1 - std::abs(x) / 0.6666667f, 0.0f));
}

}  // namespace

WheelColor wheel_color_at(vec2d p, vec2d pos, float size, const float color[4], float midpoint) {
  WheelColor w;
  if (!(size > 0)) return w;
  // -1..1 across the wheel, y up as the shader sees it.
  const float dx = 2 * (p.x - pos.x) / size - 1, dy = 1 - 2 * (p.y - pos.y) / size;
  const float r = std::hypot(dx, dy);
  if (r > 1) return w;
  const float turn = std::atan2(dy, dx) / pi;  // -1..1, 0 to the right
  if (r < 0.72f) {
    w.part = WheelColor::Part::disc;
    const float gx = turn < -0.333f ? turn + 2 - 0.6666667f : turn - 0.6666667f;
    const float bx = turn > 0.333f ? turn - 2 + 0.6666667f : turn + 0.6666667f;
    float c[3] = {lobe(turn), lobe(gx), lobe(bx)};
    const float top = std::max({c[0], c[1], c[2]});
    const float white = std::sqrt(1 - std::min(1.0f, r / 0.7f));
    for (int i = 0; i < 3; ++i) {
      if (top > 0) c[i] /= top;
      w.rgb[i] = (c[i] + (1 - c[i]) * white) * midpoint;
    }
  } else if (turn < 0) {
    w.part = WheelColor::Part::value;
    const float t = 1 + turn;
    const float top = std::max({color[0], color[1], color[2]});
    for (int i = 0; i < 3; ++i) w.rgb[i] = top > 0 ? color[i] / top * t : t;
  } else {
    w.part = WheelColor::Part::opacity;
    const float t = 1 - turn;
    w.alpha = t * t;
  }
  return w;
}

}  // namespace ui
