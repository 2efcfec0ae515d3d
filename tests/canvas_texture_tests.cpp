#include <gtest/gtest.h>

#include <cmath>

#include "gpu/canvas_buffers.h"
#include "gpu/canvas_presets.h"
#include "gpu/canvas_texture.h"
#include "gpu/colour_normalise.h"
#include "gpu/display_settings.h"
#include "gpu/selection_mask.h"
#include "layers/layer.h"
#include "tests/gl_fixture.h"
#include "tests/layer_paint.h"

namespace {

constexpr int W = 160, H = 90;

Picture normals() {
  return read_picture(gpu::canvas_buffers.canvas_normals);
}

// A soft bump in the loaded canvas picture.
void load_canvas_picture() {
  for (int r = 30; r > 0; r -= 3) {
    float v = 1.0f - float(r) / 30.0f;
    fill_rect(gpu::canvas_buffers.canvas_source, 80.0f - float(r), 45.0f - float(r), 80.0f + float(r), 45.0f + float(r),
              {v, 0, 0, 1});
  }
}

}  // namespace

TEST(CanvasTexture, StrengthZeroGivesFlatNormals) {
  gl_canvas(W, H);
  reset_display(false, false);
  gpu::canvas_settings.strength = 0;
  gpu::build_canvas_texture();
  EXPECT_FALSE(gpu::canvas_buffers.canvas_texture_dirty);
  Picture n = normals();
  for (int y = 0; y < H; y += 3)
    for (int x = 0; x < W; x += 3) {
      auto v = n.at(x, y);
      ASSERT_EQ(v[0], 0);
      ASSERT_EQ(v[1], 0);
      ASSERT_EQ(v[2], 1);
      ASSERT_EQ(v[3], 0);
    }
  // The bare canvas is then evenly lit.
  Picture lit = read_picture(gpu::canvas_buffers.canvas_image);
  EXPECT_NEAR(lit.at(10, 10)[0], lit.at(150, 10)[0], 0.02f);
}

TEST(CanvasTexture, InvertNegatesTheSlopesOfEveryMode) {
  gl_canvas(W, H);
  for (unsigned char mode : {0, 1, 2}) {
    reset_display(false, false);
    gpu::canvas_settings.mode = mode;
    if (mode == 2) load_canvas_picture();
    gpu::build_canvas_texture();
    Picture plain = normals();
    gpu::canvas_settings.inv = 1;
    gpu::build_canvas_texture();
    Picture inverted = normals();
    float slope = 0;
    for (int y = 2; y < H - 2; ++y)
      for (int x = 2; x < W - 2; ++x) {
        auto a = plain.at(x, y), b = inverted.at(x, y);
        slope = std::max(slope, std::fabs(a[0]) + std::fabs(a[1]));
        ASSERT_NEAR(a[0], -b[0], 2e-3f) << int(mode) << " at " << x << "," << y;
        ASSERT_NEAR(a[1], -b[1], 2e-3f) << int(mode) << " at " << x << "," << y;
        ASSERT_NEAR(a[2], b[2], 2e-3f) << int(mode) << " at " << x << "," << y;
        ASSERT_GT(a[2], 0) << "normals face the viewer";
      }
    EXPECT_GT(slope, 0.05f) << "mode " << int(mode) << " has relief";
  }
}

TEST(CanvasTexture, HiddenCanvasIsThePaperColour) {
  gl_canvas(W, H);
  reset_display(false, false);
  gpu::canvas_settings.show = 0;
  gpu::build_canvas_texture();
  auto c = read_picture(gpu::canvas_buffers.canvas_image).at(50, 50);
  EXPECT_NEAR(c[0], gpu::display_settings.paper[0], 1e-3f);
  EXPECT_NEAR(c[1], gpu::display_settings.paper[1], 1e-3f);
  EXPECT_NEAR(c[2], gpu::display_settings.paper[2], 1e-3f);
}

