// Milliseconds of one simulated frame at the default canvas size on the
// headless context, with the number of full-canvas passes it draws.
#include <benchmark/benchmark.h>

#include <string>

#include "document/document_state.h"
#include "gpu/canvas_buffers.h"
#include "gpu/canvas_texture.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "gpu/simulation.h"
#include "gpu/simulation_settings.h"
#include "layers/canvas_setup.h"
#include "layers/layer.h"
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

// A painted canvas: paint amount 1 everywhere, the canvas texture built.
void painted_canvas() {
  const float paint[3] = {0.25f, 0.1f, 0.05f};
  create_canvas(1280, 720, paint, 1280, 720);
  gpu::build_canvas_texture();
  glBindFramebuffer(GL_FRAMEBUFFER, layers.active->fbo_matID());
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// The motion a brush of radius r at (x, y) moving (mx, 0) pixels lays into the
// field, as a flat square: the cost is the simulation's, not the brush's.
void lay_motion(float x, float y, float r, float mx) {
  gpu::canvas_buffers.velocity[0].bind_target();
  gpu::set_projection(gpu::geometry.width, gpu::geometry.height);
  glUseProgram(0);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glColor4f(mx / float(gpu::geometry.width), 0, 0, 1);
  glRectf(x - r, y - r, x + r, y + r);
  glColor4f(1, 1, 1, 1);
  glEnable(GL_TEXTURE_2D);
}

// Arguments: fluidity and curls in hundredths, and whether a brush strokes
// every frame.
void BM_SimulationFrame1280x720(benchmark::State& state) {
  if (!gl_ready()) {
    state.SkipWithError("no headless GL context");
    return;
  }
  painted_canvas();
  document::reset_settings();
  gpu::simulation_settings.fluidity = float(state.range(0)) * 0.01f;
  gpu::simulation_settings.fluid_curls = float(state.range(1)) * 0.01f;
  const bool stroke = state.range(2) != 0;
  const layer& l = *layers.active;
  gpu::SimulationFrame f;
  f.paint = {l.fbo_colID(), l.fbo_col(), l.fbo_matID(), l.fbo_mat()};
  f.brush_radius = 40;
  f.brush_y = 360;
  // The flowing cases start from one stroke's motion and keep flowing.
  lay_motion(640, 360, 40, 6);
  float x = 300;
  gpu::SimulationStats stats;
  for (auto _ : state) {
    x = x > 1000 ? 300 : x + 6;
    f.brush_x = x;
    f.motion_x = stroke ? 6.0f : 0.0f;
    f.dab = stroke;
    if (stroke) lay_motion(x, 360, 40, 6);
    stats = gpu::simulate_frame(f);
    glFinish();
  }
  state.counters["full_passes"] = stats.full_passes;
  state.counters["reduced_passes"] = stats.reduced_passes;
  state.counters["region_passes"] = stats.region_passes;
  state.counters["blits"] = stats.blits;
}
BENCHMARK(BM_SimulationFrame1280x720)
    ->ArgNames({"fluidity", "curls", "stroke"})
    ->Args({100, 25, 1})
    ->Args({100, 25, 0})
    ->Args({50, 25, 0})
    ->Args({50, 0, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
