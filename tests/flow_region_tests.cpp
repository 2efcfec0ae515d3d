// Below full fluidity the simulation runs only where the flow can be alive;
// it must leave every buffer exactly as a simulation of the whole canvas does.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "document/document_state.h"
#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "gpu/flow_activity.h"
#include "gpu/flow_region.h"
#include "gpu/simulation.h"
#include "gpu/simulation_settings.h"
#include "layers/layer.h"
#include "tests/gl_fixture.h"

namespace {

constexpr int W = 160, H = 90;

bool contains(const gpu::PixelRect& outer, const gpu::PixelRect& inner) {
  return inner.empty() ||
         (outer.x0 <= inner.x0 && outer.y0 <= inner.y0 && outer.x1 >= inner.x1 && outer.y1 >= inner.y1);
}

TEST(FlowRegion, ConversionsBetweenCanvasAndPressureTexelsRoundOutwards) {
  const struct {
    int w, h, sw, sh;
    gpu::PixelRect r;
  } cases[] = {
      {160, 90, 80, 45, {10, 20, 11, 21}},
      {161, 91, 80, 45, {0, 0, 161, 91}},
      {1280, 720, 640, 360, {3, 5, 700, 6}},
      {1281, 721, 320, 180, {-4, -4, 2, 2}},
  };
  for (const auto& c : cases) {
    const gpu::PixelRect s = gpu::canvas_to_solver(c.r, c.w, c.h, c.sw, c.sh);
    EXPECT_TRUE(contains(gpu::solver_to_canvas(s, c.w, c.h, c.sw, c.sh), c.r));
    const gpu::PixelRect back = gpu::solver_to_canvas(c.r, c.w, c.h, c.sw, c.sh);
    EXPECT_TRUE(contains(gpu::canvas_to_solver(back, c.w, c.h, c.sw, c.sh), c.r));
  }
  EXPECT_TRUE(gpu::canvas_to_solver({}, 160, 90, 80, 45).empty());
}

TEST(FlowRegion, TheWorkCoversTheFieldAndThePressureAndGrowsWithTheRelaxation) {
  const gpu::PixelRect field{40, 40, 50, 50}, pressure{100, 10, 110, 20};
  gpu::FlowSpread s{2, 4, true, true};
  const gpu::PixelRect work = gpu::flow_work_rect(field, pressure, s);
  EXPECT_TRUE(contains(work, field.grown(8)));
  EXPECT_TRUE(contains(work, pressure.grown(8)));
  s.jacobi_steps = 14;
  EXPECT_TRUE(contains(gpu::flow_work_rect(field, pressure, s), work.grown(20)));
  // Without the divergence removal the pressure is never read.
  s.curls = false;
  EXPECT_TRUE(contains(field.grown(9), gpu::flow_work_rect(field, pressure, s)));
  EXPECT_TRUE(gpu::flow_work_rect({}, {}, s).empty());
}

class FlowRegionGl : public GlTest {
 protected:
  void SetUp() override {
    gl_canvas(W, H);
    document::reset_settings();
    gpu::canvas_settings.show = 0;
  }
  void TearDown() override { document::reset_settings(); }

  static void upload(GLuint tex, GLenum format, const std::vector<float>& data) {
    glBindTexture(GL_TEXTURE_2D, tex);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, W, H, format, GL_FLOAT, data.data());
    glBindTexture(GL_TEXTURE_2D, 0);
  }
};

TEST_F(FlowRegionGl, TheNonZeroBoxIsTheBoxOfTheNonZeroTexels) {
  const struct {
    const char* what;
    std::vector<std::array<int, 2>> texels;  // canvas pixels, y down
    float value;
  } cases[] = {
      {"none", {}, 0},
      {"one in a corner", {{0, 0}}, 1},
      {"two far apart", {{3, 80}, {150, 7}}, -0.5f},
      {"a tiny value", {{77, 44}}, 1e-30f},
  };
  for (const auto& c : cases) {
    std::vector<float> v(size_t(W) * H * 2, 0);
    gpu::PixelRect expect;
    for (const auto& t : c.texels) {
      v[(size_t(H - 1 - t[1]) * W + size_t(t[0])) * 2 + 1] = c.value;
      expect = expect.united({t[0], t[1], t[0] + 1, t[1] + 1});
    }
    upload(gpu::canvas_buffers.velocity[0].texture(), GL_RG, v);
    const gpu::PixelRect box = gpu::nonzero_box(gpu::canvas_buffers.velocity[0], {0, 0, W, H});
    EXPECT_EQ(box.empty(), expect.empty()) << c.what;
    EXPECT_TRUE(contains(box, expect)) << c.what;
    EXPECT_TRUE(contains(expect, box)) << c.what << ": larger than the texels";
    // A search inside part of the buffer finds only what lies there.
    EXPECT_TRUE(gpu::nonzero_box(gpu::canvas_buffers.velocity[0], {40, 20, 60, 30}).empty()) << c.what;
  }
}