TEST(ColourNormalise, RangeOfPaintedPixels) {
  const struct {
    std::vector<float> px;
    float gain, black;
  } cases[] = {
      // the darkest length becomes 0, the brightest the length of white
      {{0.2f, 0.2f, 0.2f, 1, 0.4f, 0.4f, 0.4f, 1}, 1 / 0.2f, 0.34641f},
      {{0, 0, 0, 1, 1, 1, 1, 1}, 1, 0},           // already the full range
      {{0.5f, 0.5f, 0.5f, 1, 9, 9, 9, 0}, 1, 0},  // one shade; the unpainted pixel does not count
      {{0, 0, 0, 0, 0, 0, 0, 0}, 1, 0},           // nothing painted
      {{2, 2, 2, 1, 3, 3, 3, 1}, 1, 3.4641f},     // bright paint is brought down
      {{0.1f, 0, 0, 1, 0.9f, 0.9f, 0.9f, 1}, 1.7320508f / (1.5588457f - 0.1f), 0.1f},
  };
  for (const auto& c : cases) {
    gpu::ColourRange r = gpu::painted_range(c.px.data(), 2, 1);
    EXPECT_NEAR(r.gain, c.gain, 1e-3f * c.gain);
    EXPECT_NEAR(r.black_point, c.black, 1e-4f);
    EXPECT_GT(r.gain, 0) << "never inverts";
  }
}

TEST(ColourNormalise, StretchesALayerToTheFullRange) {
  gl_canvas(W, H);
  layer& l = *layers.active;
  fill_rect(l.col, 0, 0, 80, H, {0.3f, 0.3f, 0.3f, 1});
  fill_rect(l.col, 80, 0, W, H, {0.5f, 0.5f, 0.5f, 1});
  gpu::normalise_colours(l.col);
  Picture p = read_picture(l.col);
  EXPECT_LT(p.at(10, 45)[0], 0.05f);
  EXPECT_GT(p.at(150, 45)[0], 0.95f);
}

TEST(SelectionMask, SnapshotRestoresInsideTheMaskOnly) {
  gl_canvas(W, H);
  layer& l = *layers.active;
  fill_rect(l.mat, 0, 0, W, H, {1, 0, 0, 1});
  gpu::take_mask_snapshot(l.col, l.mat);
  fill_rect(gpu::canvas_buffers.mask, 0, 0, 80, H, {1, 1, 1, 1});
  fill_rect(gpu::canvas_buffers.mask, 80, 0, W, H, {0, 0, 0, 0});
  fill_rect(l.mat, 0, 0, W, H, {3, 0, 0, 1});  // painting after the mask was made
  gpu::restore_mask_snapshot(l.col, l.mat);
  std::vector<float> m = read_red(l.fbo_mat(), W, H);
  EXPECT_NEAR(m[45 * W + 20], 1, 1e-3f);
  EXPECT_NEAR(m[45 * W + 140], 3, 1e-3f);

  gpu::invert_mask();
  Picture mask = read_picture(gpu::canvas_buffers.mask);
  EXPECT_LT(mask.at(20, 45)[3], 0.01f);
  EXPECT_GT(mask.at(140, 45)[3], 0.99f);

  fill_rect(l.mat, 0, 0, W, H, {0, 0, 0, 1});
  fill_rect(l.mat, 30, 30, 60, 60, {0.5f, 0, 0, 1});
  gpu::mask_from_paint(l.mat, 1);
  mask = read_picture(gpu::canvas_buffers.mask);
  EXPECT_GT(mask.at(45, 45)[3], 0.2f);
  EXPECT_LT(mask.at(100, 45)[3], 0.01f);
}

// A new canvas record starts as noise with the record's own values; the
// program itself starts on the current canvas preset, the weave.
TEST(CanvasRecord, NewRecordsAndTheStartCanvas) {
  const gpu::canvas fresh;
  EXPECT_EQ(fresh.mode, 0);
  EXPECT_EQ(fresh.inv, 0);
  EXPECT_FLOAT_EQ(fresh.strength, 0.5f);
  EXPECT_FLOAT_EQ(fresh.bias, 0.75f);
  EXPECT_FLOAT_EQ(fresh.density, 0.1f);
  EXPECT_FLOAT_EQ(fresh.stretch, 0);
  const gpu::CanvasPresets presets;
  const gpu::canvas& current = presets.presets[presets.current];
  const gpu::canvas& start = gpu::start_canvas;
  EXPECT_EQ(start.mode, current.mode);
  EXPECT_EQ(start.inv, current.inv);
  EXPECT_FLOAT_EQ(start.strength, current.strength);
  EXPECT_FLOAT_EQ(start.size, current.size);
  EXPECT_FLOAT_EQ(start.bias, current.bias);
  EXPECT_FLOAT_EQ(start.density, current.density);
  EXPECT_FLOAT_EQ(start.stretch, current.stretch);
}
