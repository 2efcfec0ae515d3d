// The whole frame at the default canvas size on the headless context: the
// pointer, the keys, a mouse stroke, the simulation, the display and the
// status text, as the main loop runs them (the timer wait excluded).
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "app/app_state.h"
#include "app/frame.h"
#include "app/frame_state.h"
#include "app/view.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "layers/canvas_setup.h"
#include "platform/dialogs.h"
#include "platform/gl.h"
#include "platform/headless_gl.h"
#include "platform/headless_window.h"

namespace {

// A pointer that circles the canvas centre.
class CirclingMouse final : public platform::Input {
 public:
  bool key_hit(std::string_view) override { return false; }
  bool key_down(std::string_view) override { return false; }
  void flush_keys() override {}
  void mouse_position(float* x, float* y) override {
    *x = 640 + 200 * std::sin(t_);
    *y = 360 + 150 * std::cos(t_);
  }
  int wheel() override { return 0; }
  void discard_wheel() override {}
  void step() { t_ += 0.05f; }

 private:
  float t_ = 0;
};

void frame_benchmark(benchmark::State& state, bool painting) {
  std::string error, log;
  if (!platform::headless_gl_init(&error) || !gpu::build_programs(&log)) {
    state.SkipWithError("no headless GL context");
    return;
  }
  auto window = platform::create_headless_window(1280, 720, &error);
  const float paint[3] = {0.25f, 0.1f, 0.05f};
  create_canvas(1280, 720, paint, 1280, 720);
  reset_application_state();
  app.screen_w = 1280;
  app.screen_h = 720;
  centre_view(1280, 720, 1280, 720);
  CirclingMouse mouse;
  platform::QueuedDialogs dialogs;
  Session s{*window, mouse, dialogs};
  app.mouse_left = painting;
  for (auto _ : state) {
    mouse.step();
    frame_work(s);
    glFinish();
  }
  app.mouse_left = false;
}

void BM_FrameIdle1280x720(benchmark::State& state) {
  frame_benchmark(state, false);
}
void BM_FrameStroke1280x720(benchmark::State& state) {
  frame_benchmark(state, true);
}

BENCHMARK(BM_FrameIdle1280x720)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_FrameStroke1280x720)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace
