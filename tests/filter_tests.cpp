#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "gpu/geometry.h"
#include "gpu/kernels.h"
#include "gpu/programs.h"
#include "tests/gl_fixture.h"
#include "tests/layer_paint.h"

namespace {

constexpr int S = 32;

// Runs `p` over the full quad of an S x S target cleared to `clear`, after
// `setup` has set uniforms and bound inputs; returns the target.
Picture run(gpu::Prog p, const std::function<void(const gpu::Program&)>& setup,
            std::array<float, 4> clear = {0, 0, 0, 0}) {
  gpu::Buffer target = gpu::Buffer::create(S, S, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
  target.bind_target();
  glClearColor(clear[0], clear[1], clear[2], clear[3]);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  gpu::ScopedResolution at(S, S);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  glColor4f(1, 1, 1, 1);
  const gpu::Program& prog = gpu::program(p).use();
  setup(prog);
  target.bind_target();
  gpu::full_quad();
  glUseProgram(0);
  glEnable(GL_ALPHA_TEST);
  glEnable(GL_BLEND);
  return read_picture(target);
}

gpu::Buffer input(std::function<std::array<float, 4>(int x, int y)> f, GLenum wrap = GL_CLAMP_TO_EDGE) {
  std::vector<float> px(size_t(S) * S * 4);
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x) {
      auto c = f(x, y);
      for (int k = 0; k < 4; ++k) px[(size_t(S - 1 - y) * S + size_t(x)) * 4 + size_t(k)] = c[size_t(k)];
    }
  gpu::Buffer b = gpu::Buffer::create(S, S, GL_RGBA16F, GL_RGBA, wrap);
  glBindTexture(GL_TEXTURE_2D, b.texture());
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, S, S, GL_RGBA, GL_FLOAT, px.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  return b;
}

}  // namespace

TEST_F(GlTest, NineTapBlursSpreadAlongTheirAxisOnly) {
  gpu::Buffer dot = input([](int x, int y) {
    float v = (x == 16 && y == 16) ? 1.0f : 0.25f;
    return std::array<float, 4>{v, v, v, 1};
  });
  for (gpu::Prog p : {gpu::Prog::blur9_h, gpu::Prog::blur9_v}) {
    Picture out = run(p, [&](const gpu::Program& prog) {
      float k[9];
      gpu::nine_tap_kernel(k, 4);
      prog.set("offset", 1.0f / S).set("kcenter", k[4]).set("kernel", k[0], k[1], k[2], k[3]);
      gpu::bind_texture(0, dot.texture());
    });
    const bool h = p == gpu::Prog::blur9_h;
    EXPECT_NEAR(out.at(3, 3)[0], 0.25f, 1e-3f) << "a flat region stays flat";
    EXPECT_LT(out.at(16, 16)[0], 0.9f) << "the dot spreads";
    EXPECT_GT(out.at(h ? 19 : 16, h ? 16 : 19)[0], 0.26f) << "along the axis";
    EXPECT_NEAR(out.at(h ? 16 : 19, h ? 19 : 16)[0], 0.25f, 1e-3f) << "not across it";
  }
}

TEST_F(GlTest, ClampToCircleRepeatsTheEdgeOutside) {
  gpu::Buffer ramp = input([](int x, int y) { return std::array<float, 4>{float(x) / S, float(y) / S, 0, 1}; });
  Picture out = run(gpu::Prog::clamp_to_circle, [&](const gpu::Program& p) {
    p.set("center", 0.5f, 0.5f).set("radius", 0.25f).set("ratio", 1.0f);
    gpu::bind_texture(0, ramp.texture());
  });
  EXPECT_NEAR(out.at(17, 16)[0], 17.0f / S, 0.02f) << "inside: unchanged";
  // Straight right of the centre, everything beyond the radius shows the edge.
  EXPECT_NEAR(out.at(26, 16)[0], out.at(30, 16)[0], 1e-3f);
  EXPECT_NEAR(out.at(30, 16)[0], 0.75f, 0.04f);
}

TEST_F(GlTest, PanelProgramsDiscardOutsideTheShape) {
  gpu::Buffer shape = input([](int x, int) { return std::array<float, 4>{0, 0, 1, x < 16 ? 0.005f : 1.0f}; });
  Picture normals = run(gpu::Prog::alpha_to_normal,
                        [&](const gpu::Program& p) {
                          p.set("offset", 1.0f / S, 1.0f / S);
                          gpu::bind_texture(0, shape.texture());
                        },
                        {0.5f, 0.5f, 0.5f, 0.5f});
  EXPECT_EQ(normals.at(5, 16)[3], 0.5f) << "below 0.01 alpha: discarded";
  EXPECT_NEAR(normals.at(26, 16)[2], 1, 1e-3f) << "flat inside: facing the viewer";
  EXPECT_NEAR(normals.at(26, 16)[3], 1, 1e-3f);

  gpu::Buffer nrm = input([](int x, int) { return std::array<float, 4>{0, 0, 1, x < 16 ? 0.2f : 0.9f}; });
  gpu::Buffer behind = input([](int, int) { return std::array<float, 4>{0.2f, 0.6f, 0.3f, 1}; });
  Picture glass = run(
      gpu::Prog::glass,
      [&](const gpu::Program& p) {
        p.set("ri", 0.9f).set("ratio", 1.0f).set("specular", 0.0f).set("transparency", 1.0f);
        p.set("wh_relative", 0.5f, 0.5f).set("eye", 0.5f, 0.5f).set("pos", 0.25f, 0.25f).set("lpos", 0.5f, 0.5f, 2.0f);
        gpu::bind_texture(0, nrm.texture());
        gpu::bind_texture(1, behind.texture());
      },
      {1, 0, 1, 0});
  EXPECT_EQ(glass.at(5, 16)[0], 1) << "normal alpha below 0.25: discarded";
  EXPECT_GT(glass.at(26, 16)[1], glass.at(26, 16)[0]) << "the picture behind shows through";
}

