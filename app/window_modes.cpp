#include "app/window_modes.h"

#include <algorithm>
#include <cmath>

#include "app/app_state.h"
#include "app/placement.h"
#include "app/view.h"
#include "document/color_settings.h"
#include "document/parameters.h"
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

void pick_screen_colour(uint8_t r8, uint8_t g8, uint8_t b8) {
  const float r = r8 / 255.0f, g = g8 / 255.0f, b = b8 / 255.0f;
  const float m = std::max({r, g, b}), lo = std::min({r, g, b});
  pick_color(r, g, b);
  (void)document::set_value(document::ParamId::color_saturate, m > 0 ? std::sqrt((m - lo) / m) : 0.0f);
}

void desktop_pick(KeyContext& k) {
  if (!(app.modifier_keys & 4) || !app.pointer_outside) return;
  if (const std::optional<std::array<uint8_t, 3>> c = k.dialogs.desktop_colour())
    pick_screen_colour((*c)[0], (*c)[1], (*c)[2]);
}
