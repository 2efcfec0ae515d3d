#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gpu/buffer.h"
#include "gpu/deposit.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "tests/gl_fixture.h"

namespace {

constexpr int N = 64;  // side of the test targets

class DepositTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    target = gpu::Buffer::create(N, N, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
  }
  // Clears the target to `clear`, then draws one N x N quad with the bound
  // program, blending off; texture coordinates (u, v, u, 1 - v) with v = 1 at
  // the top row of the picture.
  std::vector<float> draw(float clear = 0) {
    target.bind_target();
    gpu::set_projection(N, N);
    glClearColor(clear, clear, clear, clear);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glBegin(GL_QUADS);
    const float c[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& p : c) {
      glTexCoord4f(p[0], 1 - p[1], p[0], p[1]);
      glVertex2f(p[0] * N, p[1] * N);
    }
    glEnd();
    glEnable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    glUseProgram(0);
    gpu::set_projection(gpu::geometry.width, gpu::geometry.height);
    return read_texture(target.texture(), N, N, GL_RGBA, 4);
  }
  // Pixel (x, y) of a read-back, y counted from the top.
  static const float* at(const std::vector<float>& px, int x, int y) { return &px[(size_t(N - 1 - y) * N + x) * 4]; }

  gpu::Buffer target;
};

gpu::Texture texture_from(const std::vector<float>& rgba, int w, int h) {
  gpu::Texture t = gpu::Texture::create(w, h, GL_RGBA32F, GL_RGBA, GL_CLAMP_TO_EDGE, false);
  glBindTexture(GL_TEXTURE_2D, t.id());
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGBA, GL_FLOAT, rgba.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glBindTexture(GL_TEXTURE_2D, 0);
  return t;
}

gpu::Texture constant_texture(float v) {
  return texture_from(std::vector<float>(size_t(N) * N * 4, v), N, N);
}

}  // namespace

TEST_F(DepositTest, FootprintsAreRoundOpaqueInsideAndEmptyOnTheRim) {
  const struct {
    gpu::Prog prog;
    float falloff;
  } cases[] = {{gpu::Prog::dab_soft, 0}, {gpu::Prog::dab_soft, 0.5f}, {gpu::Prog::dab_soft, 1},
               {gpu::Prog::dab_soft, 3}, {gpu::Prog::dab_pow, 0},     {gpu::Prog::dab_pow, 2},
               {gpu::Prog::dab_uv, 0.5f}};
  for (const auto& c : cases) {
    const gpu::Program& p = gpu::program(c.prog).use().set("falloff", c.falloff);
    if (c.prog == gpu::Prog::dab_uv) p.set("uv_coords", 0, 0, 1, 1);
    glColor4f(0.2f, 0.4f, 0.6f, 0.8f);
    const std::vector<float> px = draw();
    const float* centre = at(px, N / 2, N / 2);
    EXPECT_NEAR(centre[3], 0.8f, 0.05f) << gpu::program_table[int(c.prog)].name << " " << c.falloff;
    EXPECT_NEAR(centre[2], 0.6f, 0.01f);
    for (const float* corner : {at(px, 0, 0), at(px, N - 1, N - 1), at(px, N - 1, 0), at(px, 0, N - 1)})
      EXPECT_EQ(corner[3], 0.0f) << gpu::program_table[int(c.prog)].name;
    for (float v : px) ASSERT_TRUE(std::isfinite(v));
    // Coverage falls from the centre outwards.
    EXPECT_GE(at(px, N / 2, N / 2)[3], at(px, N / 2 + 20, N / 2)[3]);
  }
}

TEST_F(DepositTest, DabUvFillsOnlyItsSubRectangle) {
  gpu::program(gpu::Prog::dab_uv).use().set("falloff", 0.5f).set("uv_coords", 0.5f, 0.5f, 1, 1);
  glColor4f(1, 1, 1, 1);
  const std::vector<float> px = draw();
  EXPECT_GT(at(px, 3 * N / 4, N / 4)[3], 0.9f);  // centre of the upper right quarter (v up)
  EXPECT_EQ(at(px, N / 4, 3 * N / 4)[3], 0.0f);
  EXPECT_EQ(at(px, N / 2, N / 2)[3], 0.0f);
}

