#include "app/value_dial.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "app/text.h"
#include "document/parameters.h"
#include "platform/gl.h"

namespace {

using document::ParamId;

// A dial's full range over this many pixels of drag (right and up turn it up).
constexpr float pixels_per_range = 200;
constexpr float ring_radius = 24;

struct Dial {
  const char* key = nullptr;
  ParamId id = ParamId::fluidity;
  vec2d anchor;
  float start = 0;
};
std::optional<Dial> shown;

std::optional<ParamId> dial_for(const char* key, unsigned char mods) {
  if (key[0] == 'B') return mods == 0 ? std::optional(ParamId::brush_build_up) : std::nullopt;
  switch (mods) {
    case 0: return ParamId::fluidity;
    case 1: return ParamId::fluid_smudge;
    case 2: return ParamId::fluid_sharpness;
    default: return std::nullopt;
  }
}

}  // namespace

bool value_dial_keys(platform::Input& in, unsigned char modifier_keys, vec2d pointer) {
  if (shown && !in.key_down(shown->key)) shown.reset();
  if (!shown) {
    for (const char* key : {"B", "F"}) {
      if (!in.key_down(key)) continue;
      if (const std::optional<ParamId> id = dial_for(key, modifier_keys))
        shown = Dial{key, *id, pointer, document::value_of(*id)};
      break;
    }
  }
  if (!shown) return false;
  const document::Parameter& p = document::parameter(shown->id);
  const float lo = std::fmin(p.low, p.high), hi = std::fmax(p.low, p.high);
  const float turn = (pointer.x - shown->anchor.x - (pointer.y - shown->anchor.y)) / pixels_per_range;
  (void)document::set_value(shown->id, std::clamp(shown->start + turn * (hi - lo), lo, hi));
  return true;
}

void add_dial_state(std::vector<float>& out) {
  out.insert(out.end(), {float(shown.has_value()), shown ? shown->anchor.x : 0, shown ? shown->anchor.y : 0});
}

void draw_value_dial() {
  if (!shown) return;
  const document::Parameter& p = document::parameter(shown->id);
  const float lo = std::fmin(p.low, p.high), hi = std::fmax(p.low, p.high);
  const float v = document::value_of(shown->id);
  const float share = hi > lo ? (v - lo) / (hi - lo) : 0;
  const vec2d c = shown->anchor;
  glUseProgram(0);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLineWidth(3);
  // The whole range faint, the value's share of it bright, clockwise from the top.
  for (int part = 0; part < 2; ++part) {
    const float end = part == 0 ? 1.0f : share;
    glColor4f(1, 1, 1, part == 0 ? 0.25f : 0.9f);
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i <= 48; ++i) {
      const float a = float(i) / 48 * end * 6.2831853f;
      glVertex2f(c.x + ring_radius * std::sin(a), c.y - ring_radius * std::cos(a));
    }
    glEnd();
  }
  glLineWidth(1);
  glEnable(GL_TEXTURE_2D);
  char text[64];
  std::snprintf(text, sizeof text, "%s %.0f%%", p.label, double(share * 100));
  glColor4f(1, 1, 1, 1);
  draw_text(text, c.x - text_width(text, 1) * 0.5f, c.y + ring_radius + 4, 1);
}
