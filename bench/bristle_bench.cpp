// Processor time of one frame of bristle motion for the full 4000 bristles, and
// the cost of a scripted bristle stroke at the default canvas size on the
// headless context.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "brush/bristle.h"
#include "brush/brush_settings.h"
#include "brush/stroke.h"
#include "document/document_state.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "layers/canvas_setup.h"
#include "platform/gl.h"
#include "platform/headless_gl.h"

namespace {

bool gl_ready() {
  static const bool ready = [] {
    std::string error, log;
    if (!platform::headless_gl_init(&error)) return false;
    return gpu::build_programs(&log);
  }();
  return ready;
}

void BM_BristleMotion4000(benchmark::State& state) {
  if (!gl_ready()) {
    state.SkipWithError("no headless GL context");
    return;
  }
  const float paint[3] = {0.25f, 0.1f, 0.05f};
  create_canvas(1280, 720, paint, 1280, 720);
  create_bristles();
  bristles.count = 4001;
  BristleFrame& f = bristles.frame;
  f = BristleFrame{};
  f.radius = f.old_radius = 40;
  f.oscillate = float(state.range(0)) * 0.01f;
  f.osc_chaos = f.oscillate;
  bristle& proto = *bristles.list.front();
  proto.init(bristles.list, 600, 360);
  float x = 600;
  for (auto _ : state) {
    x += 3;
    if (x > 1000) x = 300;
    f.delta_x = 3.0f / 1280;
    proto.draw_setup(bristles.list, x, 360);
    benchmark::DoNotOptimize(bristles.array.back()->tpos.x);
  }
}
// Argument: oscillation and chaos in hundredths.
BENCHMARK(BM_BristleMotion4000)->Arg(0)->Arg(50)->Unit(benchmark::kMicrosecond);

void BM_BristleStroke1280x720(benchmark::State& state) {
  if (!gl_ready()) {
    state.SkipWithError("no headless GL context");
    return;
  }
  const float paint[3] = {0.25f, 0.1f, 0.05f};
  create_canvas(1280, 720, paint, 1280, 720);
  document::reset_settings();
  brush_settings.bristles = 1;
  StrokeInput in;
  in.size = in.base_size = float(state.range(0));
  in.pressure = 1;
  in.pen_factor = 1;
  in.direction = vec2d::Create(1, 0);
  float x = 200;
  for (auto _ : state) {
    x += 6;
    if (x > 1080) {
      stroke_end();
      x = 200;
    }
    in.x = x;
    in.y = 360 + 40 * std::sin(x * 0.01f);
    in.dx = 6.0f / 1280;
    stroke_frame(in);
    glFinish();
  }
  stroke_end();
}
// Argument: brush size in pixels.
BENCHMARK(BM_BristleStroke1280x720)->Arg(15)->Arg(60)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
