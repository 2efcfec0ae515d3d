#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "gpu/selection_mask.h"
#include "layers/layer.h"
#include "layers/layer_stack.h"
#include "tests/gl_fixture.h"
#include "tests/layer_paint.h"

namespace {

constexpr int W = 160, H = 90;

// The first layer with its paint colour and no paint: only the canvas shows.
class Display : public ::testing::Test {
 protected:
  void SetUp() override {
    gl_canvas(W, H);
    reset_display(false, false);
  }
  layer& base() { return *layers.list.front(); }
  Picture view() { return read_picture(gpu::canvas_buffers.view_image); }
  Picture paint() { return read_picture(gpu::canvas_buffers.paint_image); }
};

}  // namespace

TEST_F(Display, NoPaintShowsTheCanvasUnchanged) {
  fill_rect(base().mat, 80, 0, 160, 90, {0.5f, 0, 0, 1});
  render();
  Picture canvas = read_picture(gpu::canvas_buffers.canvas_image);
  Picture shown = view();
  EXPECT_LT(shown.max_diff(canvas, 0, 0, 78, 90), 1e-3f);
  EXPECT_GT(shown.max_diff(canvas, 82, 0, 160, 90), 0.05f);
}

TEST_F(Display, ReliefAppearsOnlyAboveAFlatFilm) {
  // A step in paint amount at x = 80: the pixel just left of it sees the
  // slope. It looks as it does without the step unless the paint is thicker
  // than a flat film.
  const struct {
    float left, right;
    bool relief;
  } cases[] = {{0.5f, 1.0f, false}, {1.0f, 0.3f, false}, {1.5f, 3.0f, true}, {2.5f, 1.2f, true}};
  gpu::canvas_settings.strength = 0;  // no grain: slopes come from the paint alone
  fill_rect(base().col, 0, 0, W, H, {0.6f, 0.4f, 0.2f, 1});
  for (const auto& c : cases) {
    fill_rect(base().mat, 0, 0, W, H, {c.left, 0, 0, 1});
    render();
    auto even = paint().at(79, 45);
    fill_rect(base().mat, 80, 0, W, H, {c.right, 0, 0, 1});
    render();
    auto step = paint().at(79, 45);
    float d = std::fabs(step[0] - even[0]) + std::fabs(step[1] - even[1]) + std::fabs(step[2] - even[2]);
    if (c.relief)
      EXPECT_GT(d, 0.01f) << c.left << " -> " << c.right;
    else
      EXPECT_LT(d, 1e-3f) << c.left << " -> " << c.right;
  }
}

TEST_F(Display, OpacityScalesAndThresholdsThePaint) {
  const struct {
    float opacity, amount;
    bool visible;
  } cases[] = {{1, 0.3f, true}, {1, 1, true}, {0.5f, 0.8f, false}, {0.5f, 1.0f, false}, {0.5f, 1.6f, true}};
  for (const auto& c : cases) {
    base().opacity = c.opacity;
    fill_rect(base().mat, 0, 0, W, H, {c.amount, 0, 0, 1});
    render();
    Picture canvas = read_picture(gpu::canvas_buffers.canvas_image);
    float d = view().max_diff(canvas, 10, 10, 150, 80);
    if (c.visible)
      EXPECT_GT(d, 0.02f) << c.opacity << " " << c.amount;
    else
      EXPECT_LT(d, 1e-3f) << c.opacity << " " << c.amount;
  }
}

