#include "ui/brush_image_panel.h"

#include <algorithm>
#include <string>

#include "brush/brush_settings.h"
#include "document/brush_images.h"
#include "platform/gl.h"

namespace ui {

BrushImageRequests brush_image_requests;

namespace {

constexpr float entry_side = 80;
// The panels stand at the bottom left, above the status line: the colour
// wheel and the swatches take the top left.
constexpr float above_status = -24;

struct PanelState {
  gui_master* options = nullptr;
  gui_master* strip = nullptr;
  gpu::Buffer options_relief, strip_relief;
  const GuiImages* images = nullptr;
  int revision = -1;   // of the brush-image list the strip shows
  int shown = -1;      // entries shown
  float screen_w = 0;  // of the last update
};
PanelState panels;

vec2d v(float x, float y) {
  return vec2d::Create(x, y);
}

gui_gadget& add_control(gui_master& panel, const char* name, GadgetKind kind, vec2d pos, vec2d size) {
  gui_gadget& g = panel.add(gui_gadget::Create(name, kind, pos, size, PointerShape::hand));
  g.set_color(0.4f, 0.5f, 0.6f, 0.6f);
  g.image = panels.images->button.id();
  g.set_text_param(1, 3, 3);
  return g;
}

// A selector that asks for its option to flip and is lit while the option is on.
void option(gui_master& panel, const char* name, vec2d pos, vec2d size, unsigned char* request,
            const unsigned char* state) {
  gui_gadget& g = add_control(panel, name, GadgetKind::selector, pos, size);
  g.target = byte_target(request);
  g.trigger_value = 1;
  g.reference = [state] { return float(*state); };
}

GadgetTarget image_mode_target() {
  return {[] { return float(brush_settings.image_mode); },
          [](float value) { brush_settings.image_mode = std::clamp(int(value), 0, 3); }};
}

// Bakes the relief and puts back the target, viewport and matrices it found:
// the strip may be rebuilt while the window is being drawn.
void bake_keeping_target(gui_master& panel, gpu::Buffer& relief) {
  GLint framebuffer = 0, viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
  glGetIntegerv(GL_VIEWPORT, viewport);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  bake_relief(panel, relief);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glBindFramebuffer(GL_FRAMEBUFFER, GLuint(framebuffer));
  glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}

// The strip's entries again, one per image that fits, in list order.
void rebuild_strip(GuiContext& g, int fit) {
  gui_master& strip = *panels.strip;
  // The pointer pass must not keep an entry that is about to go.
  if (g.active_gadget && g.active_gadget->panel == &strip) g.active_gadget = nullptr;
  if (g.hovered && g.hovered->panel == &strip) g.hovered = nullptr;
  strip.childrenlist.clear();
  const auto& list = document::brush_images.list;
  const int n = std::min(int(list.size()), fit);
  for (int i = 0; i < n; ++i) {
    gui_gadget& e =
        add_control(strip, "", GadgetKind::selector, v(entry_side * float(i), 0), v(entry_side, entry_side));
    e.name = "img " + std::to_string(i);
    e.display_image = list[std::size_t(i)]->thumbnail.texture();
    e.set_text_param(1, 4, 4);
    e.target = byte_target(&brush_image_requests.pick);
    e.trigger_value = float(i);
    e.reference = [] { return float(document::brush_images.current); };
  }
  strip.size = v(entry_side * float(n), entry_side);
  if (n > 0) bake_keeping_target(strip, panels.strip_relief);
  panels.shown = n;
}

}  // namespace

void build_brush_image_panels(GuiContext& g, const GuiImages& images) {
  panels = PanelState{};
  panels.images = &images;
  auto options = gui_master::Create("BRUSH IMAGE", v(0, above_status), v(100, 120), PointerShape::panel);
  options->align = align::bottom;
  options->set_text_param(1, 4, 3.5f);
  options->set_color(0.56f, 0.65f, 0.72f, 1);
  document::BrushImageOptions& o = document::brush_images.options;
  BrushImageRequests& r = brush_image_requests;
  r = BrushImageRequests{};
  option(*options, "", v(68, 100), v(32, 20), &r.grain, &o.grain);
  gui_gadget& mode = add_control(*options, ">>", GadgetKind::cycler, v(34, 100), v(32, 20));
  mode.target = image_mode_target();
  mode.set_minmax(0, 3);
  mode.set_list_names(">>,pr,rn,=");
  option(*options, "col", v(1, 100), v(32, 20), &r.colour, &o.colour);
  option(*options, "use", v(1, 68), v(55, 26), &r.use, &o.use);
  option(*options, "p", v(57, 68), v(20, 26), &r.perspective, &o.perspective);
  gui_gadget& snap = add_control(*options, "i", GadgetKind::button, v(78, 68), v(20, 26));
  snap.target = byte_target(&r.capture);
  snap.trigger_value = 2;
  bake_relief(*options, panels.options_relief);
  panels.options = &g.add(std::move(options));

  // The strip's bottom edge is the panel's.
  auto strip = gui_master::Create("", v(100, above_status), v(entry_side, entry_side), PointerShape::panel);
  strip->align = align::bottom;
  strip->draw_mode = 1;
  strip->transparency = 0.5f;
  strip->set_color(0.56f, 0.65f, 0.72f, 1);
  strip->size = v(0, entry_side);
  panels.strip = &g.add(std::move(strip));
}

void update_brush_image_panels(GuiContext& g, bool show, float screen_w) {
  if (!panels.options) return;
  panels.screen_w = screen_w;
  // Entries are picked by a byte: at most 254 of them.
  const int fit = std::clamp(int((screen_w - panels.strip->pos.x) / entry_side), 0, 254);
  const int wanted = std::min(int(document::brush_images.list.size()), fit);
  if (document::brush_images.revision != panels.revision || wanted != panels.shown) {
    panels.revision = document::brush_images.revision;
    rebuild_strip(g, fit);
  }
  for (gui_master* m : {panels.options, panels.strip}) {
    const bool open = show && m->size.x > 0;
    if (open)
      g.open(*m);
    else if (g.is_open(*m))
      g.close(*m);
  }
}

void refresh_brush_image_panels(GuiContext& g) {
  if (panels.options) update_brush_image_panels(g, g.is_open(*panels.options), panels.screen_w);
}

std::vector<StripEntry> strip_entries(GuiContext& g) {
  std::vector<StripEntry> out;
  if (!panels.strip || !g.is_open(*panels.strip)) return out;
  for (const auto& e : panels.strip->childrenlist)
    out.push_back({e->name, int(e->trigger_value), e->relative_pos.x, e->display_image});
  return out;
}

void release_brush_image_panels() {
  panels = PanelState{};
}

}  // namespace ui
