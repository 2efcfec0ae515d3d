// Milliseconds of the GUI's part of a frame at 1280 x 720 on the headless
// context: the copy of the window picture, the blur the glass refracts, the
// glass panels with their controls, and the pointer, all drawn whole as after
// a change of the picture everywhere. Compare with BM_DisplayFrame1280x720
// for the GUI's share of a frame. Labels are left out (the font belongs to
// the program's start-up).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "gpu/buffer.h"
#include "gpu/programs.h"
#include "platform/gl.h"
#include "platform/headless_gl.h"
#include "ui/glass_backdrop.h"
#include "ui/gui_draw.h"
#include "ui/gui_redraw.h"
#include "ui/main_panel_draw.h"

namespace {

bool gui_gl_ready() {
  static const bool ready = [] {
    std::string error, log;
    if (!platform::headless_gl_init(&error)) return false;
    if (gpu::program(gpu::Prog::glass).id() != 0) return true;
    return gpu::build_programs(&log);
  }();
  return ready;
}

vec2d v(float x, float y) {
  return vec2d::Create(x, y);
}

// A panel of w x h with a row of round controls and a row of buttons.
ui::gui_master& add_panel(ui::GuiContext& g, const ui::GuiImages& im, vec2d pos, vec2d size) {
  ui::gui_master& m = g.add(ui::gui_master::Create("PANEL", pos, size, ui::PointerShape::panel));
  m.set_color(0.56f, 0.65f, 0.72f, 1);
  for (float x = 8; x + 40 < size.x; x += 48) {
    ui::gui_gadget& d =
        m.add(ui::gui_gadget::Create("", ui::GadgetKind::dial, v(x, 30), v(40, 40), ui::PointerShape::hand));
    d.image = im.dial.id();
    d.set_color(0, 0, 0, 0.2f);
    ui::gui_gadget& b =
        m.add(ui::gui_gadget::Create("", ui::GadgetKind::button, v(x, 80), v(40, 20), ui::PointerShape::hand));
    b.image = im.button.id();
    b.set_color(0.4f, 0.5f, 0.6f, 0.6f);
  }
  g.open(m);
  return m;
}

void BM_GuiOverlay1280x720(benchmark::State& state) {
  if (!gui_gl_ready()) {
    state.SkipWithError("no headless GL context");
    return;
  }
  constexpr int W = 1280, H = 720;
  ui::GuiContext g;
  const ui::GuiImages im = ui::make_gui_images();
  gpu::Buffer reliefs[2];
  ui::bake_relief(add_panel(g, im, v(992, 592), v(160, 128)), reliefs[0]);
  ui::bake_relief(add_panel(g, im, v(330, 330), v(480, 280)), reliefs[1]);
  gpu::Buffer window = gpu::Buffer::create(W, H, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  gpu::Buffer copy = gpu::Buffer::create(W, H, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  window.bind_target();
  glClearColor(0.5f, 0.4f, 0.3f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  const ui::GuiPainter painter;
  ui::GlassBackdrop backdrop;
  std::vector<gpu::PixelRect> footprints;
  for (const auto& m : g.master_list) {
    m->layout(W, H);
    footprints.push_back(ui::panel_footprint(*m));
  }
  for (auto _ : state) {
    window.bind_target();
    ui::copy_screen(copy, W, H);
    backdrop.update(copy.texture(), W, H, footprints, std::nullopt);
    ui::draw_gui(g, painter, backdrop.texture(), W, H);
    ui::draw_pointer(g, v(200, 200), 30, W, H);
    glFinish();
  }
}
BENCHMARK(BM_GuiOverlay1280x720)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The main control panel along the right edge: its group boxes, dials,
// toggles and buttons through the glass (the layer rows need layers, left out).
void BM_MainPanel1280x720(benchmark::State& state) {
  if (!gui_gl_ready()) {
    state.SkipWithError("no headless GL context");
    return;
  }
  constexpr int W = 1280, H = 720;
  const ui::MainPanel panel = ui::build_main_panel();
  const ui::GuiImages images = ui::make_gui_images();
  ui::MainPanelView view = ui::build_main_panel_view(panel, images);
  gpu::Buffer window = gpu::Buffer::create(W, H, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  gpu::Buffer copy = gpu::Buffer::create(W, H, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  const ui::GuiPainter painter;
  ui::GlassBackdrop backdrop;
  for (auto _ : state) {
    window.bind_target();
    ui::copy_screen(copy, W, H);
    ui::lay_out_main_panel(view, panel, images, W, H);
    std::vector<gpu::PixelRect> footprints;
    for (const ui::gui_master* m : view.scene.open_panels) footprints.push_back(ui::panel_footprint(*m));
    backdrop.update(copy.texture(), W, H, footprints, std::nullopt);
    ui::draw_main_panel(view, panel, painter, backdrop.texture(), W, H, std::nullopt);
    glFinish();
  }
}
BENCHMARK(BM_MainPanel1280x720)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
