#include "app/floating_panels.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/app_state.h"
#include "app/color_mixer.h"
#include "app/frame_state.h"
#include "app/layer_fx.h"
#include "app/main_panel_frame.h"
#include "app/text.h"
#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "ui/gui_draw.h"

ui::GuiContext gui;
PanelRequests panel_requests;

namespace {

using ui::GadgetKind;
using ui::gui_gadget;
using ui::PointerShape;

constexpr float min_window_w = 640, min_window_h = 480;

struct PanelObjects {
  bool built = false;
  ui::GuiImages images;
  std::vector<gpu::Buffer> reliefs;
  ui::gui_master* brush_mode = nullptr;
  gpu::PixelRect pointer_box;  // where the pointer was drawn last
};
PanelObjects objects;

vec2d v(float x, float y) {
  return vec2d::Create(x, y);
}

gui_gadget& tool_selector(ui::gui_master& panel, unsigned char mode, vec2d pos, float size) {
  gui_gadget& g = panel.add(gui_gadget::Create("", GadgetKind::selector, pos, v(size, size), PointerShape::hand));
  g.set_color(0.56f, 0.65f, 0.72f, 0.3f);
  g.transparency = 0.2f;
  g.image = objects.images.dial.id();
  g.display_image = app.icons[mode].id();
  g.set_text_param(1, size * 0.12f, size * 0.12f);
  g.target = ui::byte_target(&panel_requests.brush_mode);
  g.trigger_value = mode;
  g.reference = [] { return float(frame_state.brush_mode); };
  return g;
}

void build() {
  objects.built = true;
  objects.images = ui::make_gui_images();
  gui = ui::GuiContext{};
  auto panel = ui::gui_master::Create("", v(-128, 0), v(160, 128), PointerShape::panel);
  panel->align = ui::align::right | ui::align::bottom;
  panel->set_text_param(1, 104, 80);
  panel->set_color(0.56f, 0.65f, 0.72f, 1);
  tool_selector(*panel, 0, v(-2, 68), 64);
  tool_selector(*panel, 1, v(32, 28), 48);
  tool_selector(*panel, 2, v(74, 8), 42);
  tool_selector(*panel, 3, v(118, 0), 40);
  gui_gadget& clear =
      panel->add(gui_gadget::Create("CLR", GadgetKind::button, v(105, 58), v(30, 20), PointerShape::hand));
  clear.set_color(0.4f, 0.5f, 0.6f, 0.6f);
  clear.image = objects.images.button.id();
  clear.set_text_param(1, 3, 3);
  clear.target = ui::byte_target(&panel_requests.clear_layer);
  clear.trigger_value = 1;
  objects.reliefs.emplace_back();
  ui::bake_relief(*panel, objects.reliefs.back());
  objects.brush_mode = &gui.add(std::move(panel));
  ui::build_layer_fx_panel(layer_fx, gui, objects.images);
}

}  // namespace

bool panels_fit_window() {
  return app.screen_w >= min_window_w && app.screen_h >= min_window_h;
}

ui::PointerInput pointer_input(vec2d pointer) {
  ui::PointerInput in;
  in.pos = pointer;
  in.left = app.mouse_left;
  in.right = app.mouse_right;
  in.modifier_keys = app.modifier_keys;
  in.screen_w = app.screen_w;
  in.screen_h = app.screen_h;
  return in;
}

void gui_pointer_pass(vec2d pointer) {
  if (!objects.built) build();
  if (panels_fit_window())
    gui.open(*objects.brush_mode);
  else if (gui.is_open(*objects.brush_mode))
    gui.close(*objects.brush_mode);
  ui::PointerInput in = pointer_input(pointer);
  in.others_own = (app.gui_flags & gui_flag::others_own) != 0 || app.pointer_outside;
  ui::pointer_pass(gui, in);
  // The floating panels lie over the main panel: they take the pointer first.
  in.others_own = in.others_own || gui.hovered_panel || gui.press == ui::GuiContext::Press::gui;
  const int main_flags = main_panel_pointer_pass(in);
  app.gui_flags = ui::merge_gui_flags(app.gui_flags, gui) | main_flags;
}

void draw_panels_and_pointer(vec2d pointer, float brush_radius) {
  if (!objects.built) return;
  const gpu::Buffer& copy = gpu::canvas_buffers.screen_copy;
  if ((!gui.open_panels.empty() || panels_fit_window()) && copy) {
    ui::copy_screen(copy, int(app.screen_w), int(app.screen_h));
    draw_main_panel_now(copy.texture(), gpu::display_settings.light_pos[0], gpu::display_settings.light_pos[1]);
    ui::GuiPainter painter;
    painter.light_x = gpu::display_settings.light_pos[0];
    painter.light_y = gpu::display_settings.light_pos[1];
    painter.draw_text = [](std::string_view text, float x, float y, float scale) { draw_text(text, x, y, scale); };
    ui::draw_gui(gui, painter, copy.texture(), app.screen_w, app.screen_h);
    ui::draw_layer_fx(layer_fx, app.screen_w, app.screen_h);
  }
  draw_color_mixer();
  if (app.pointer_outside) return;
  if (color_mixer.owns_pointer)
    ui::draw_pointer_shape(ui::PointerShape::arrow, pointer, app.screen_w, app.screen_h);
  else if (main_panel.flags && !gui.hovered_panel && !gui.active_gadget)
    ui::draw_pointer_shape(ui::PointerShape::hand, pointer, app.screen_w, app.screen_h);
  else
    ui::draw_pointer(gui, pointer, brush_radius, app.screen_w, app.screen_h);
}

std::optional<gpu::PixelRect> pointer_moved(vec2d pos, float radius) {
  // Room for the ring's rim and the shapes drawn at the pointer.
  const float r = std::max(radius, 2.0f) + 16;
  const gpu::PixelRect now =
      app.pointer_outside ? gpu::PixelRect{} : gpu::PixelRect::around(pos.x - r, pos.y - r, pos.x + r, pos.y + r);
  const gpu::PixelRect& last = objects.pointer_box;
  if (now.x0 == last.x0 && now.y0 == last.y0 && now.x1 == last.x1 && now.y1 == last.y1) return std::nullopt;
  const gpu::PixelRect both = last.united(now);
  objects.pointer_box = now;
  return both;
}

void add_gui_state(std::vector<float>& out) {
  add_main_panel_state(out);
  out.push_back(float(gui.open_panels.size()));
  out.push_back(float(gui.flags));
  out.push_back(float(gui.pointer_shape));
  for (const ui::gui_master* m : gui.open_panels) {
    out.push_back(m->pos.x);
    out.push_back(m->pos.y);
    // Highlights fade by steps too small to see: redraw by sixteenths.
    out.push_back(std::round(m->hover * 16));
    for (const auto& c : m->childrenlist) {
      out.push_back(std::round(c->hover * 16));
      out.push_back(c->value_float);
      out.push_back(c->lit());
    }
  }
}

void release_floating_panels() {
  release_main_panel();
  gui = ui::GuiContext{};
  objects = PanelObjects{};
  layer_fx = ui::LayerFxPanel{};
}
