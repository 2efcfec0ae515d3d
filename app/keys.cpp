#include "app/keys.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "app/app_state.h"
#include "app/brush_image_frame.h"
#include "app/crop_mode.h"
#include "app/file_commands.h"
#include "app/frame_state.h"
#include "app/layer_fx.h"
#include "app/mask_mode.h"
#include "app/navigation.h"
#include "app/tool_keys.h"
#include "app/view.h"
#include "app/warp_mode.h"
#include "app/window_modes.h"
#include "brush/brush_settings.h"
#include "document/color_model.h"
#include "document/color_settings.h"
#include "document/parameters.h"
#include "gpu/canvas_buffers.h"
#include "gpu/canvas_presets.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "gpu/simulation.h"
#include "gpu/simulation_settings.h"
#include "layers/layer_stack.h"

namespace {

using document::ParamId;

constexpr float light_step = 0.01f;     // canvas widths per frame
constexpr float material_step = 0.01f;  // per frame
constexpr float material_scale = 1.01f;
constexpr float size_key_factor = 1.1f;  // [ and ]

int canvas_w() {
  return gpu::geometry.width;
}
int canvas_h() {
  return gpu::geometry.height;
}

// Keys change settings through the parameter model, as the panel does.
void flip(ParamId id) {
  (void)document::set_value(id, document::value_of(id) != 0 ? 0 : 1);
}

// "DRYING": turning it off also stops the flow; either way the canvas dries.
void toggle_drying() {
  if (document::value_of(ParamId::drying) != 0) gpu::clear_flow();
  gpu::clear_wetness();
  flip(ParamId::drying);
}

void view_keys(KeyContext& k) {
  platform::Input& in = k.input;
  const unsigned char mods = app.modifier_keys;
  const bool h = in.key_hit("H");
  if (h && (mods & 2)) flip(ParamId::high_quality);
  layer_fx_keys(h, mods);
  // While the guide is edited a plain Home is the guide's.
  const bool guide_editing = app.gui_flags & gui_flag::guide_editing;
  if ((mods == 1 || mods == 2 || !guide_editing) && in.key_hit("Home")) {
    if (mods == 2) {
      view.zoom = std::min(k.screen_w / float(canvas_w()), k.screen_h / float(canvas_h()));
    } else {
      view.zoom = 1;
      if (mods == 1) {
        restore_normal_window(k);
      } else {
        view.angle = view.spin = 0;
        reset_frame_corners(canvas_w(), canvas_h());
      }
    }
    view.zoom_reference = view.zoom;
    centre_view(k.screen_w, k.screen_h, canvas_w(), canvas_h());
  }
  const vec2d canvas_centre = view.top_left.addv(view.bottom_right).mul(0.5f);
  // Only a key that zooms moves the reference: a drag zoom in progress
  // measures from the zoom at its press.
  for (const auto& [key, factor] : {std::pair{"Keypad +", 2.0f}, std::pair{"Keypad -", 0.5f}}) {
    if (!in.key_hit(key)) continue;
    const float zoom = std::clamp(view.zoom * factor, wheel_zoom_min, drag_zoom_max);
    zoom_about(zoom, canvas_centre, k.screen_h, canvas_w(), canvas_h());
    view.zoom_reference = view.zoom;
  }
  if (!modes.crop_mode) {
    if (in.key_down("-")) view.spin -= 0.1f;
    if (in.key_down("=")) view.spin += 0.1f;
  }
}

void toggle_keys(KeyContext& k) {
  platform::Input& in = k.input;
  const unsigned char mods = app.modifier_keys;
  if (in.key_hit("D")) {
    if (mods == 1)
      flip(ParamId::dither);
    else if (mods == 2)
      gpu::clear_flow();
    else
      toggle_drying();
  }
}

void layer_keys(KeyContext& k) {
  platform::Input& in = k.input;
  const bool shift = app.modifier_keys == 1;
  if (in.key_hit("F9")) {
    if (shift)
      merge_down();
    else
      add_layer();
  }
  if (in.key_hit("F10")) shift ? move_down() : select_below();
  if (in.key_hit("F11")) shift ? move_up() : select_above();
  if (in.key_hit("F12")) toggle_hidden();
}

void mirror_keys(KeyContext& k) {
  unsigned char& m = gpu::display_settings.mirror_mode;
  if (k.input.key_hit("F6")) m = (m ^ 4) & 12;
  if (k.input.key_hit("F7")) m = (m ^ 8) & 12;
}

void brush_keys(KeyContext& k) {
  platform::Input& in = k.input;
  const unsigned char mods = app.modifier_keys;
  FrameState& f = frame_state;
  f.space_gesture = in.key_down("Space");
  if (in.key_hit("W")) {
    if (mods == 0)
      flip(ParamId::pen_size);
    else
      warp_key(k);
  }
  if (in.key_hit("E")) flip(ParamId::pen_opacity);
  if (in.key_hit("A") && (mods == 0 || mods == 3)) {
    f.fixed_angle = !f.fixed_angle;
    in.flush_keys();
  }
  const bool angle_gesture = in.key_down("A") && mods == 1;
  if (angle_gesture && !f.angle_gesture) {
    f.fixed_angle = true;
    f.fixed_angle_deg = 180;
  }
  f.angle_gesture = angle_gesture;
  if (in.key_hit("Y")) gpu::simulation_settings.substep_mode ^= 1;
}

}  // namespace