TEST_F(Display, BlendStylesCompositeAsNamed) {
  // An upper layer of half coverage over two different lower layers. Normal
  // paint at full coverage hides what is below; additive paint adds the same
  // light whatever is below; multiply scales what is below by the same factor.
  gpu::canvas_settings.strength = 0;  // the lower layer's grain must not depend on the upper one
  layer& upper = *add_layer();
  upper.glossiness = 0;
  fill_rect(upper.col, 0, 0, W, H, {0.5f, 0.7f, 0.3f, 1});
  base().glossiness = 0;
  const std::array<float, 4> lowers[2] = {{0.8f, 0.3f, 0.2f, 1}, {0.2f, 0.4f, 0.9f, 1}};
  auto render_with = [&](int lower, float upper_amount) {
    fill_rect(base().col, 0, 0, W, H, lowers[lower]);
    fill_rect(base().mat, 0, 0, W, H, {1.5f, 0, 0, 1});
    fill_rect(upper.mat, 0, 0, W, H, {upper_amount, 0, 0, 1});
    render();
    return paint().at(80, 45);
  };
  std::array<float, 4> below[2], over[2];
  for (int i = 0; i < 2; ++i) below[i] = render_with(i, 0);

  upper.style = 0;
  for (int i = 0; i < 2; ++i) over[i] = render_with(i, 1.5f);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(over[0][c], over[1][c], 2e-3f) << "normal, channel " << c;

  upper.style = 1;
  for (int i = 0; i < 2; ++i) over[i] = render_with(i, 0.5f);
  for (int c = 0; c < 3; ++c) {
    EXPECT_GT(over[0][c], below[0][c] + 0.01f) << "additive, channel " << c;
    EXPECT_NEAR(over[0][c] - below[0][c], over[1][c] - below[1][c], 3e-3f) << "additive, channel " << c;
  }

  upper.style = 2;
  for (int i = 0; i < 2; ++i) over[i] = render_with(i, 0.5f);
  for (int c = 0; c < 3; ++c) {
    EXPECT_LT(over[0][c], below[0][c]) << "multiply, channel " << c;
    EXPECT_NEAR(over[0][c] / below[0][c], over[1][c] / below[1][c], 0.01f) << "multiply, channel " << c;
  }
}

TEST_F(Display, UndoToggleShowsTheCopyAndReturns) {
  fill_rect(base().mat, 0, 0, W, H, {1.2f, 0, 0, 1});
  render();
  Picture before = view();
  layer& top = *add_layer();
  fill_rect(top.col, 0, 0, W, H, {0.1f, 0.8f, 0.1f, 1});
  fill_rect(top.mat, 40, 20, 120, 70, {1.5f, 0, 0, 1});
  render();
  Picture painted = view();
  ASSERT_GT(painted.max_diff(before, 40, 20, 120, 70), 0.05f);

  toggle_undo();  // a stroke-less layer shows its empty undo copy
  EXPECT_TRUE(top.showing_undo());
  render();
  EXPECT_LT(view().max_diff(before, 0, 0, W, H), 1e-3f);
  toggle_undo();
  render();
  EXPECT_LT(view().max_diff(painted, 0, 0, W, H), 1e-3f);
}

TEST_F(Display, GlowOnlyFromLightAboveOne) {
  fill_rect(base().mat, 60, 30, 100, 60, {1.5f, 0, 0, 1});
  auto glow_sum = [&](float glowing, float brightness) {
    fill_rect(base().col, 0, 0, W, H, {brightness, brightness, brightness, 1});
    gpu::display_settings.glowing = glowing;
    fill_rect(gpu::canvas_buffers.glow_a, 0, 0, 16, 9, {7, 7, 7, 1});  // marker
    render();
    return view();
  };
  Picture plain = glow_sum(0, 0.9f);
  auto marker = read_picture(gpu::canvas_buffers.glow_a).at(3, 3);
  EXPECT_EQ(marker[0], 7) << "glow 0 must skip the glow passes";
  EXPECT_LT(glow_sum(1, 0.9f).max_diff(plain, 0, 0, W, H), 1e-3f) << "colours up to 1 never glow";

  Picture bright_plain = glow_sum(0, 4.0f);
  Picture bright_glow = glow_sum(1, 4.0f);
  // Around the bright block, outside it, light spills.
  EXPECT_GT(bright_glow.at(55, 45)[0], bright_plain.at(55, 45)[0] + 0.01f);
  EXPECT_GT(bright_glow.at(80, 25)[1], bright_plain.at(80, 25)[1] + 0.01f);
  // and fades with the distance.
  EXPECT_GT(bright_glow.at(55, 45)[0] - bright_plain.at(55, 45)[0],
            2 * (bright_glow.at(5, 5)[0] - bright_plain.at(5, 5)[0]));
}

