#include "app/floating_panels.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "app/app_state.h"
#include "app/color_mixer.h"
#include "app/frame_state.h"
#include "app/layer_fx.h"
#include "app/main_panel_frame.h"
#include "app/text.h"
#include "brush/brush_settings.h"
#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "gpu/simulation_settings.h"
#include "ui/brush_image_panel.h"
#include "ui/glass_backdrop.h"
#include "ui/gui_draw.h"
#include "ui/gui_redraw.h"

ui::GuiContext gui;
PanelRequests panel_requests;
ui::GuiDrawCount panels_drawn;

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
  ui::GlassBackdrop backdrop;
  ui::GuiRedraw redraw;
  gpu::PixelRect pointer_box;  // where the pointer was drawn last
  int pointer_look = -1;       // and how: -1 the brush outline, else the toolkit's shape
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

// A selector that leaves a request for the frame, lit while `state` is on.
gui_gadget& request_selector(ui::gui_master& panel, const char* label, vec2d pos, vec2d size, unsigned char* request,
                             std::function<float()> state) {
  gui_gadget& g = panel.add(gui_gadget::Create(label, GadgetKind::selector, pos, size, PointerShape::hand));
  g.set_color(0.4f, 0.5f, 0.6f, 0.6f);
  g.image = objects.images.button.id();
  // The label centred: glyphs are 8 pixels wide and 16 high.
  g.set_text_param(1, std::round((size.x - 8 * float(g.name.size())) / 2), std::round((size.y - 16) / 2));
  g.target = ui::byte_target(request);
  g.trigger_value = 1;
  g.reference = std::move(state);
  return g;
}

// The paint sub-mode cycler beside the paint icon, warp mode and the
// simulation's substeps.
void mode_controls(ui::gui_master& panel, const gui_gadget& paint) {
  gui_gadget& sub = panel.add(gui_gadget::Create("=", GadgetKind::cycler, v(60, 84), v(28, 28), PointerShape::hand));
  sub.set_color(0.56f, 0.65f, 0.72f, 0.3f);
  sub.image = objects.images.dial.id();
  sub.target = ui::byte_target(&brush_settings.paint_submode);
  sub.set_minmax(0, 2);
  sub.set_list_names("=,>,+");
  sub.connected = &paint;
  sub.set_text_param(1, 10, 6);
  request_selector(panel, "WARP", v(105, 102), v(50, 23), &panel_requests.warp, [] { return float(modes.warp_mode); });
  request_selector(panel, "*", v(135, 80), v(20, 20), &panel_requests.substeps,
                   [] { return float(gpu::simulation_settings.substep_mode != 0); });
}

void build() {
  objects.built = true;
  objects.images = ui::make_gui_images();
  gui = ui::GuiContext{};
  auto panel = ui::gui_master::Create("", v(-128, 0), v(160, 128), PointerShape::panel);
  panel->align = ui::align::right | ui::align::bottom;
  panel->set_text_param(1, 104, 80);
  panel->set_color(0.56f, 0.65f, 0.72f, 1);
  const gui_gadget& paint = tool_selector(*panel, 0, v(-2, 68), 64);
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
  mode_controls(*panel, paint);
  request_selector(*panel, "MASK", v(105, 80), v(30, 20), &panel_requests.mask,
                   [] { return float(modes.mask_mode != 0); });
  request_selector(*panel, "FL", v(135, 58), v(20, 20), &panel_requests.normalise, {});
  objects.reliefs.emplace_back();
  ui::bake_relief(*panel, objects.reliefs.back());
  objects.brush_mode = &gui.add(std::move(panel));
  ui::build_layer_fx_panel(layer_fx, gui, objects.images);
  ui::build_brush_image_panels(gui, objects.images);
}

}  // namespace

bool panels_fit_window() {
  return !frame_state.panels_hidden && app.screen_w >= min_window_w && app.screen_h >= min_window_h;
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
  ui::update_brush_image_panels(gui, panels_fit_window(), app.screen_w);
  ui::PointerInput in = pointer_input(pointer);
  in.others_own = (app.gui_flags & gui_flag::others_own) != 0 || app.pointer_outside;
  ui::pointer_pass(gui, in);
  // The floating panels lie over the main panel: they take the pointer first.
  in.others_own = in.others_own || gui.hovered_panel || gui.press == ui::GuiContext::Press::gui;
  const int main_flags = main_panel_pointer_pass(in);
  app.gui_flags = ui::merge_gui_flags(app.gui_flags, gui) | main_flags;
}

void draw_panels_and_pointer(vec2d pointer, float brush_radius, const std::optional<gpu::PixelRect>& redrawn) {
  if (!objects.built) return;
  const gpu::Buffer& copy = gpu::canvas_buffers.screen_copy;
  ui::refresh_brush_image_panels(gui);
  const int sw = int(app.screen_w), sh = int(app.screen_h);
  if (copy) {
    // Every drawing of the window is copied, so that the copy holds the
    // whole picture whenever a panel opens.
    ui::copy_screen(copy, sw, sh);
    std::vector<gpu::PixelRect> footprints;
    lay_out_main_panel_now(footprints);
    for (const ui::gui_master* m : gui.open_panels)
      if (m->show && m->size.x > 0 && m->size.y > 0) footprints.push_back(ui::panel_footprint(*m));
    objects.backdrop.update(copy.texture(), sw, sh, footprints, redrawn);
    draw_main_panel_now(objects.backdrop.texture(), gpu::display_settings.light_pos[0],
                        gpu::display_settings.light_pos[1], redrawn);
  }
  if (!gui.open_panels.empty() && copy) {
    ui::GuiPainter painter;
    painter.light_x = gpu::display_settings.light_pos[0];
    painter.light_y = gpu::display_settings.light_pos[1];
    painter.draw_text = [](std::string_view text, float x, float y, float scale) { draw_text(text, x, y, scale); };
    const ui::GuiDrawCount drawn =
        ui::draw_gui(gui, painter, objects.backdrop.texture(), app.screen_w, app.screen_h, redrawn);
    panels_drawn.glass_quads += drawn.glass_quads;
    panels_drawn.glass_pixels += drawn.glass_pixels;
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
  const int look = gui.hovered_panel || gui.active_gadget ? int(gui.pointer_shape) : -1;
  const gpu::PixelRect& last = objects.pointer_box;
  if (now == last && look == objects.pointer_look) return std::nullopt;
  const gpu::PixelRect both = last.united(now);
  objects.pointer_box = now;
  objects.pointer_look = look;
  return both;
}

std::optional<gpu::PixelRect> panels_changed() {
  if (!objects.built) return std::nullopt;
  ui::fade_highlights(gui);
  const gpu::PixelRect r = objects.redraw.changes(gui);
  if (r.empty()) return std::nullopt;
  return r;
}

gpu::PixelRect panels_near(const gpu::PixelRect& changed) {
  return ui::glass_near(gui, changed).united(main_panel_near(changed));
}

void toggle_panels_hidden() {
  frame_state.panels_hidden = !frame_state.panels_hidden;
}

bool panels_hidden() {
  return frame_state.panels_hidden;
}

void release_floating_panels() {
  ui::release_brush_image_panels();
  release_main_panel();
  gui = ui::GuiContext{};
  objects = PanelObjects{};
  layer_fx = ui::LayerFxPanel{};
}
