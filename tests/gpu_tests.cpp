#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "gpu/kernels.h"
#include "gpu/programs.h"
#include "layers/canvas_setup.h"
#include "layers/layer.h"
#include "tests/gl_fixture.h"

namespace {

GLint internal_format(GLuint tex) {
  GLint f = 0;
  glBindTexture(GL_TEXTURE_2D, tex);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &f);
  glBindTexture(GL_TEXTURE_2D, 0);
  return f;
}

}  // namespace

TEST_F(GlTest, FloatBuffersKeepValuesOutsideZeroToOne) {
  gpu::Buffer b = gpu::Buffer::create(4, 4, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_BORDER);
  b.bind_target();
  gpu::set_projection(4, 4);
  glUseProgram(0);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glColor4f(3.5f, -2.0f, 0.25f, 1.0f);
  gpu::ScopedResolution at(4, 4);
  gpu::full_quad();
  std::vector<float> px = read_texture(b.texture(), 4, 4, GL_RGBA, 4);
  EXPECT_NEAR(px[0], 3.5f, 1e-3);
  EXPECT_NEAR(px[1], -2.0f, 1e-3);
  EXPECT_NEAR(px[2], 0.25f, 1e-3);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
}

TEST(CanvasBuffers, FormatsAndSizesFollowTheCanvas) {
  gl_canvas(161, 91);  // odd sides: the solver sizes truncate
  const gpu::CanvasBuffers& b = gpu::canvas_buffers;
  const struct {
    const gpu::Buffer* buffer;
    GLint format;
    int w, h;
  } cases[] = {
      {&b.view_image, GL_RGBA16F, 161, 91},   {&b.canvas_height, GL_R32F, 161, 91},
      {&b.velocity[2], GL_RG32F, 161, 91},    {&b.warp_uv, GL_RG32F, 161, 91},
      {&b.glow_a, GL_RGBA16F, 16, 9},         {&b.hq_target, GL_RGBA16F, 322, 182},
      {&b.solver[0], GL_R32F, 80, 45},        {&b.solver[1], GL_R32F, 80, 45},
      {&b.half_image, GL_RGBA16F, 80, 45},    {&b.lasso_fill, GL_R16, 161, 91},
      {&b.mat_copy, GL_R32F, 161, 91},        {&b.wetness, GL_RGBA16F, 161, 91},
      {&b.mask_snapshot_mat, GL_R32F, 161, 91}, {&b.screen_copy, GL_RGBA8, 161, 91},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(internal_format(c.buffer->texture()), c.format);
    EXPECT_EQ(c.buffer->width(), c.w);
    EXPECT_EQ(c.buffer->height(), c.h);
  }
  ASSERT_NE(layers.active, nullptr);
  EXPECT_EQ(internal_format(layers.active->fbo_col()), GL_RGBA16F);
  EXPECT_EQ(internal_format(layers.active->fbo_mat()), GL_R32F);
  EXPECT_EQ(b.readback.size(), size_t(161) * 91 * 4);
}

TEST(CanvasBuffers, NewCanvasStartsDryEmptyAndInThePaintColour) {
  gl_canvas(32, 18);
  std::vector<float> wet = read_texture(gpu::canvas_buffers.wetness.texture(), 32, 18, GL_RGBA, 4);
  std::vector<float> mat = read_texture(layers.active->fbo_mat(), 32, 18, GL_RED, 1);
  std::vector<float> col = read_texture(layers.active->fbo_col(), 32, 18, GL_RGBA, 4);
  for (size_t i = 0; i < wet.size(); i += 4) {
    ASSERT_EQ(wet[i], 0);
    ASSERT_EQ(wet[i + 3], 1);
  }
  EXPECT_TRUE(std::all_of(mat.begin(), mat.end(), [](float v) { return v == 0; }));
  for (size_t i = 0; i < col.size(); i += 4) {
    ASSERT_NEAR(col[i], 0.25f, 1e-3);
    ASSERT_NEAR(col[i + 1], 0.1f, 1e-3);
    ASSERT_NEAR(col[i + 2], 0.05f, 1e-3);
    ASSERT_EQ(col[i + 3], 1);
  }
  EXPECT_EQ(layers.list.size(), 1u);
  EXPECT_TRUE(gpu::canvas_buffers.canvas_texture_dirty);
}

