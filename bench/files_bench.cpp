// Saving and loading a 1280 x 720 project of four painted layers: the band
// packing alone on one thread and on every core (the files are the same byte
// for byte), the checked read of the file, and the whole save and load with
// the GPU read-back and upload on the headless context.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "base/result.h"
#include "document/project.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "io/project_format.h"
#include "layers/canvas_setup.h"
#include "layers/layer.h"
#include "layers/layer_stack.h"
#include "platform/gl.h"
#include "platform/headless_gl.h"

namespace {

constexpr int W = 1280, H = 720, layer_count = 4;

// Paint as it lies after painting: patches of colour at half precision with
// coverage, amounts of full float precision with relief; bare canvas between.
struct Painted {
  std::vector<float> col, mat;
  explicit Painted(int seed) : col(std::size_t(W) * H * 4), mat(std::size_t(W) * H) {
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const std::size_t i = std::size_t(y) * W + x;
        const float u = std::sin(0.013f * float(x + 97 * seed)) * std::cos(0.011f * float(y - 31 * seed));
        if (u < 0.1f) continue;
        mat[i] = 1.0f + 0.8f * u + 0.05f * std::sin(0.9f * float(x * y % 977));
        // Colour quantised to half precision, as the RGBA16F buffer holds it.
        for (int c = 0; c < 3; ++c) col[i * 4 + c] = std::round((0.3f + 0.2f * float(c) + 0.3f * u) * 2048) / 2048;
        col[i * 4 + 3] = 1;
      }
  }
};

const std::vector<Painted>& painted() {
  static const std::vector<Painted> layers = [] {
    std::vector<Painted> v;
    for (int i = 0; i < layer_count; ++i) v.emplace_back(i);
    return v;
  }();
  return layers;
}

io::ProjectHeader header() {
  io::ProjectHeader h;
  h.width = W, h.height = H, h.layer_count = layer_count;
  return h;
}

void BM_PackProjectBands(benchmark::State& state) {
  const unsigned threads = unsigned(state.range(0));
  std::size_t bytes = 0;
  for (auto _ : state) {
    io::MemoryOutput out;
    out.bytes.reserve(std::size_t(64) << 20);
    io::write_project(
        out, header(), {},
        [](int l) {
          const Painted& p = painted()[std::size_t(l)];
          return io::LayerPixels{{}, p.col, p.mat};
        },
        {}, threads);
    bytes = out.bytes.size();
    benchmark::DoNotOptimize(out.bytes.data());
  }
  state.counters["file_MB"] = double(bytes) / 1e6;
  state.counters["threads"] = threads ? threads : std::thread::hardware_concurrency();
}
// 1: sequential; 0: every core.
BENCHMARK(BM_PackProjectBands)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

bool gl_ready() {
  static const bool ready = [] {
    std::string error, log;
    if (!platform::headless_gl_init(&error)) return false;
    if (gpu::program(gpu::Prog::paint_display).id() == 0 && !gpu::build_programs(&log)) return false;
    const float white[3] = {1, 1, 1};
    if (!create_canvas(W, H, white, W, H)) return false;
    for (int i = 1; i < layer_count; ++i) add_layer();
    for (int i = 0; i < layer_count; ++i) {
      const Painted& p = painted()[std::size_t(i)];
      layer& l = *layers.list[std::size_t(i)];
      glBindTexture(GL_TEXTURE_2D, l.fbo_col());
      glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, W, H, GL_RGBA, GL_FLOAT, p.col.data());
      glBindTexture(GL_TEXTURE_2D, l.fbo_mat());
      glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, W, H, GL_RED, GL_FLOAT, p.mat.data());
      glBindTexture(GL_TEXTURE_2D, 0);
    }
    return true;
  }();
  return ready;
}

std::string bench_file() {
  return (std::filesystem::temp_directory_path() / "ollan_files_bench.olp").string();
}

void BM_SaveProject(benchmark::State& state) {
  if (!gl_ready()) {
    state.SkipWithError("no headless GL context");
    return;
  }
  for (auto _ : state)
    if (Result<void> r = document::save_project(bench_file(), {}, unsigned(state.range(0))); !r)
      state.SkipWithError(r.error().message.c_str());
  state.counters["file_MB"] = double(std::filesystem::file_size(bench_file())) / 1e6;
}
BENCHMARK(BM_SaveProject)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_ReadProjectChecked(benchmark::State& state) {
  if (!gl_ready()) {
    state.SkipWithError("no headless GL context");
    return;
  }
  if (!std::filesystem::exists(bench_file())) (void)document::save_project(bench_file(), {});
  Result<io::Bytes> bytes = io::read_file(bench_file());
  if (!bytes) {
    state.SkipWithError(bytes.error().message.c_str());
    return;
  }
  for (auto _ : state)
    if (Result<io::StoredProject> p = io::read_project(*bytes, {}); !p) state.SkipWithError(p.error().message.c_str());
}
BENCHMARK(BM_ReadProjectChecked)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_LoadProject(benchmark::State& state) {
  if (!gl_ready()) {
    state.SkipWithError("no headless GL context");
    return;
  }
  if (!std::filesystem::exists(bench_file())) (void)document::save_project(bench_file(), {});
  for (auto _ : state) {
    if (Result<std::string> r = document::load_project(bench_file(), W, H, {}); !r)
      state.SkipWithError(r.error().message.c_str());
    glFinish();
  }
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