void clear_active_layer() {
  layer* l = layers.active;
  if (!l) return;
  // The cleared paint stays in the undo copy, so Ctrl+Z brings it back.
  l->make_undo_live();
  l->store_undo();
  glClearColor(0, 0, 0, 0);
  l->col.bind_target();
  glClear(GL_COLOR_BUFFER_BIT);
  l->mat.bind_target();
  glClear(GL_COLOR_BUFFER_BIT);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  layers.changed = true;
}

namespace {

void edit_keys(KeyContext& k) {
  platform::Input& in = k.input;
  if (in.key_hit("Z") && in.key_down("Left Ctrl")) {
    toggle_undo();
    // The flow belongs to the paint that was shown.
    gpu::clear_flow();
  }
  if (in.key_hit("Delete")) {
    if (app.modifier_keys == 2)
      new_project(k);
    else
      clear_active_layer();
  }
  static const char* const digits[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
  for (int d = 1; d <= 10; ++d)
    if (in.key_hit(digits[d % 10])) select_brush_type_by_key(d % 10);
  const ParamId size = ParamId::brush_size;
  if (in.key_hit("[")) (void)document::set_value(size, std::max(1.0f, document::value_of(size) / size_key_factor));
  if (in.key_hit("]")) (void)document::set_value(size, document::value_of(size) * size_key_factor);
}

// The arrow and page keys, held: the light with Shift, the active layer's
// material with Ctrl, every layer's material scaled with both.
void arrow_keys(KeyContext& k) {
  platform::Input& in = k.input;
  const int dx = int(in.key_down("Right")) - int(in.key_down("Left"));
  const int dy = int(in.key_down("Down")) - int(in.key_down("Up"));
  const int dz = int(in.key_down("PageUp")) - int(in.key_down("PageDown"));
  if (dx == 0 && dy == 0 && dz == 0) return;
  switch (app.modifier_keys) {
    case 1: {
      float* p = gpu::display_settings.light_pos;
      p[0] += dx * light_step;
      p[1] += dy * light_step;
      p[2] += dz * light_step;
      gpu::canvas_buffers.canvas_texture_dirty = true;
      break;
    }
    case 2:
      if (layer* l = layers.active) {
        (void)document::set_value(ParamId::layer_diffusion, std::max(0.0f, l->diffusion + dx * material_step));
        (void)document::set_value(ParamId::layer_glossiness, std::max(0.0f, l->glossiness - dy * material_step));
        (void)document::set_value(ParamId::layer_metallic, std::clamp(l->metallic + dz * material_step, 0.0f, 1.0f));
      }
      break;
    case 3:
      for (auto& l : layers.list) {
        auto scale = [&](ParamId id, int d, float hi) {
          const float f = d > 0 ? material_scale : d < 0 ? 1 / material_scale : 1;
          (void)document::set_layer_value(id, *l, std::min(hi, document::layer_value_of(id, *l) * f));
        };
        scale(ParamId::layer_diffusion, dx, std::numeric_limits<float>::max());
        scale(ParamId::layer_glossiness, -dy, std::numeric_limits<float>::max());
        scale(ParamId::layer_metallic, dz, 1.0f);
      }
      break;
  }
}

void colour_keys(KeyContext& k) {
  if (k.input.key_hit("X")) document::swap_alternate_color();
}

// I: Ctrl+I turns the selection mask inside out; the others are the brush
// images'.
void i_keys(KeyContext& k) {
  if (!k.input.key_hit("I")) return;
  if (app.modifier_keys == 2)
    invert_mask_mode();
  else
    brush_image_key(k);
}

}  // namespace

void poll_frame_keys(KeyContext& k) {
  view_keys(k);
  toggle_keys(k);
  layer_keys(k);
  mirror_keys(k);
  brush_keys(k);
  edit_keys(k);
  arrow_keys(k);
  i_keys(k);
  colour_keys(k);
  poll_tool_keys(k);
}

void new_project(KeyContext& k) {
  k.window.set_title("New Project...");
  if (k.dialogs.confirm("New Project...", "Clear project?") != platform::Answer::ok) {
    k.window.set_title(app.title);
    return;
  }
  k.window.set_title("Defaults");
  int w = canvas_w(), h = canvas_h();
  if (k.dialogs.confirm("Defaults", "Reset Default Settings?") == platform::Answer::ok) {
    document::write_reset_values();
    reset_brush_settings();
    w = 1280;
    h = 720;
    color_settings = ColorSettings{};
    document::set_color(0.25f, 0.1f, 0.05f);
    // The light and the canvas presets are settings too.
    const gpu::DisplaySettings fresh;
    std::copy_n(fresh.light_pos, 3, gpu::display_settings.light_pos);
    std::copy_n(fresh.light_col, 3, gpu::display_settings.light_col);
    std::copy_n(fresh.ambient_col, 3, gpu::display_settings.ambient_col);
    gpu::canvas_presets = gpu::CanvasPresets{};
    // The canvas dials now hold the current preset's values: the canvas
    // takes its kind too, or a loaded project's noise or picture canvas would
    // be drawn with the weave's values.
    const gpu::canvas& preset = gpu::canvas_presets.presets[gpu::canvas_presets.current];
    gpu::canvas_settings.mode = preset.mode;
    gpu::canvas_settings.inv = preset.inv;
  }
  // The new painting has no file yet: S must not overwrite the old one.
  file_commands.current_name.clear();
  app.title = base_window_title;
  k.window.set_title(app.title);
  start_new_canvas(k, w, h);
}
