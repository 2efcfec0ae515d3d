// Milliseconds of drawing the main control panel at 1280 x 720 on the
// headless context (its group boxes, dials, toggles and buttons through the
// glass), beside BM_GuiOverlay1280x720's floating panels. Labels and the
// layer rows are left out (the font and the layers belong to the program).
#include <benchmark/benchmark.h>

#include <string>

#include "gpu/buffer.h"
#include "gpu/programs.h"
#include "platform/gl.h"
#include "platform/headless_gl.h"
#include "ui/main_panel_draw.h"

namespace {

bool main_panel_gl_ready() {
  static const bool ready = [] {
    std::string error, log;
    if (!platform::headless_gl_init(&error)) return false;
    if (gpu::program(gpu::Prog::glass).id() != 0) return true;
    return gpu::build_programs(&log);
  }();
  return ready;
}

void BM_MainPanel1280x720(benchmark::State& state) {
  if (!main_panel_gl_ready()) {
    state.SkipWithError("no headless GL context");
    return;
  }
  constexpr int W = 1280, H = 720;
  const ui::MainPanel panel = ui::build_main_panel();
  const ui::GuiImages images = ui::make_gui_images();
  ui::MainPanelView view = ui::build_main_panel_view(panel, images);
  gpu::Buffer window = gpu::Buffer::create(W, H, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  gpu::Buffer copy = gpu::Buffer::create(W, H, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  window.bind_target();
  glClearColor(0.5f, 0.4f, 0.3f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  const ui::GuiPainter painter;
  for (auto _ : state) {
    window.bind_target();
    ui::copy_screen(copy, W, H);
    ui::draw_main_panel(view, panel, images, painter, copy.texture(), W, H);
    glFinish();
  }
}
BENCHMARK(BM_MainPanel1280x720)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