TEST(RegionQuad, CornersWidenWithMotionAndFallBackToFullQuad) {
  gpu::set_canvas_size(1280, 720);
  gpu::QuadCorners q = gpu::region_quad_corners(100, 200, 4, 0, 0);  // radius acts as 10
  EXPECT_FALSE(q.full);
  EXPECT_FLOAT_EQ(q.pos[0][0], 90);
  EXPECT_FLOAT_EQ(q.pos[0][1], 190);
  EXPECT_FLOAT_EQ(q.pos[2][0], 110);
  EXPECT_FLOAT_EQ(q.pos[2][1], 210);
  EXPECT_FLOAT_EQ(q.uv[0][0], 90.0f / 1280);
  EXPECT_FLOAT_EQ(q.uv[0][1], 1 - 190.0f / 720);

  // moving 0.01 texture units right shifts the square back by half a step and widens it
  q = gpu::region_quad_corners(640, 360, 50, 0.01f, 0);
  float ox = 0.01f * 1280 * 0.5f;
  EXPECT_NEAR(q.pos[0][0], 640 - (50 + 2 * ox) - ox, 1e-3);
  EXPECT_NEAR(q.pos[2][0], 640 + (50 + 2 * ox) - ox, 1e-3);

  q = gpu::region_quad_corners(640, 360, 721, 0, 0);
  EXPECT_TRUE(q.full);
  EXPECT_FLOAT_EQ(q.pos[2][0], 1280);
  EXPECT_FLOAT_EQ(q.uv[0][1], 1);
}

TEST(Kernels, NineTapsAreSymmetricAndNormalised) {
  float k[9];
  gpu::nine_tap_kernel(k, 4);
  float sum = 0;
  for (float v : k) sum += v;
  EXPECT_NEAR(sum, 1, 1e-6);
  for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(k[i], k[8 - i]);
  for (int i = 0; i < 4; ++i) EXPECT_LT(k[i], k[i + 1]);
  float one[8];
  gpu::one_sided_kernel(one, 8, 4);
  EXPECT_NEAR(one[0], 1 / std::sqrt(2 * 3.14159265f * 4), 1e-6);
  EXPECT_NEAR(one[2] / one[0], std::exp(-4.0f / 8), 1e-5);
}

TEST(ProgramCatalogue, MatchesTheShaderFiles) {
  namespace fs = std::filesystem;
  std::set<std::string> rows;
  for (size_t i = 0; i < gpu::program_count; ++i) {
    const gpu::ProgramRow& p = gpu::program_table[i];
    EXPECT_EQ(size_t(p.id), i) << p.name;
    rows.insert(p.name);
    std::string source = std::string(gpu::shader_source(std::string(p.name) + ".frag"));
    ASSERT_FALSE(source.empty()) << p.name << ".frag is not embedded";
    source += gpu::shader_source(gpu::vertex_stage_file(p.vertex));
    std::istringstream names(std::string(p.samplers) + " " + p.uniforms);
    std::string item;
    while (names >> item) {
      std::string name = item.substr(0, item.find(':'));
      EXPECT_NE(source.find(" " + name), std::string::npos) << p.name << " does not declare " << name;
    }
  }
  for (const auto& entry : fs::directory_iterator(fs::path(OLLAN_SOURCE_DIR) / "gpu" / "shaders")) {
    if (entry.path().extension() != ".frag") continue;
    EXPECT_TRUE(rows.count(entry.path().stem().string())) << entry.path() << " has no catalogue row";
  }
}

TEST_F(GlTest, EveryProgramIsLinked) {
  for (size_t i = 0; i < gpu::program_count; ++i) {
    const gpu::Program& p = gpu::program(gpu::Prog(i));
    GLint linked = 0;
    ASSERT_NE(p.id(), 0u) << gpu::program_table[i].name;
    glGetProgramiv(p.id(), GL_LINK_STATUS, &linked);
    EXPECT_TRUE(linked) << gpu::program_table[i].name;
  }
}
