#include "ui/main_panel_draw.h"

#include <algorithm>
#include <string>

#include "gpu/geometry.h"
#include "layers/layer.h"
#include "layers/layer_stack.h"

namespace ui {
namespace {

vec2d v(float x, float y) {
  return vec2d::Create(x, y);
}

// A carrier: a panel with no image of its own, so only its controls show.
gui_master& carrier(GuiContext& scene) {
  gui_master& m = scene.add(gui_master::Create("", v(0, 0), v(1, 1), PointerShape::arrow));
  scene.open(m);
  return m;
}

std::unique_ptr<gui_gadget> element(GadgetKind kind, vec2d rel, vec2d size, const float tint[4], float transparency,
                                    unsigned image) {
  auto g = gui_gadget::Create("", kind, rel, size, PointerShape::hand);
  g->set_color(tint[0], tint[1], tint[2], tint[3]);
  g->transparency = transparency;
  g->image = image;
  return g;
}

void centre_label(gui_gadget& g, const std::string& text, float scale) {
  g.name = text;
  g.set_text_param(scale, 0.5f * (g.size.x - 8 * scale * float(text.size())), 0.5f * (g.size.y - 14 * scale));
}

std::unique_ptr<gui_gadget> mirror_of(const interface& c, const GuiImages& images) {
  const document::ParamId id = *c.param;
  auto on = [id] { return document::value_of(id); };
  switch (c.gadget) {
    case InterfaceKind::dial:
      return element(GadgetKind::dial, c.rel_pos, c.size, c.color, c.transparency, images.dial.id());
    case InterfaceKind::toggle:
    case InterfaceKind::step_button: {
      auto g = element(c.gadget == InterfaceKind::toggle ? GadgetKind::toggle : GadgetKind::button, c.rel_pos, c.size,
                       c.color, c.transparency, images.dial.id());
      g->reference = on;
      return g;
    }
    case InterfaceKind::menu_button: {
      // Lit while its request waits for the frame.
      auto g = element(GadgetKind::toggle, c.rel_pos, c.size, c.color, c.transparency, images.button.id());
      g->reference = on;
      const std::string label = c.name.substr(c.name.find(':') + 1);
      centre_label(*g, label.substr(0, label.find(' ')), 1);
      return g;
    }
    case InterfaceKind::group:
    case InterfaceKind::layer_list: break;
  }
  return nullptr;
}

// Where a dial's needle points: its position in the range, or for an
// unbounded value a curve that approaches the end as the value grows.
float needle(const interface& c) {
  const float value = document::value_of(*c.param);
  if (!c.unbounded()) return c.position_of(value);
  const float x = std::max(value, 0.0f);
  return x / (x + c.mult);
}

// The rows of the layer list, laid out afresh: a plate per layer (lit for the
// active one) with its name, the visibility switch, the style button with its
// symbol, and on the active row the buttons above and below.
void build_rows(gui_master& rows, const LayerRows& r, const GuiImages& images) {
  rows.childrenlist.clear();
  const float plate[4] = {0.56f, 0.65f, 0.72f, 0.1f};
  const float knob[4] = {1, 0.98f, 0.95f, 0.3f};
  const float add[4] = {0.5f, 1, 0.5f, 0.3f};
  for (int i = r.first; i > r.first - r.count; --i) {
    const layer& l = *layers.list[std::size_t(i)];
    const bool active = &l == layers.active;
    const vec2d o = r.row_origin(i);
    gui_gadget& back = rows.add(
        element(GadgetKind::toggle, o.addxy(0, 1), v(r.width, layer_row_height - 2), plate, 0.6f, images.button.id()));
    back.reference = [active] { return active ? 1.0f : 0.0f; };
    back.name = "Layer " + std::to_string(i + 1);
    back.set_text_param(0.75f, 6, 11);
    gui_gadget& eye = rows.add(element(GadgetKind::toggle, o.addxy(100, 6), v(20, 20), knob, 0.45f, images.dial.id()));
    const bool shown = l.hidden == 0;
    eye.reference = [shown] { return shown ? 1.0f : 0.0f; };
    gui_gadget& mode = rows.add(element(GadgetKind::button, o.addxy(74, 0), v(20, 20), knob, 0.45f, images.dial.id()));
    centre_label(mode, style_symbol(l.style), 1);
    if (active) {
      const float bx = l.hidden ? 68.0f : 64.0f;
      for (float by : {0.0f, layer_row_height}) {
        gui_gadget& b =
            rows.add(element(GadgetKind::button, o.addxy(bx - 7, by - 7), v(14, 14), add, 0.45f, images.dial.id()));
        centre_label(b, "+", 0.75f);
      }
    }
  }
}

void draw_readout(const GuiPainter& p, const std::string& text, float right, float centre_y) {
  if (text.empty() || !p.draw_text) return;
  const float w = 8 * float(text.size()), x = std::max(2.0f, right - w - 6), y = centre_y - 7;
  glDisable(GL_TEXTURE_2D);
  glColor4f(0, 0, 0, 0.6f);
  glBegin(GL_QUADS);
  glVertex2f(x - 3, y - 2);
  glVertex2f(x + w + 3, y - 2);
  glVertex2f(x + w + 3, y + 16);
  glVertex2f(x - 3, y + 16);
  glEnd();
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 0.9f);
  p.draw_text(text, x, y, 1);
  glDisable(GL_TEXTURE_2D);
}

}  // namespace

