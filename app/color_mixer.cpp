#include "app/color_mixer.h"

#include "app/app_state.h"
#include "app/floating_panels.h"
#include "document/color_model.h"
#include "document/color_settings.h"
#include "document/parameters.h"
#include "document/swatch_grid.h"
#include "ui/color_mixer_draw.h"

ColorMixerState color_mixer;

namespace {

constexpr float wheel_size = 96;
const vec2d wheel_pos = vec2d::Create(8, 12);

// The wheel's share of the pass: true while it has the pointer.
bool wheel_pointer_pass(vec2d pointer, bool others_own) {
  using Part = ui::WheelColor::Part;
  ColorMixerState& m = color_mixer;
  const ColorSettings& c = color_settings;
  const ui::WheelColor w = ui::wheel_color_at(pointer, wheel_pos, wheel_size, c.current, c.midpoint);
  const bool pressed = app.mouse_left && !m.was_left;
  m.was_left = app.mouse_left;
  if (pressed && !others_own) m.wheel_drag = w.part;
  if (!app.mouse_left) m.wheel_drag = Part::none;
  if (m.wheel_drag != Part::none && m.wheel_drag == w.part) {
    if (w.part == Part::opacity)
      document::set_color(c.current[0], c.current[1], c.current[2], w.alpha);
    else
      document::set_color(w.rgb[0], w.rgb[1], w.rgb[2], c.current[3]);
  }
  // A press begun elsewhere passes over the wheel.
  const bool held_elsewhere = (app.mouse_left || app.mouse_right) && m.wheel_drag == Part::none;
  return (w.part != Part::none && !held_elsewhere) || m.wheel_drag != Part::none;
}

}  // namespace

void color_mixer_pointer_pass(vec2d pointer) {
  color_mixer.owns_pointer = false;
  if (!panels_fit_window()) return;
  ui::SwatchInput in;
  static_cast<ui::PointerInput&>(in) = pointer_input(pointer);
  // The floating panels, navigation and the guide come first.
  in.others_own = (app.gui_flags & (gui_flag::gui_owned | gui_flag::others_own)) != 0 || app.pointer_outside;
  for (int i = 0; i < 3; ++i) in.color[i] = color_settings.current[i];
  const ui::SwatchOutcome out = ui::swatch_pointer_pass(color_mixer.swatches, swatch_grid, in);
  if (out.picked)
    document::set_color(out.picked_color[0], out.picked_color[1], out.picked_color[2], color_settings.current[3]);
  const bool wheel = wheel_pointer_pass(pointer, in.others_own);
  color_mixer.owns_pointer = out.owns_pointer || wheel;
  if (color_mixer.owns_pointer) app.gui_flags |= gui_flag::over_panel;
  if (color_mixer.swatches.press == ui::SwatchPanel::Press::grid ||
      color_mixer.wheel_drag != ui::WheelColor::Part::none)
    app.gui_flags |= gui_flag::painting_blocked;
  if (out.pressed) app.gui_flags |= gui_flag::control_pressed;
}

void draw_color_mixer() {
  if (!panels_fit_window()) return;
  ui::WheelLook w;
  w.pos = wheel_pos;
  w.size = wheel_size;
  w.midpoint = color_settings.midpoint;
  // The display's gamma, as the picture is shown with it.
  w.gamma = document::value_of(document::ParamId::color_drp_gamma) * 5.7f;
  for (int i = 0; i < 4; ++i) w.color[i] = color_settings.current[i];
  ui::draw_color_wheel(w, app.screen_w, app.screen_h);
  ui::draw_swatches(color_mixer.swatches, swatch_grid, app.screen_w, app.screen_h);
}

void add_color_mixer_state(std::vector<float>& out) {
  const ui::SwatchPanel& p = color_mixer.swatches;
  out.push_back(p.origin.x);
  out.push_back(p.origin.y);
  out.push_back(float(p.hover.kind));
  out.push_back(float(p.hover.column));
  out.push_back(float(p.hover.cell));
  out.push_back(float(swatch_grid.current_column));
  out.push_back(float(swatch_grid.selected_column));
  out.push_back(float(swatch_grid.selected_cell));
  for (const SwatchColumn& c : swatch_grid.columns) {
    out.push_back(float(c.size()));
    for (const colors& cell : c) out.insert(out.end(), {cell.r, cell.g, cell.b, float(cell.xi), float(cell.yi)});
  }
  out.insert(out.end(), color_settings.current, color_settings.current + 4);
}
