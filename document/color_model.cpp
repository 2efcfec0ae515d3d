#include "document/color_model.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/random.h"
#include "document/color_settings.h"

namespace document {
namespace {

float top(const Rgb& c) {
  return std::max({c[0], c[1], c[2]});
}
float bottom(const Rgb& c) {
  return std::min({c[0], c[1], c[2]});
}

// A component a file or a script handed over: not a number, or below 0, is 0.
float component(float v) {
  return std::isfinite(v) ? std::max(v, 0.0f) : 0.0f;
}

Rgb current_rgb() {
  const float* c = color_settings.current;
  return {c[0], c[1], c[2]};
}

// Writes the colour's components into the colour and the dials, and the
// values derived from them; black keeps the tint and the saturation, which
// it has none of.
void store(const Rgb& c, bool saturation_follows) {
  ColorSettings& s = color_settings;
  std::copy(c.begin(), c.end(), s.current);
  s.red = c[0], s.green = c[1], s.blue = c[2];
  const float mx = top(c);
  s.midpoint = mx;
  if (mx > 0) {
    for (int i = 0; i < 3; ++i) s.tint[i] = c[std::size_t(i)] / mx;
    if (saturation_follows) s.saturate = saturation_dial(c, s.saturate);
  }
  s.changed = true;
}

}  // namespace

float saturation_dial(const Rgb& c, float fallback) {
  const float mx = top(c);
  if (!(mx > 0)) return fallback;
  return std::sqrt(std::max(0.0f, (mx - bottom(c)) / mx));
}

Rgb resaturate(const Rgb& base, float sat) {
  const float mx = top(base);
  if (!(mx > 0)) return base;
  const float s0 = (mx - bottom(base)) / mx;
  if (!(s0 > 0)) return base;
  const float scale = sat * sat / s0;
  Rgb out;
  // At full saturation the least component lands on 0, where rounding
  // could take it below.
  for (std::size_t i = 0; i < 3; ++i) out[i] = std::max(0.0f, mx - (mx - base[i]) * scale);
  return out;
}

Rgb rotate_hue(const Rgb& c, float degrees) {
  const float mx = top(c), mn = bottom(c), d = mx - mn;
  if (!(d > 0) || !std::isfinite(degrees)) return c;
  float h;
  if (mx == c[0])
    h = 60 * std::fmod((c[1] - c[2]) / d + 6, 6.0f);
  else if (mx == c[1])
    h = 60 * ((c[2] - c[0]) / d + 2);
  else
    h = 60 * ((c[0] - c[1]) / d + 4);
  h = std::fmod(h + degrees, 360.0f);
  if (h < 0) h += 360;
  // Three sectors 120 degrees apart: a channel is full within 60 degrees of
  // its own hue and empty beyond 120.
  auto channel = [&](float centre) {
    const float k = std::fmod(h - centre + 540.0f, 360.0f) - 180;
    return mn + d * std::clamp(2 - std::abs(k) / 60, 0.0f, 1.0f);
  };
  return {channel(0), channel(120), channel(240)};
}

float hue_dance_degrees(float hue_dancer, float saturation, float midpoint, float unit) {
  const float calm = 1 - 0.5f * saturation * midpoint;
  return unit * hue_dancer * hue_dancer * 180 * calm * calm;
}

void set_color(float r, float g, float b, float a) {
  store({component(r), component(g), component(b)}, true);
  color_settings.current[3] = std::isfinite(a) ? std::clamp(a, 0.0f, 1.0f) : 1.0f;
  color_settings.saturate_base_taken = false;
}

void color_dials_changed() {
  const ColorSettings& s = color_settings;
  store({s.red, s.green, s.blue}, true);
  color_settings.saturate_base_taken = false;
}

void saturate_dial_changed() {
  ColorSettings& s = color_settings;
  // The drag rebuilds from the colour it started at, so that its steps do
  // not wear the hue away.
  if (!s.saturate_base_taken) {
    const Rgb c = current_rgb();
    std::copy(c.begin(), c.end(), s.saturate_base);
    s.saturate_base_taken = true;
  }
  store(resaturate({s.saturate_base[0], s.saturate_base[1], s.saturate_base[2]}, s.saturate), false);
}

void swap_alternate_color() {
  ColorSettings& s = color_settings;
  std::swap(s.current, s.alternate);
  set_color(s.current[0], s.current[1], s.current[2], s.current[3]);
}

void dance_hue() {
  const ColorSettings& s = color_settings;
  if (!(s.hue_dancer > 0) || !(s.saturate > 0)) return;
  const float turn = hue_dance_degrees(s.hue_dancer, s.saturate, s.midpoint, random_float(-1, 1));
  const Rgb c = rotate_hue(current_rgb(), turn);
  set_color(c[0], c[1], c[2], s.current[3]);
}

bool take_color_changed() {
  return std::exchange(color_settings.changed, false);
}

}  // namespace document
