// The pointer pipeline, the brush direction, the stroke pressure, the brush
// radius and the tool mode: the per-frame arithmetic between the raw mouse
// and the stroke.
#include <algorithm>
#include <cmath>

#include "app/frame_state.h"
#include "app/view.h"
#include "base/random.h"
#include "brush/brush_settings.h"
#include "document/frame_settings.h"
#include "document/parameters.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"

FrameState frame_state;

namespace {

constexpr float deg = 3.14159265358979f / 180.0f;
constexpr float size_per_pixel = 0.01f;    // Space drag: the brush grows about 1 % a pixel
constexpr float degrees_per_pixel = 0.5f;  // Shift+A drag

vec2d to_canvas(const vec2d& client) {
  const vec2d span = view.bottom_right.subv(view.top_left);
  return vec2d::Create((client.x - view.top_left.x) / span.x * float(gpu::geometry.width),
                       (client.y - view.top_left.y) / span.y * float(gpu::geometry.height));
}

float length(vec2d v) {
  return v.length();
}

}  // namespace

void update_pointer(FrameState& f, const PointerFrame& in) {
  const float w = float(gpu::geometry.width), h = float(gpu::geometry.height);
  f.raw = in.mouse;
  // Rotate about the client centre so that painting follows a rotated view.
  const vec2d c = vec2d::Create(in.screen_w / 2, in.screen_h / 2);
  const vec2d d = in.mouse.subv(c);
  const float s = std::sin((view.angle + 90) * deg), k = std::cos((view.angle + 90) * deg);
  f.rotated = vec2d::Create(c.x + s * d.x - k * d.y, c.y + k * d.x + s * d.y);

  // The smoothing runs every frame; it only holds the pointer back during a
  // stroke, so a stroke starts with the hand's momentum.
  const bool stroking = in.left || in.right;
  const float m = frame_settings.mouse_speed;
  if (m < 1) {
    const float damping = 1 - m, gain = m * m;
    f.smooth_velocity = f.smooth_velocity.mul(damping).addv(f.rotated.subv(f.smoothed).mul(gain));
    f.smoothed = f.smoothed.addv(f.smooth_velocity);
  }
  if (m >= 1 || !stroking) f.smoothed = f.rotated;

  f.stroke_pos = to_canvas(f.smoothed);
  f.rotated_pos = to_canvas(f.rotated);
  f.movement = f.stroke_pos.subv(f.prev_stroke_pos);
  f.movement_norm = vec2d::Create(f.movement.x / w, f.movement.y / h);
  const vec2d raw_move = f.rotated_pos.subv(f.prev_rotated_pos);
  f.raw_movement = vec2d::Create(raw_move.x / w, raw_move.y / h);

  if (!stroking) {
    f.stroke_seed = random_float(-1000, 1000);
    const unsigned char mirror = gpu::display_settings.mirror_mode;
    f.mirror_side = mirror == 1 && f.stroke_pos.x <= w / 2 ? 1 : mirror == 2 && f.stroke_pos.x >= w / 2 ? 2 : 0;
  }
  f.prev_stroke_pos = f.stroke_pos;
  f.prev_rotated_pos = f.rotated_pos;

  if (!in.app_active) {
    f.rotated = f.smoothed = in.mouse;
    f.smooth_velocity = vec2d{};
    f.stroke_pos = f.prev_stroke_pos = f.rotated_pos = f.prev_rotated_pos = to_canvas(in.mouse);
    f.movement = f.movement_norm = f.raw_movement = vec2d{};
  }
}

void reset_pointer(FrameState& f, const vec2d& mouse) {
  f.smooth_velocity = vec2d{};
  f.rotated = f.smoothed = mouse;
  f.prev_stroke_pos = f.prev_rotated_pos = to_canvas(mouse);
  f.movement = f.movement_norm = f.raw_movement = vec2d{};
}

void update_direction(FrameState& f, bool pen_active) {
  if (f.fixed_angle || (brush_settings.pen_tilt && pen_active)) {
    f.direction.angle = f.fixed_angle ? f.fixed_angle_deg + view.angle : -f.tilt[0] + view.angle;
    f.direction.set_angle();
    return;
  }
  const float l = length(f.movement);
  const float s = std::max(f.radius, 0.001f);  // last frame's radius
  vec2d turned = f.direction.addv(f.movement.mul((1 + l) / s));
  if (turned.x == 0 && turned.y == 0) return;  // a movement straight against the brush keeps it
  turned.normalize();
  f.direction.set_xy(turned.x, turned.y);
  f.direction.get_angle();
}

void update_pressure(FrameState& f, const PointerFrame& in) {
  f.previous_pressure = f.stroke_pressure;
  if (in.left && in.pen_active) {
    f.pressure_target = in.pen_pressure;
    const float m = frame_settings.mouse_speed;
    const float d = (1 - m) + m * 0.1f;
    f.pressure_velocity = f.pressure_velocity * d + (f.pressure_target - f.previous_pressure) * (1 - d) * (1 - d);
    f.stroke_pressure = std::clamp(f.previous_pressure + f.pressure_velocity, 0.0f, 1.0f);
  } else if (in.left) {
    // Mouse simulation: fast strokes press harder, a slowing stroke fades.
    float previous = f.previous_pressure;
    if (length(f.movement) > 1) previous *= 0.95f;
    f.stroke_pressure = std::min(1.0f, previous + std::min(1.0f, length(f.movement_norm) / 0.5f));
  } else {
    f.pressure_velocity = f.stroke_pressure = f.pressure_target = 0;
  }
  f.opacity_factor = brush_settings.pen_opacity ? std::max(0.0f, f.stroke_pressure - 0.2f) / 0.8f : 1.0f;
}

void update_radius(FrameState& f) {
  BrushSettings& b = brush_settings;
  if (b.size_min < 0.001f) b.size_min = 0.001f;
  f.radius = b.size;
  f.radius_min = std::max(1.0f, b.size * b.size_min);
  if (b.pen_size && !f.space_gesture)
    f.radius = f.radius_min + (b.size - f.radius_min) * std::pow(f.stroke_pressure, 4.0f);
}

void update_tool_mode(FrameState& f, unsigned char modifiers, bool right_button) {
  const unsigned char brush = f.brush_mode;
  unsigned char mode = brush;
  if (modifiers == 1 || right_button) mode = brush == 1 ? 0 : 1;
  if (modifiers == 2 || f.pen_eraser) mode = brush == 2 ? 0 : 2;
  if (modifiers == 3) mode = brush ^ 3;
  f.tool_mode = mode;
}

bool brush_gesture(FrameState& f, bool left_button) {
  if (!f.space_gesture && !f.angle_gesture) {
    f.gesture_anchored = false;
    return false;
  }
  if (!f.gesture_anchored) {
    f.gesture_anchor = f.stroke_pos;
    f.gesture_anchored = true;
  }
  const float dx = f.raw_movement.x * float(gpu::geometry.width);  // canvas pixels this frame
  if (left_button) {
    if (f.space_gesture) {
      const document::ParamId size = document::ParamId::brush_size;
      (void)document::set_value(size, std::max(1.0f, document::value_of(size) * std::exp(dx * size_per_pixel)));
    }
    if (f.angle_gesture) f.fixed_angle_deg = std::fmod(f.fixed_angle_deg + dx * degrees_per_pixel + 360, 360.0f);
  }
  f.stroke_pos = f.prev_stroke_pos = f.gesture_anchor;
  f.movement = f.movement_norm = vec2d{};
  return true;
}