// Everything a simulated frame leaves for the next one and for the picture.
struct Buffers {
  std::vector<float> field, pressure, amount, colour, wetness;
  bool operator==(const Buffers&) const = default;
};

Buffers read_buffers() {
  const gpu::CanvasBuffers& b = gpu::canvas_buffers;
  const layer& l = *layers.active;
  return {read_texture(b.velocity[0].texture(), W, H, GL_RG, 2),
          read_texture(b.solver[0].texture(), b.solver[0].width(), b.solver[0].height(), GL_RED, 1),
          read_texture(l.fbo_mat(), W, H, GL_RED, 1), read_texture(l.fbo_col(), W, H, GL_RGBA, 4),
          read_texture(b.wetness.texture(), W, H, GL_RGBA, 4)};
}

TEST_F(FlowRegionGl, TheFlowSimulatedWhereItLivesEqualsTheWholeCanvasFrameByFrame) {
  const struct {
    const char* what;
    float fluidity, sharpness, curls, drying;
    float motion;  // pixels a frame of the brush, across the canvas
  } cases[] = {
      {"default flow", 0.5f, 0.5f, 0.25f, 1, 6}, {"fast, thin paint", 0.1f, 1.0f, 1.0f, 1, 40},
      {"no smoothing", 0.7f, 0.0f, 0.5f, 1, 10}, {"no curls", 0.4f, 0.8f, 0.0f, 1, 12},
      {"never drying", 0.6f, 0.3f, 0.25f, 0, 8},
  };
  for (const auto& c : cases) {
    std::vector<Buffers> frames[2];
    double least_pixels = W * H;
    for (int restricted = 0; restricted < 2; ++restricted) {
      SetUp();
      gpu::SimulationSettings& s = gpu::simulation_settings;
      s.fluidity = c.fluidity;
      s.fluid_sharpness = c.sharpness;
      s.fluid_curls = c.curls;
      s.drying = c.drying;
      // Paint and wetness in a band, a field under a brush moving along it.
      std::vector<float> mat(size_t(W) * H, 0), wet(size_t(W) * H * 4, 0), field(size_t(W) * H * 2, 0);
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
          const size_t i = size_t(y) * W + size_t(x);
          if (y > 35 && y < 55) mat[i] = 0.5f + 0.01f * float(x % 37);
          if (y > 30 && y < 60 && x > 5) std::fill_n(&wet[i * 4], 4, 1.0f);
          if (std::hypot(x - 30.0f, y - 45.0f) < 8) field[i * 2] = c.motion / W;
        }
      upload(layers.active->fbo_mat(), GL_RED, mat);
      upload(gpu::canvas_buffers.wetness.texture(), GL_RGBA, wet);
      upload(gpu::canvas_buffers.velocity[0].texture(), GL_RG, field);
      gpu::note_field_written(std::nullopt, 0);
      gpu::note_wetness_written({0, 0, W, H});
      const layer& l = *layers.active;
      for (int frame = 0; frame < 24; ++frame) {
        gpu::SimulationFrame f{{l.fbo_colID(), l.fbo_col(), l.fbo_matID(), l.fbo_mat()}};
        f.whole_canvas = restricted == 0;
        const gpu::SimulationStats stats = gpu::simulate_frame(f);
        if (restricted) least_pixels = std::min(least_pixels, stats.touched.area());
        frames[restricted].push_back(read_buffers());
      }
    }
    EXPECT_LT(least_pixels, W * H) << c.what << ": the flow never ran in part of the canvas";
    for (size_t i = 0; i < frames[0].size(); ++i)
      EXPECT_TRUE(frames[0][i] == frames[1][i]) << c.what << ": frame " << i << " differs from the whole canvas";
  }
}

}  // namespace