TEST_F(DepositTest, GrainCatchActsOnlyOnMovingBrushesOverThinPaint) {
  // Grain: a sawtooth across x, so some places rise against the motion.
  std::vector<float> grain(size_t(N) * N * 4);
  for (int y = 0; y < N; ++y)
    for (int x = 0; x < N; ++x) grain[(size_t(y) * N + x) * 4] = float(x % 4) * 0.01f;
  gpu::Texture can = texture_from(grain, N, N);
  const struct {
    float velo, paint;
    bool grain_shows;
  } cases[] = {{0, 0, false}, {0, 2, false}, {2.0f / N, 0, true}, {2.0f / N, 5, false}, {2.0f / N, 12, false}};
  for (const auto& c : cases) {
    gpu::Texture mat = constant_texture(c.paint);
    gpu::program(gpu::Prog::grain_catch).use().set("offset", 1.0f / N, 1.0f / N).set("velo", c.velo, 0);
    gpu::bind_texture(0, can.id());
    gpu::bind_texture(1, mat.id());
    glColor4f(1, 1, 1, 0.7f);
    const std::vector<float> px = draw();
    gpu::bind_texture(1, 0);
    gpu::bind_texture(0, 0);
    float lo = 1, hi = 0;
    for (size_t i = 3; i < px.size(); i += 4) {
      lo = std::min(lo, px[i]);
      hi = std::max(hi, px[i]);
    }
    if (c.grain_shows) {
      EXPECT_LT(lo, 0.3f) << c.velo << " " << c.paint;
      EXPECT_GT(hi, 0.5f);
    } else {
      EXPECT_NEAR(lo, 0.7f, 0.002f) << c.velo << " " << c.paint;
      EXPECT_NEAR(hi, 0.7f, 0.002f) << c.velo << " " << c.paint;
    }
  }
}

TEST_F(DepositTest, QuadWarpMapsAParallelogramLinearlyAndDiscardsOutside) {
  // Picture: red = u, green = v over a 64 x 64 texture.
  std::vector<float> pic(size_t(N) * N * 4);
  for (int y = 0; y < N; ++y)
    for (int x = 0; x < N; ++x) {
      float* p = &pic[(size_t(y) * N + x) * 4];
      p[0] = (x + 0.5f) / N;
      p[1] = (y + 0.5f) / N;
      p[3] = 1;
    }
  gpu::Texture picture = texture_from(pic, N, N);
  glBindTexture(GL_TEXTURE_2D, picture.id());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glBindTexture(GL_TEXTURE_2D, 0);
  // A sheared parallelogram: a = origin, u runs along e1 (to d), v along e2 (to b).
  const float a[2] = {0.15f, 0.2f}, e1[2] = {0.6f, 0.1f}, e2[2] = {0.15f, 0.55f};
  const float pa[2] = {a[0], a[1]}, pb[2] = {a[0] + e2[0], a[1] + e2[1]};
  const float pc[2] = {pb[0] + e1[0], pb[1] + e1[1]}, pd[2] = {a[0] + e1[0], a[1] + e1[1]};
  const float xuv[4] = {0, 1, 0, 1};
  gpu::set_quad_warp(pa, pb, pc, pd, xuv);
  gpu::bind_texture(0, picture.id());
  const std::vector<float> px = draw(-1);
  gpu::bind_texture(0, 0);
  const float det = e1[0] * e2[1] - e1[1] * e2[0];
  int inside = 0, outside = 0;
  for (int y = 0; y < N; ++y)
    for (int x = 0; x < N; ++x) {
      // This pixel's quad coordinate; y is the row from the top.
      const float cx = (x + 0.5f) / N - a[0], cy = 1 - (y + 0.5f) / N - a[1];
      const float u = (cx * e2[1] - cy * e2[0]) / det, v = (e1[0] * cy - e1[1] * cx) / det;
      const float* p = at(px, x, y);
      const float margin = 0.04f;
      if (u > margin && u < 1 - margin && v > margin && v < 1 - margin) {
        ++inside;
        ASSERT_NEAR(p[0], u, 0.03f) << x << "," << y;
        ASSERT_NEAR(p[1], v, 0.03f) << x << "," << y;
      } else if (u < -margin || u > 1 + margin || v < -margin || v > 1 + margin) {
        ++outside;
        ASSERT_EQ(p[3], -1.0f) << "drawn outside the quad at " << x << "," << y;
      }
    }
  EXPECT_GT(inside, 500);
  EXPECT_GT(outside, 500);
}

