#include "app/window_modes.h"

#include "app/app_state.h"
#include "app/placement.h"
#include "app/view.h"
#include "document/color_model.h"
#include "document/color_settings.h"
#include "gpu/geometry.h"

void set_full_desktop(KeyContext& k, bool on) {
  if (on == view.full_desktop) return;
  view.full_desktop = on;
  k.window.set_full_desktop(on);
  if (on) return;
  int desktop_w = 0, desktop_h = 0;
  k.window.desktop_size(&desktop_w, &desktop_h);
  const WindowPlacement p = place_window(gpu::geometry.width, gpu::geometry.height, desktop_w, desktop_h);
  k.window.place(p.x, p.y, p.outer_w, p.outer_h);
}

void pick_screen_colour(uint8_t r, uint8_t g, uint8_t b) {
  // The colour model leaves the saturation dial alone for black, which has
  // no hue to measure it by.
  document::set_color(r / 255.0f, g / 255.0f, b / 255.0f, color_settings.current[3]);
}

void desktop_pick(KeyContext& k) {
  if (!(app.modifier_keys & 4) || !app.pointer_outside) return;
  if (const std::optional<std::array<uint8_t, 3>> c = k.dialogs.desktop_colour())
    pick_screen_colour((*c)[0], (*c)[1], (*c)[2]);
}