TEST_F(Display, DitherQuantisesAndOffKeepsFloats) {
  fill_rect(base().mat, 0, 0, W, H, {1.3f, 0, 0, 1});
  fill_rect(base().col, 0, 0, W, H, {0.3137f, 0.5f, 0.2f, 1});
  gpu::display_settings.dither = 0;
  render();
  Picture p = paint(), v = view();
  EXPECT_LT(v.max_diff(p, 0, 0, W, H), 1e-3f);
  int off_steps = 0;
  for (float x : v.px) off_steps += std::fabs(x * 255 - std::round(x * 255)) > 0.05f;
  EXPECT_GT(off_steps, 1000) << "unquantised floats expected";

  gpu::display_settings.dither = 1;
  render();
  Picture d = view();
  EXPECT_LT(d.max_diff(p, 0, 0, W, H), 1.0f / 255 + 1.0f / 256 + 1e-3f);
  for (int y = 0; y < H; y += 7)
    for (int x = 0; x < W; x += 5) {
      auto c = d.at(x, y);
      for (int k = 0; k < 3; ++k) {
        float base_step = std::floor(c[k] * 255 + 1e-3f) / 255;
        float extra = c[k] - base_step;
        EXPECT_TRUE(extra < 2e-3f || std::fabs(extra - 1.0f / 256) < 2e-3f) << x << "," << y << " " << c[k];
      }
    }
}

TEST_F(Display, SelfCrossingLassoLeavesTheDoubleCoverUnselected) {
  // A five-pointed star drawn in one stroke: the centre is enclosed twice.
  std::vector<std::array<float, 2>> star;
  const float cx = 80, cy = 45, r = 40;
  for (int i = 0; i < 5; ++i) {
    float a = float(i) * 2 * 3.14159265f * 2 / 5;
    star.push_back({cx + r * std::sin(a), cy - r * std::cos(a)});
  }
  gpu::mask_from_lasso(star);
  Picture mask = read_picture(gpu::canvas_buffers.mask);
  EXPECT_LT(mask.at(80, 45)[3], 0.01f) << "centre";
  EXPECT_GT(mask.at(80, 12)[3], 0.99f) << "top point";
  EXPECT_LT(mask.at(5, 5)[3], 0.01f) << "outside";

  // A plain triangle is selected inside.
  const std::vector<std::array<float, 2>> triangle = {{20, 80}, {80, 10}, {140, 80}};
  gpu::mask_from_lasso(triangle);
  mask = read_picture(gpu::canvas_buffers.mask);
  EXPECT_GT(mask.at(80, 60)[3], 0.99f);
  EXPECT_LT(mask.at(10, 10)[3], 0.01f);

  // The display lightens the inside on the shown picture and leaves the
  // mask and the picture for export as they were.
  render();
  const Picture plain = view(), plain_paint = paint();
  gpu::DisplayInputs in;
  in.lasso = triangle;
  in.lasso_mask_mode = true;
  render(in);
  const Picture lassoed = view();
  EXPECT_GT(lassoed.at(80, 60)[0], plain.at(80, 60)[0] + 0.03f);
  EXPECT_LT(lassoed.max_diff(plain, 0, 0, 15, 15), 1e-3f);
  EXPECT_LT(paint().max_diff(plain_paint, 0, 0, W, H), 1e-3f);
  EXPECT_GT(read_picture(gpu::canvas_buffers.mask).at(80, 60)[3], 0.99f);
}