TEST_F(DepositTest, PerspectiveMapPlacesThePictureCornersAtTheQuadCorners) {
  std::vector<float> pic(size_t(N) * N * 4);
  for (int y = 0; y < N; ++y)
    for (int x = 0; x < N; ++x) {
      float* p = &pic[(size_t(y) * N + x) * 4];
      p[0] = (x + 0.5f) / N;
      p[1] = (y + 0.5f) / N;
      p[3] = 1;
    }
  gpu::Texture picture = texture_from(pic, N, N);
  for (int perspective : {0, 1}) {
    gpu::program(gpu::Prog::perspective_map)
        .use()
        .set("pa", 0.1f, 0.1f)
        .set("pb", 0.1f, 0.9f)
        .set("pc", 0.9f, 0.9f)
        .set("pd", 0.9f, 0.1f)
        .set_int("perspective", perspective);
    gpu::bind_texture(0, picture.id());
    const std::vector<float> px = draw();
    gpu::bind_texture(0, 0);
    // With a square quad both modes are the plain bilinear placement:
    // (h, k) = (0, 0) reads pb, (1, 1) reads pd.
    const float* first = at(px, 0, N - 1);
    const float* last = at(px, N - 1, 0);
    EXPECT_NEAR(first[0], 0.1f, 0.03f);
    EXPECT_NEAR(first[1], 0.9f, 0.03f);
    EXPECT_NEAR(last[0], 0.9f, 0.03f);
    EXPECT_NEAR(last[1], 0.1f, 0.03f);
  }
}

TEST_F(DepositTest, PickUpProgramsFadeTowardsTheRim) {
  gpu::Texture paint = constant_texture(3);
  const struct {
    gpu::Prog prog;
    float radial;
    float centre_alpha, rim_alpha;
  } cases[] = {{gpu::Prog::mat_to_alpha_radial, 0, 1, 1},
               {gpu::Prog::mat_to_alpha_radial, 0.5f, 1, 0},
               {gpu::Prog::mat_boost_radial, 0.5f, 1, 0}};
  for (const auto& c : cases) {
    gpu::program(c.prog).use().set("radial", c.radial);
    gpu::bind_texture(0, paint.id());
    glColor4f(1, 1, 1, 1);
    const std::vector<float> px = draw();
    gpu::bind_texture(0, 0);
    EXPECT_NEAR(at(px, N / 2, N / 2)[3], c.centre_alpha, 0.01f);
    EXPECT_NEAR(at(px, 0, 0)[3], c.rim_alpha, 0.01f);
    if (c.prog == gpu::Prog::mat_boost_radial) {
      EXPECT_GT(at(px, N / 2, N / 2)[0], 1.0f);
    }
  }
}

TEST_F(DepositTest, BristleMasksMakeStreaksThatFadeAtTheEdges) {
  for (gpu::Prog prog : {gpu::Prog::bristle_noise, gpu::Prog::bristle_noise_gray}) {
    gpu::program(prog).use().set("size", 8.0f).set("brisize", 1.1f).set("brisize_cmp", 3.0f);
    glColor4f(1, 1, 1, 1);
    const std::vector<float> px = draw();
    float lo = 1, hi = 0;
    for (size_t i = 3; i < px.size(); i += 4) {
      ASSERT_GE(px[i], 0.0f);
      ASSERT_LE(px[i], 1.0f);
      lo = std::min(lo, px[i]);
      hi = std::max(hi, px[i]);
    }
    EXPECT_GT(hi - lo, 0.5f) << gpu::program_table[int(prog)].name;
    for (int x = 0; x < N; ++x) EXPECT_LT(at(px, x, 0)[3], 0.1f);  // v = 1 edge
  }
}

