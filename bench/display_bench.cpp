// Milliseconds of one display frame (every layer lit over the canvas, the copy
// into view_image and the draw into a window-sized target) at the default
// canvas size on the headless context, with one and with eight layers of
// paint, "HIGH QUALITY" on and off.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "gpu/canvas_buffers.h"
#include "gpu/display.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "layers/canvas_setup.h"
#include "layers/layer.h"
#include "layers/layer_display.h"
#include "layers/layer_stack.h"
#include "platform/gl.h"
#include "platform/headless_gl.h"

namespace {

bool display_gl_ready() {
  static const bool ready = [] {
    std::string error, log;
    if (!platform::headless_gl_init(&error)) return false;
    if (gpu::program(gpu::Prog::paint_display).id() != 0) return true;
    return gpu::build_programs(&log);
  }();
  return ready;
}

// Paint amounts with ridges over most of the canvas, so every pixel is lit.
void paint_layer(layer& l, int seed) {
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  std::vector<float> amount(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      amount[size_t(y) * size_t(w) + size_t(x)] =
          std::max(0.0f, 1.5f + std::sin(0.07f * float(x + 13 * seed)) + 0.3f * std::sin(0.9f * float(y)));
  glBindTexture(GL_TEXTURE_2D, l.fbo_mat());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RED, GL_FLOAT, amount.data());
  l.col.bind_target();
  glClearColor(0.2f + 0.1f * float(seed % 5), 0.4f, 0.6f - 0.05f * float(seed), 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// Arguments: layer count, "HIGH QUALITY" (0 or 1).
void BM_DisplayFrame1280x720(benchmark::State& state) {
  if (!display_gl_ready()) {
    state.SkipWithError("no headless GL context");
    return;
  }
  const float paint[3] = {0.25f, 0.1f, 0.05f};
  create_canvas(1280, 720, paint, 1280, 720);
  for (int i = 1; i < state.range(0); ++i) add_layer();
  for (size_t i = 0; i < layers.list.size(); ++i) paint_layer(*layers.list[i], int(i));
  gpu::display_settings = gpu::DisplaySettings{};
  gpu::canvas_settings = gpu::start_canvas;
  gpu::display_settings.high_quality = state.range(1) != 0;
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_NOTEQUAL, 0.0f);
  gpu::Buffer window = gpu::Buffer::create(1280, 720, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  gpu::ViewTransform view;
  view.screen_w = 1280;
  view.screen_h = 720;
  view.centre_x = 640;
  view.centre_y = 360;
  display_layers({});  // canvas texture build and first use of every program
  glFinish();
  for (auto _ : state) {
    display_layers({});
    window.bind_target();
    gpu::draw_view(view);
    glFinish();
  }
  state.counters["layers"] = double(state.range(0));
}
BENCHMARK(BM_DisplayFrame1280x720)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({8, 0})
    ->Args({8, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

}  // namespace
