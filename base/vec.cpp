#include "base/vec.h"

#include <cmath>
#include <numbers>

namespace {

constexpr float deg = std::numbers::pi_v<float> / 180.0f;

// Angle of (x, y) from the arc-cosine of the normalised y; (0, 0) gives 90.
float angle_of(float x, float y) {
  vec2d n = vec2d::Create(x, y);
  n.normalize();
  float a = std::acos(std::fmax(-1.0f, std::fmin(1.0f, n.y))) / deg;
  if (n.x < 0) a = 360.0f - a;
  return a;
}

// Shared turn counting of vec2d and vec3d.
void count_turns(float angle, float& rangle, float& angle_cnt) {
  float old = rangle;
  rangle = angle + angle_cnt;
  if (rangle - old > 180.0f)
    angle_cnt -= 360.0f;
  else if (rangle - old < -180.0f)
    angle_cnt += 360.0f;
  rangle = angle + angle_cnt;
}

}  // namespace

void vec2d::normalize() {
  double s = double(x) * x + double(y) * y;
  if (s != 0) scale(float(1.0 / std::sqrt(s)));
}

float vec2d::length() {
  span = x * x + y * y;
  if (span != 0) {
    span = std::sqrt(span);
    return span;
  }
  return 0;
}

void vec2d::get_angle() {
  angle = angle_of(x, y);
}

void vec2d::get_rangle() {
  get_angle();
  count_turns(angle, rangle, angle_cnt);
}

void vec2d::set_angle() {
  x = std::sin(angle * deg);
  y = std::cos(angle * deg);
}

void vec2d::set_angle_len() {
  float l = length();
  x = std::sin(angle * deg) * l;
  y = std::cos(angle * deg) * l;
}

void vec2d::set_rangle() {
  x = std::sin(rangle * deg);
  y = std::cos(rangle * deg);
}

void vec2d::set_rangle_len() {
  float l = length();
  x = std::sin(rangle * deg) * l;
  y = std::cos(rangle * deg) * l;
}

void vec2d::set_v(const vec2d& v) {
  x = v.x;
  y = v.y;
  angle = v.angle;
  rangle = v.rangle;
}

void vec2d::set(float f) {
  x = y = f;
  angle = rangle = 0;
}

void vec3d::normalize() {
  float s = x * x + y * y + z * z;
  if (s != 0) scale(1.0f / std::sqrt(s));
}

float vec3d::length() const {
  float s = x * x + y * y + z * z;
  return s != 0 ? std::sqrt(s) : 0.0f;
}

void vec3d::get_angle() {
  angle = angle_of(x, y);
}

void vec3d::get_rangle() {
  get_angle();
  count_turns(angle, rangle, angle_cnt);
}

float corner::velx(int canvas_width) const {
  return (p.x - op.x) / float(canvas_width);
}
float corner::vely(int canvas_width) const {
  return -(p.y - op.y) / float(canvas_width);
}