TEST_F(Display, HighQualityKeepsThePictureAndLightsRelief) {
  fill_rect(base().mat, 40, 20, 120, 70, {2.5f, 0, 0, 1});
  render();
  Picture low = view();
  gpu::display_settings.high_quality = 1;
  render();
  Picture high = view();
  // Same picture away from edges; the supersampling only refines them.
  EXPECT_LT(high.max_diff(low, 60, 35, 100, 55), 0.03f);
  EXPECT_LT(high.max_diff(low, 0, 0, 30, 15), 0.03f);
  EXPECT_GT(high.max_diff(low, 35, 15, 125, 75), 0.02f) << "the relief's edges are lit at twice the size";
  // The layers were lit at twice the size and brought down by averaging.
  const Picture twice = read_picture(gpu::canvas_buffers.hq_target);
  ASSERT_EQ(twice.w, 2 * W);
  ASSERT_EQ(twice.h, 2 * H);
  const Picture p = paint();
  // The sharpening after the averaging moves only the edges, and little.
  float worst = 0, total = 0;
  for (int y = 1; y < H - 1; ++y)
    for (int x = 1; x < W - 1; ++x)
      for (int k = 0; k < 3; ++k) {
        const float mean = (twice.at(2 * x, 2 * y)[k] + twice.at(2 * x + 1, 2 * y)[k] + twice.at(2 * x, 2 * y + 1)[k] +
                            twice.at(2 * x + 1, 2 * y + 1)[k]) /
                           4;
        const float err = std::fabs(mean - p.at(x, y)[k]);
        worst = std::max(worst, err);
        total += err;
      }
  EXPECT_LT(total / float(3 * (W - 2) * (H - 2)), 0.005f);
  EXPECT_LT(worst, 0.2f);
}

namespace {

// A disc of thick paint as a brush would leave it: a dome with bristle ridges
// running across it, amount 0 outside.
void paint_disc(const gpu::Buffer& mat, float cx, float cy, float radius) {
  const int w = mat.width(), h = mat.height();
  std::vector<float> amount(size_t(w) * size_t(h), 0.0f);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float dx = float(x) - cx, dy = float(y) - cy;
      float t = std::sqrt(dx * dx + dy * dy) / radius;
      if (t >= 1) continue;
      float ridges = 0.4f * std::sin(0.9f * float(x) + 2.0f * std::sin(0.05f * float(y)));
      // texture row 0 is the bottom of the picture
      amount[size_t(h - 1 - y) * size_t(w) + size_t(x)] = 1.2f + 1.6f * std::sqrt(1 - t * t) + ridges * (1 - t);
    }
  glBindTexture(GL_TEXTURE_2D, mat.texture());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RED, GL_FLOAT, amount.data());
  glBindTexture(GL_TEXTURE_2D, 0);
}

float luminance(const std::array<float, 4>& c) {
  return 0.3f * c[0] + 0.59f * c[1] + 0.11f * c[2];
}

// Mean difference between horizontal neighbours over a rectangle.
float roughness(const Picture& p, int x0, int y0, int x1, int y1) {
  float sum = 0;
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x, ++n) sum += std::fabs(luminance(p.at(x + 1, y)) - luminance(p.at(x, y)));
  return sum / float(n);
}

}  // namespace

TEST(DisplayPicture, ThickPaintDiscShowsLitRelief) {
  gl_canvas(320, 180);
  reset_display(true, true);
  layer& l = *layers.active;
  l.bump = 0.5f;
  fill_rect(l.col, 0, 0, 320, 180, {0.75f, 0.3f, 0.12f, 1});
  paint_disc(l.mat, 160, 90, 60);
  render();
  Picture p = read_picture(gpu::canvas_buffers.view_image);
  Picture canvas = read_picture(gpu::canvas_buffers.canvas_image);
  EXPECT_LT(p.max_diff(canvas, 0, 0, 60, 40), 0.01f) << "bare canvas around the disc";
  EXPECT_GT(p.max_diff(canvas, 150, 80, 170, 100), 0.1f) << "paint in the middle";
  // The light sits beyond the top edge: the upper part of the disc is lit
  // more than the lower part, and the ridges catch light and cast shade.
  EXPECT_GT(luminance(p.at(160, 40)), luminance(p.at(160, 140)));
  EXPECT_GT(roughness(p, 140, 70, 180, 110), 3 * roughness(p, 10, 10, 50, 50));
}