TEST_F(DepositTest, AreaToolsBlurOrSharpenInsideTheDiscOnly) {
  gl_canvas(N, N);
  gpu::Buffer col = gpu::Buffer::create(N, N, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
  gpu::Buffer mat = gpu::Buffer::create(N, N, GL_R32F, GL_RED, GL_CLAMP_TO_EDGE);
  gpu::Buffer scol = gpu::Buffer::create(N, N, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
  gpu::Buffer smat = gpu::Buffer::create(N, N, GL_R32F, GL_RED, GL_CLAMP_TO_EDGE);
  for (bool sharpen : {false, true}) {
    // Vertical stripes of 0 and 1 (4 pixels wide) in colour and amount.
    std::vector<float> stripes(size_t(N) * N * 4);
    for (int y = 0; y < N; ++y)
      for (int x = 0; x < N; ++x)
        for (int ch = 0; ch < 4; ++ch) stripes[(size_t(y) * N + x) * 4 + ch] = float((x / 4) % 2);
    glBindTexture(GL_TEXTURE_2D, col.texture());
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, N, N, GL_RGBA, GL_FLOAT, stripes.data());
    glBindTexture(GL_TEXTURE_2D, mat.texture());
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, N, N, GL_RGBA, GL_FLOAT, stripes.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    gpu::AreaTarget t{col.framebuffer(),  col.texture(),  mat.framebuffer(),  mat.texture(),
                      scol.framebuffer(), scol.texture(), smat.framebuffer(), smat.texture()};
    gpu::brush_area_tool(32, 32, 40, sharpen, t);
    const std::vector<float> m = read_texture(mat.texture(), N, N, GL_RED, 1);
    const std::vector<float> c = read_texture(col.texture(), N, N, GL_RGBA, 4);
    // Outside the disc nothing changes.
    for (int y : {2, 61})
      for (int x = 0; x < N; ++x) ASSERT_EQ(m[size_t(y) * N + x], float((x / 4) % 2));
    // At the centre the stripes' edges soften (blur) or overshoot (sharpen).
    const float edge_low = m[size_t(32) * N + 32], edge_high = m[size_t(32) * N + 31];
    if (!sharpen) {
      EXPECT_GT(edge_low, 0.05f);
      EXPECT_LT(edge_high, 0.95f);
      EXPECT_NEAR(c[(size_t(32) * N + 32) * 4], edge_low, 0.01f);
    } else {
      EXPECT_LT(edge_low, 0.01f);  // held at 0, not below
      EXPECT_GT(edge_high, 1.0f);
    }
  }
}

TEST(DepositChoice, ProgramFollowsGrainAndImage) {
  using gpu::Prog;
  const struct {
    bool grain, image, colour;
    float value;
    int channel;
    bool none;
    Prog prog;
    int mode;
  } cases[] = {
      {false, false, false, -1, 0, true, Prog::dab_soft, 0},
      {true, false, false, -1, 0, false, Prog::grain_catch, 0},
      {true, true, true, 0, 0, false, Prog::bristle_deposit, 2},
      {true, true, true, -1, 0, false, Prog::bristle_deposit, 0},
      {true, true, true, 0.5f, 0, false, Prog::bristle_deposit, 2},
      {true, true, false, -1, 0, false, Prog::bristle_deposit, 2},
      {true, true, false, 0, 0, false, Prog::bristle_deposit, 2},
      {false, true, true, 0, 0, false, Prog::image_deposit, 0},
      {false, true, false, 0, 0, false, Prog::image_deposit, 2},
      {false, true, true, 0, 1, false, Prog::image_deposit, 1},
  };
  for (const auto& c : cases) {
    gpu::DepositChoice in;
    in.canvas_grain = c.grain;
    in.image = c.image;
    in.image_has_colour = c.colour;
    in.deposit_value = c.value;
    in.channel = c.channel;
    const gpu::DepositProgram p = gpu::choose_deposit_program(in);
    EXPECT_EQ(p.none, c.none);
    if (!c.none) {
      EXPECT_EQ(p.prog, int(c.prog));
      EXPECT_EQ(p.mode, c.mode);
    }
  }
}

TEST_F(DepositTest, ImageProgramsCombineTheImageWithTheVertexColour) {
  // Image colour (0.5, 0.25, 2, 0.8), image amount 0.5 (clamped reads) or 3.
  std::vector<float> colour(size_t(N) * N * 4);
  for (size_t i = 0; i < colour.size(); i += 4) {
    colour[i] = 0.5f;
    colour[i + 1] = 0.25f;
    colour[i + 2] = 2;
    colour[i + 3] = 0.8f;
  }
  gpu::Texture col = texture_from(colour, N, N);
  gpu::Texture half = constant_texture(0.5f), thick = constant_texture(3);
  gpu::Texture flat = constant_texture(0);
  using gpu::Prog;
  const struct {
    Prog prog;
    int mode;
    GLuint unit0, unit1, unit2, unit3;
    float expected[4];
  } cases[] = {
      // image_deposit: units matbuffer 0, colbuffer 1.
      {Prog::image_deposit, 0, half.id(), col.id(), 0, 0, {0.5f, 0.25f, 2, 0.4f}},
      {Prog::image_deposit, 0, thick.id(), col.id(), 0, 0, {0.5f, 0.25f, 2, 0.8f}},
      {Prog::image_deposit, 1, half.id(), thick.id(), 0, 0, {1, 3, 3, 1}},
      {Prog::image_deposit, 2, half.id(), col.id(), 0, 0, {1, 1, 1, 0.5f}},
      // bristle_deposit without motion: canbuffer 0, matbuffer 1, colbuffer 2, alpbuffer 3.
      {Prog::bristle_deposit, 0, flat.id(), flat.id(), col.id(), half.id(), {0.5f, 0.25f, 2, 0.4f}},
      {Prog::bristle_deposit, 2, flat.id(), flat.id(), col.id(), thick.id(), {1, 1, 1, 1}},
      // dab_textured at the centre: matbuffer 0, colbuffer 1 (mode is colormode).
      {Prog::dab_textured, 1, half.id(), col.id(), 0, 0, {0.5f, 0.25f, 2, 0.4f}},
      {Prog::dab_textured, 0, half.id(), col.id(), 0, 0, {1, 1, 1, 0.5f}},
      // layer_composite_radial: matbuffer 0, colbuffer 1 (mode is premul).
      {Prog::layer_composite_radial, 0, half.id(), col.id(), 0, 0, {0.5f, 0.25f, 2, 0.5f}},
      {Prog::layer_composite_radial, 1, half.id(), col.id(), 0, 0, {0.25f, 0.125f, 1, 0.5f}},
  };
  for (const auto& c : cases) {
    const gpu::Program& p = gpu::program(c.prog).use();
    switch (c.prog) {
      case Prog::bristle_deposit: p.set_int("mode", c.mode).set("velo", 0, 0).set("offset", 1.0f / N, 1.0f / N); break;
      case Prog::dab_textured: p.set_int("colormode", c.mode).set("falloff", 0.0f); break;
      case Prog::layer_composite_radial: p.set_int("premul", c.mode).set("visibility", 1.0f).set("radial", 0.0f); break;
      default: p.set_int("mode", c.mode); break;
    }
    const GLuint units[4] = {c.unit0, c.unit1, c.unit2, c.unit3};
    for (int u = 0; u < 4; ++u) gpu::bind_texture(u, units[u]);
    glColor4f(1, 1, 1, 1);
    const std::vector<float> px = draw();
    for (int u = 3; u >= 0; --u) gpu::bind_texture(u, 0);
    const float* centre = at(px, N / 2, N / 2);
    for (int ch = 0; ch < 4; ++ch)
      EXPECT_NEAR(centre[ch], c.expected[ch], 0.01f)
          << gpu::program_table[int(c.prog)].name << " mode " << c.mode << " channel " << ch;
  }
}

TEST_F(DepositTest, AreaCopyDiscCopiesInsideTheDiscWithTheVertexAlpha) {
  gpu::Texture src = constant_texture(0.75f);
  gpu::program(gpu::Prog::area_copy_disc).use().set("area", 0, 1, 1, 1);
  gpu::bind_texture(0, src.id());
  glColor4f(1, 1, 1, 0.5f);
  const std::vector<float> px = draw(-1);
  gpu::bind_texture(0, 0);
  EXPECT_NEAR(at(px, N / 2, N / 2)[0], 0.75f, 0.01f);
  EXPECT_NEAR(at(px, N / 2, N / 2)[3], 0.375f, 0.01f);
  EXPECT_EQ(at(px, 0, 0)[0], -1.0f);  // discarded outside the disc
}
