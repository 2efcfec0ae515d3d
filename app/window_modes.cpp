#include "app/window_modes.h"

#include "app/app_state.h"
#include "app/placement.h"
#include "app/view.h"
#include "document/color_model.h"
#include "document/color_settings.h"
#include "gpu/geometry.h"

namespace {

void place_on_desktop(KeyContext& k) {
  int desktop_w = 0, desktop_h = 0;
  k.window.desktop_size(&desktop_w, &desktop_h);
  const WindowPlacement p = place_window(gpu::geometry.width, gpu::geometry.height, desktop_w, desktop_h);
  k.window.place(p.x, p.y, p.outer_w, p.outer_h);
}

}  // namespace

void set_full_desktop(KeyContext& k, bool on) {
  if (on == view.full_desktop) return;
  view.full_desktop = on;
  k.window.set_full_desktop(on);
  if (!on) place_on_desktop(k);
}

void restore_normal_window(KeyContext& k) {
  if (view.full_desktop) {
    view.full_desktop = false;
    k.window.set_full_desktop(false);
  }
  // As start-up opens it: the canvas size, then placed, and made smaller
  // where the desktop has no room for it.
  k.window.set_client_size(gpu::geometry.width, gpu::geometry.height);
  place_on_desktop(k);
}

void pick_screen_colour(uint8_t r, uint8_t g, uint8_t b) {
  // The colour model leaves the saturation dial alone for black, which has
  // no hue to measure it by.
  document::set_color(r / 255.0f, g / 255.0f, b / 255.0f, color_settings.current[3]);
}

void desktop_pick(KeyContext& k) {
  // Alt alone: with Shift or Ctrl it belongs to the view navigation.
  if (app.modifier_keys != 4 || !app.pointer_outside) return;
  if (const std::optional<std::array<uint8_t, 3>> c = k.dialogs.desktop_colour())
    pick_screen_colour((*c)[0], (*c)[1], (*c)[2]);
}