MainPanelView build_main_panel_view(const MainPanel& m, const GuiImages& images) {
  MainPanelView view;
  view.mirror.assign(m.controls.size(), nullptr);
  view.boxes.assign(m.controls.size(), nullptr);
  gui_master& loose = carrier(view.scene);
  // Each group box: a relief panel with its controls' footprints pressed in.
  for (std::size_t i = 0; i < m.controls.size(); ++i) {
    const interface& g = m.controls[i];
    if (g.gadget != InterfaceKind::group) continue;
    auto box = gui_master::Create(g.name.substr(g.name.find(':') + 1), v(0, g.pos.y), g.size, PointerShape::panel);
    box->set_color(g.color[0], g.color[1], g.color[2], g.color[3]);
    box->transparency = g.transparency;
    box->set_text_param(1, 5, 4);
    view.boxes[i] = &view.scene.add(std::move(box));
    view.scene.open(*view.boxes[i]);
  }
  // The rows lie over the layer box, and the layer dials over the rows.
  view.rows = &carrier(view.scene);
  gui_master& over_rows = carrier(view.scene);
  for (std::size_t i = 0; i < m.controls.size(); ++i) {
    const interface& c = m.controls[i];
    std::unique_ptr<gui_gadget> g = c.param ? mirror_of(c, images) : nullptr;
    if (!g) continue;
    gui_master* box = c.parent >= 0 ? view.boxes[std::size_t(c.parent)] : nullptr;
    // Within a box the place is relative to the box's left edge.
    if (box) g->relative_pos = v(-c.rel_pos.x, c.rel_pos.y);
    const bool over_list = m.layer_list >= 0 && c.parent == m.controls[std::size_t(m.layer_list)].parent;
    gui_master& owner = over_list ? over_rows : box ? *box : loose;
    view.mirror[i] = &owner.add(std::move(g));
  }
  for (gui_master* box : view.boxes)
    if (box) {
      view.reliefs.emplace_back();
      bake_relief(*box, view.reliefs.back());
    }
  return view;
}

void lay_out_main_panel(MainPanelView& view, const MainPanel& m, const GuiImages& images, float sw, float sh) {
  const int layer_box = m.layer_list >= 0 ? m.controls[std::size_t(m.layer_list)].parent : -1;
  for (std::size_t i = 0; i < m.controls.size(); ++i) {
    const interface& c = m.controls[i];
    if (gui_master* box = view.boxes[i]) box->pos = v(c.left(sw), c.pos.y);
    gui_gadget* g = view.mirror[i];
    if (!g) continue;
    // Loose controls and the layer dials ride on carriers at the origin.
    if (c.parent < 0 || c.parent == layer_box) g->relative_pos = v(c.left(sw), c.pos.y);
    if (c.gadget == InterfaceKind::dial) g->value_float = needle(c);
    if (c.hover || int(i) == m.pressed) g->hover = 1;
  }
  // The stack may have changed since the pass laid the rows out.
  build_rows(*view.rows, main_panel_rows(m, sw, sh), images);
}

void draw_main_panel(MainPanelView& view, const MainPanel& m, const GuiPainter& p, GLuint backdrop, float sw, float sh,
                     const std::optional<gpu::PixelRect>& clip) {
  draw_gui(view.scene, p, backdrop, sw, sh, clip);

  const int shown = m.pressed >= 0 ? m.pressed : m.hovered;
  if (shown < 0) return;
  const interface& c = m.controls[std::size_t(shown)];
  gpu::set_projection(int(sw), int(sh));
  glUseProgram(0);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  draw_readout(p, control_readout(m, shown), c.left(sw), c.pos.y + 0.5f * std::min(c.size.y, layer_row_height));
  glColor4f(1, 1, 1, 1);
  glDisable(GL_BLEND);
  gpu::set_projection(gpu::geometry.width, gpu::geometry.height);
}

}  // namespace ui
