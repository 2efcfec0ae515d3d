#include "app/guide_gestures.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/frame_state.h"
#include "gpu/geometry.h"
#include "gpu/guide_settings.h"

namespace {

gpu::GuideSettings& guide() {
  return gpu::guide_settings;
}

bool editing_now() {
  return guide().guide_editing && (app.gui_flags & gui_flag::guide_editing);
}

}  // namespace

void guide_keys(platform::Input& in, unsigned char modifier_keys) {
  gpu::GuideSettings& g = guide();
  if (in.key_hit("G")) {
    if (modifier_keys & 1) {
      g.guide_wobble ^= 1;
    } else if (g.guide_shown && ((modifier_keys & 2) || g.guide_editing)) {
      g.guide_editing ^= 1;
      app.gui_flags = 0;
    } else {
      g.guide_shown ^= 1;
    }
  }
  if (editing_now() && in.key_hit("Home")) std::fill_n(g.guide_offset, 3, 0.0f);
}

bool guide_drags(const FrameState& f, unsigned char modifier_keys, bool left, bool right) {
  gpu::GuideSettings& g = guide();
  if (!g.guide_editing) return false;
  if ((app.gui_flags & gui_flag::gui_owned) || f.space_gesture || f.angle_gesture) return true;
  app.gui_flags |= gui_flag::guide_editing;
  // The smoothed pointer's movement, as a stroke follows it.
  const float dx = f.movement_norm.x, dy = f.movement_norm.y;
  const float w = float(gpu::geometry.width), h = float(gpu::geometry.height);
  if (left) {
    switch (modifier_keys) {
      case 1:
        g.guide_camera[0] += dx * w;
        g.guide_camera[1] -= dy * h;
        break;
      case 2:
        g.guide_camera[0] += dx * w;
        g.guide_camera[2] += dy * h;
        break;
      case 4:
        g.guide_rotation[0] += dy * 100;
        g.guide_rotation[1] += dx * 100;
        break;
      case 5:
        g.guide_offset[0] += dx * w;
        g.guide_offset[1] -= dy * h;
        break;
      case 6:
        g.guide_offset[0] += dx * w;
        g.guide_offset[2] += dy * h;
        break;
      default: g.guide_alpha += dx * 10 + dy * 10;
    }
    g.guide_alpha = std::clamp(g.guide_alpha, -1.0f, 1.0f);
  } else if (right && modifier_keys == 4) {
    g.guide_rotation[1] += dx * 100;
  }
  return true;
}

void guide_wheel(platform::Input& in, unsigned char modifier_keys) {
  const int notches = in.wheel();
  if (notches == 0 || !editing_now()) return;
  gpu::GuideSettings& g = guide();
  // With Shift (whatever else is held) the lens, else with Ctrl the field of view.
  if (modifier_keys & 1)
    g.guide_distortion = std::clamp(g.guide_distortion + 0.1f * float(notches), -1.0f, 1.0f);
  else if (modifier_keys & 2)
    g.guide_fov = std::clamp(g.guide_fov + 10.0f * float(notches), gpu::guide_fov_min, gpu::guide_fov_max);
  else
    g.guide_subdivisions = std::clamp(g.guide_subdivisions + notches, 1, gpu::guide_subdivisions_max);
}

namespace {
bool visible = false;
}  // namespace

bool guide_visible(platform::Input& in) {
  visible = guide().guide_shown && !in.key_down("S");
  return visible;
}

void add_guide_state(std::vector<float>& out) {
  const gpu::GuideSettings& g = guide();
  out.insert(out.end(), {float(visible), float(g.guide_wobble), float(g.wobble_counter), g.guide_fov,
                         g.guide_distortion, g.guide_alpha, float(g.guide_subdivisions)});
  out.insert(out.end(), g.guide_offset, g.guide_offset + 3);
  out.insert(out.end(), g.guide_camera, g.guide_camera + 3);
  out.insert(out.end(), g.guide_rotation, g.guide_rotation + 3);
}