TEST_F(Display, ViewDrawsThePictureAtTheViewRectangle) {
  fill_rect(gpu::canvas_buffers.view_image, 0, 0, W, H, {0.9f, 0.1f, 0.1f, 1});
  fill_rect(gpu::canvas_buffers.view_image, 0, 0, 40, 22, {0.1f, 0.9f, 0.1f, 1});  // top-left corner
  gpu::display_settings.background[0] = 0;
  gpu::display_settings.background[1] = 0;
  gpu::display_settings.background[2] = 1;
  gpu::Buffer window = gpu::Buffer::create(200, 120, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
  gpu::ViewTransform t;
  t.zoom = 0.5f;
  t.offset_x = 20;
  t.offset_y = 10;
  t.screen_w = 200;
  t.screen_h = 120;
  t.centre_x = 60;
  t.centre_y = 32.5f;
  auto colour = [](const Picture& p, int x, int y) {
    auto c = p.at(x, y);
    return c[2] > 0.5f ? 'b' : c[1] > 0.5f ? 'g' : c[0] > 0.5f ? 'r' : '?';
  };
  // A quarter turn is clockwise: the top-left corner goes to the top right.
  const struct {
    float angle;
    int x, y;
    char expected;
  } cases[] = {
      {0, 5, 5, 'b'},    {0, 25, 14, 'g'},  {0, 90, 50, 'r'},  {0, 60, 65, 'b'}, {0, 25, 40, 'r'},
      {0, 105, 30, 'b'}, {90, 60, 65, 'r'}, {90, 25, 32, 'b'}, {90, 76, 4, 'g'},
  };
  for (const auto& c : cases) {
    t.angle = c.angle;
    window.bind_target();
    gpu::draw_view(t);
    EXPECT_EQ(colour(read_picture(window), c.x, c.y), c.expected) << c.angle << " at " << c.x << "," << c.y;
  }
}

TEST_F(Display, HiddenLayersAndMirroredDraws) {
  Picture canvas = read_picture(gpu::canvas_buffers.canvas_image);
  fill_rect(base().mat, 10, 20, 30, 70, {1.5f, 0, 0, 1});  // a block on the left
  const struct {
    unsigned char mirror, hidden;
    bool left, right;  // paint shows at x = 20 and at the mirrored x = 139
  } cases[] = {{0, 0, true, false}, {0, 1, false, false}, {1, 0, true, true},  {2, 0, false, false},
               {4, 0, false, true}, {8, 0, true, false},  {12, 0, false, true}};
  for (const auto& c : cases) {
    gpu::display_settings.mirror_mode = c.mirror;
    base().hidden = c.hidden;
    render();
    Picture p = view();
    canvas = read_picture(gpu::canvas_buffers.canvas_image);
    EXPECT_EQ(p.max_diff(canvas, 18, 40, 22, 50) > 0.02f, c.left) << "mirror " << int(c.mirror);
    EXPECT_EQ(p.max_diff(canvas, 137, 40, 141, 50) > 0.02f, c.right) << "mirror " << int(c.mirror);
  }
}

TEST_F(Display, MaskViewShowsTheSnapshotInsideTheMask) {
  layer& l = base();
  gpu::take_mask_snapshot(l.col, l.mat);  // no paint yet
  fill_rect(gpu::canvas_buffers.mask, 0, 0, 80, H, {1, 1, 1, 1});
  fill_rect(l.mat, 0, 0, W, H, {1.5f, 0, 0, 1});
  gpu::DisplayInputs in;
  in.mask_view = true;
  render(in);
  Picture p = view();
  Picture canvas = read_picture(gpu::canvas_buffers.canvas_image);
  EXPECT_LT(p.max_diff(canvas, 5, 5, 75, 85), 1e-3f) << "inside: the paint as it was";
  EXPECT_GT(p.max_diff(canvas, 85, 5, 155, 85), 0.05f) << "outside: the paint as it is";
}

TEST_F(Display, WarpAndPlacedPictureOverlays) {
  // Warp map: every pixel fetches from a quarter of the width to its right.
  std::vector<float> map(size_t(W) * H * 2);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      map[(size_t(y) * W + size_t(x)) * 2] = (float(x) + 0.5f) / W + 0.25f;
      map[(size_t(y) * W + size_t(x)) * 2 + 1] = (float(y) + 0.5f) / H;
    }
  glBindTexture(GL_TEXTURE_2D, gpu::canvas_buffers.warp_uv.texture());
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, W, H, GL_RG, GL_FLOAT, map.data());
  fill_rect(base().mat, 100, 0, 120, H, {1.5f, 0, 0, 1});
  gpu::display_settings.high_quality = 1;  // warp mode renders at canvas size regardless
  gpu::DisplayInputs in;
  in.warp_mode = true;
  render(in);
  Picture canvas = read_picture(gpu::canvas_buffers.canvas_image);
  Picture p = view();
  EXPECT_GT(p.max_diff(canvas, 62, 40, 78, 50), 0.05f) << "paint seen through the map";
  EXPECT_LT(p.max_diff(canvas, 102, 40, 118, 50), 1e-3f) << "not at its own place";

  // A picture being placed shows on the active layer too.
  fill_rect(gpu::canvas_buffers.overlay_mat, 0, 0, W, H, {0, 0, 0, 1});
  fill_rect(gpu::canvas_buffers.overlay_mat, 20, 20, 40, 40, {1.5f, 0, 0, 1});
  fill_rect(gpu::canvas_buffers.overlay_col, 0, 0, W, H, {0.1f, 0.2f, 0.9f, 1});
  in = {};
  in.placing_picture = true;
  render(in);
  p = view();
  EXPECT_GT(p.at(30, 30)[2], p.at(30, 30)[0]) << "the placed picture's blue";
  EXPECT_LT(p.max_diff(canvas, 50, 50, 90, 80), 0.01f) << "nothing placed elsewhere";
}

TEST_F(Display, DisplayGammaAndDesaturation) {
  gpu::canvas_settings.strength = 0;
  fill_rect(base().col, 0, 0, W, H, {1.0f, 0.25f, 0.1f, 1});
  fill_rect(base().mat, 0, 0, W, H, {1.2f, 0, 0, 1});
  render();
  auto plain = paint().at(80, 45);

  // The colour mapping keeps black and white and moves what lies between.
  gpu::display_settings.drp_gamma = 0.2f;
  render();
  auto mapped = paint().at(80, 45);
  EXPECT_NEAR(mapped[0], plain[0], 2e-3f);
  EXPECT_GT(std::fabs(mapped[1] - plain[1]), 0.01f);

  gpu::display_settings.drp_gamma = 0;
  gpu::display_settings.desaturate = 1;
  for (float perception : {0.0f, 1.0f}) {
    gpu::display_settings.perception = perception;
    render();
    auto grey = paint().at(80, 45);
    EXPECT_NEAR(grey[0], grey[1], 2e-3f) << perception;
    EXPECT_NEAR(grey[1], grey[2], 2e-3f) << perception;
    EXPECT_GT(grey[0], plain[2]) << perception;
    EXPECT_LT(grey[0], plain[0]) << perception;
  }
}
