#include "app/navigation.h"

#include <algorithm>
#include <cmath>

#include "app/app_state.h"
#include "app/frame_state.h"
#include "app/view.h"
#include "gpu/geometry.h"

namespace {

void set_rect(float screen_h) {
  update_canvas_rect(screen_h, gpu::geometry.width, gpu::geometry.height);
}

float pointer_angle(const vec2d& p, float screen_w, float screen_h) {
  vec2d d = p.subxy(screen_w / 2, screen_h / 2);
  d.get_angle();
  return d.angle;
}

}  // namespace

void navigate(const NavigationInput& in) {
  FrameState& f = frame_state;
  const bool alt = in.modifiers & 4;
  if (!in.left && !in.right) {
    f.nav = Nav::none;
    view.zoom_reference = view.zoom;
  }
  if (!alt || (app.gui_flags & (gui_flag::guide_editing | gui_flag::panel_drag))) return;

  if (in.left_pressed) {
    f.press_point = f.rotated;
    f.press_offset = view.offset;
    f.press_angle = pointer_angle(f.raw, in.screen_w, in.screen_h);
    f.press_view_angle = view.angle;
    view.zoom_reference = view.zoom;
    switch (in.modifiers) {
      case 7: f.nav = Nav::rotate; break;
      case 6: f.nav = Nav::zoom; break;
      case 5: f.nav = Nav::move; break;
      default:
        f.nav = Nav::none;
        f.color_pick_request = true;
        if (modes.crop_mode) app.gui_flags &= gui_flag::crop_kept;
        break;
    }
  }
  if (in.right_pressed) {
    if (in.modifiers == 7) {
      view.angle = 0;
      view.spin = 0;
    } else if (in.modifiers == 5 || in.modifiers == 6) {
      view.zoom = view.zoom_reference = 1;
      centre_view(in.screen_w, in.screen_h, gpu::geometry.width, gpu::geometry.height);
    } else {
      f.color_pick_request = true;
    }
  }
  if (!in.left) return;
  switch (f.nav) {
    case Nav::rotate:
      view.angle = f.press_view_angle + (pointer_angle(f.raw, in.screen_w, in.screen_h) - f.press_angle);
      break;
    case Nav::zoom: {
      const float pull = (f.press_point.y - f.rotated.y) + (f.rotated.x - f.press_point.x);
      const float den = 1 - 0.005f * pull;
      // Past the pole of the formula the drag means "as close as it goes".
      const float z = den > 0 ? view.zoom_reference / den : drag_zoom_max;
      view.offset = f.press_offset;
      view.zoom = view.zoom_reference;
      set_rect(in.screen_h);
      zoom_about(std::clamp(z, drag_zoom_min, drag_zoom_max), f.press_point, in.screen_h, gpu::geometry.width,
                 gpu::geometry.height);
      app.gui_flags = gui_flag::navigation;
      break;
    }
    case Nav::move: {
      const vec2d d = f.rotated.subv(f.press_point);
      view.offset = vec2d::Create(f.press_offset.x + d.x, f.press_offset.y - d.y);
      set_rect(in.screen_h);
      app.gui_flags = gui_flag::navigation;
      break;
    }
    case Nav::none: break;
  }
}

bool wheel_zoom(platform::Input& input, float screen_w, float screen_h) {
  const int notches = input.wheel();
  if (notches == 0) return false;
  input.discard_wheel();
  if (!(app.gui_flags & gui_flag::guide_editing)) {
    const float z = std::max(wheel_zoom_min, view.zoom_reference * (notches > 0 ? 1.25f : 0.8f));
    zoom_about(z, frame_state.rotated, screen_h, gpu::geometry.width, gpu::geometry.height);
    reset_frame_corners(gpu::geometry.width, gpu::geometry.height);
    view.zoom_reference = view.zoom;
  }
  app.mouse_left = app.mouse_right = app.mouse_middle = false;
  return true;
}
