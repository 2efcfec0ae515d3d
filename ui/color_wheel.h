#pragma once
// What the colour wheel shows where: the hue disc inside (white at the
// centre, at the colour's value), the value ramp on the lower half of the
// ring and the opacity ramp on the upper half. The `color_wheel` shader draws
// the same picture; this is the pointer's side of it.
#include "base/vec.h"

namespace ui {

struct WheelColor {
  enum class Part : unsigned char { none, disc, value, opacity } part = Part::none;
  float rgb[3] = {0, 0, 0};  // disc and value: the colour there
  float alpha = 1;           // opacity: the opacity there
};

// The wheel of `size` pixels at `pos` (top-left), showing `color` (r, g, b,
// a) with the wheel midpoint `midpoint`, under the pointer at `p`.
WheelColor wheel_color_at(vec2d p, vec2d pos, float size, const float color[4], float midpoint);

}  // namespace ui