TEST_F(GlTest, ColourWheelHasItsRingsAndNothingOutside) {
  Picture wheel = run(gpu::Prog::color_wheel, [](const gpu::Program& p) {
    p.set("midpoint", 1.0f).set("gamma", 0.0f).set("alpha", 1.0f);
    glColor4f(0.9f, 0.2f, 0.1f, 0.5f);
  });
  EXPECT_EQ(wheel.at(0, 0)[3], 0) << "outside the disc";
  auto centre = wheel.at(16, 16);
  EXPECT_NEAR(centre[0], centre[2], 0.1f) << "white towards the centre";
  EXPECT_GT(wheel.at(16, 16)[3], 0.9f);
  // Hue ring: red at angle 0 (right), not at the opposite side.
  EXPECT_GT(wheel.at(21, 16)[0], wheel.at(11, 16)[0]);
}

TEST_F(GlTest, HeightExportPrograms) {
  gpu::Buffer amount = input([](int x, int) { return std::array<float, 4>{x < 16 ? 0.0f : 2.5f, 0, 0, 1}; });
  gpu::Buffer height = input([](int, int) { return std::array<float, 4>{0.3f, 0, 0, 1}; });
  Picture excess = run(gpu::Prog::mat_excess, [&](const gpu::Program&) { gpu::bind_texture(0, amount.texture()); });
  EXPECT_NEAR(excess.at(26, 16)[0], 1.5f, 1e-3f);
  EXPECT_NEAR(excess.at(5, 16)[3], 0, 1e-3f);
  Picture with_height = run(gpu::Prog::mat_with_height, [&](const gpu::Program&) {
    gpu::bind_texture(0, amount.texture());
    gpu::bind_texture(1, height.texture());
  });
  EXPECT_NEAR(with_height.at(5, 16)[0], 0.3f, 1e-3f) << "bare canvas: its height";
  EXPECT_NEAR(with_height.at(26, 16)[0], 2.5f, 1e-3f) << "paint: its amount";
}

TEST_F(GlTest, FilteredWarpLookupOfTheIdentityKeepsThePicture) {
  gpu::Buffer picture = input([](int x, int y) {
    return std::array<float, 4>{float(x % 7) / 7, float(y) / S, 0.5f, 1};
  });
  gpu::Buffer identity = input([](int x, int y) {
    return std::array<float, 4>{(float(x) + 0.5f) / S, (float(S - 1 - y) + 0.5f) / S, 0, 1};
  });
  Picture out = run(gpu::Prog::uv_lookup_filtered, [&](const gpu::Program& p) {
    p.set("offset", 1.0f / S, 1.0f / S);
    gpu::bind_texture(0, picture.texture());
    gpu::bind_texture(1, identity.texture());
  });
  Picture in = read_picture(picture);
  EXPECT_LT(out.max_diff(in, 0, 0, S, S), 2e-3f);
}

// Where the warp map squeezes the picture the lookup averages the picture
// over what the pixel covers: one-pixel stripes squeezed threefold come out
// grey instead of aliasing; a plain colour squeezed by any factor keeps its
// value (the average divides by the samples it took).
TEST_F(GlTest, FilteredWarpLookupAveragesWhereTheMapSqueezes) {
  const struct {
    float squeeze;
    bool stripes;
    float expect, tolerance;
  } cases[] = {{3, true, 0.5f, 0.15f}, {6.25f, false, 0.8f, 0.01f}, {9.3f, false, 0.8f, 0.01f}};
  for (const auto& c : cases) {
    gpu::Buffer picture = input([&](int x, int) {
      const float v = c.stripes ? float(x % 2) : 0.8f;
      return std::array<float, 4>{v, v, v, 1};
    });
    // Squeezed about the centre: the map reaches c.squeeze times as far.
    gpu::Buffer map = input([&](int x, int y) {
      const float u = (float(x) + 0.5f) / S, v = (float(S - 1 - y) + 0.5f) / S;
      return std::array<float, 4>{0.5f + (u - 0.5f) * c.squeeze, 0.5f + (v - 0.5f) * c.squeeze, 0, 1};
    });
    Picture out = run(gpu::Prog::uv_lookup_filtered, [&](const gpu::Program& p) {
      p.set("offset", 0.5f / S, 0.5f / S);
      gpu::bind_texture(0, picture.texture());
      gpu::bind_texture(1, map.texture());
    });
    // Stripes: only pixels whose footprint maps inside the picture; a plain
    // colour is the same everywhere the clamped lookups land.
    const int lo = c.stripes ? S / 2 - int(float(S) / (2 * c.squeeze)) + 2 : 2, hi = S - lo;
    ASSERT_LT(lo, hi);
    for (int y = lo; y < hi; ++y)
      for (int x = lo; x < hi; ++x)
        ASSERT_NEAR(out.at(x, y)[0], c.expect, c.tolerance) << "squeeze " << c.squeeze << " at " << x << ", " << y;
  }
}
