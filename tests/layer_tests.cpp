#include <gtest/gtest.h>

#include <cmath>

#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "layers/canvas_setup.h"
#include "layers/layer.h"
#include "layers/layer_stack.h"
#include "tests/gl_fixture.h"
#include "tests/layer_paint.h"

namespace {

constexpr int W = 160, H = 90;

float red_at(const layer& l, int x, int y, bool undo = false) {
  std::vector<float> m = read_red(undo ? l.undo_mat() : l.fbo_mat(), int(l.width), int(l.height));
  return m[size_t(y) * size_t(l.width) + size_t(x)];
}

std::vector<layer*> stack() {
  std::vector<layer*> out;
  for (auto& l : layers.list) out.push_back(l.get());
  return out;
}

}  // namespace

TEST(LayerStack, SelectMoveAddAndTheirEnds) {
  gl_canvas(W, H);
  layer* a = layers.active;
  EXPECT_FALSE(select_below());
  EXPECT_FALSE(select_above());
  EXPECT_FALSE(move_down());
  EXPECT_FALSE(merge_down()) << "nothing below the bottom layer";
  EXPECT_EQ(layers.list.size(), 1u);

  layer* c = add_layer();
  EXPECT_EQ(layers.active, c);
  EXPECT_EQ(layers.active_number, 2);
  ASSERT_TRUE(select_below());
  layer* b = add_layer();  // goes directly above the active one
  EXPECT_EQ(stack(), (std::vector<layer*>{a, b, c}));
  EXPECT_EQ(layers.active_number, 2);

  layers.changed = false;
  ASSERT_TRUE(move_up());
  EXPECT_TRUE(layers.changed);
  EXPECT_EQ(stack(), (std::vector<layer*>{a, c, b}));
  EXPECT_EQ(layers.active, b);
  EXPECT_EQ(layers.active_number, 3);
  EXPECT_FALSE(move_up());
  ASSERT_TRUE(move_down());
  ASSERT_TRUE(move_down());
  EXPECT_EQ(stack(), (std::vector<layer*>{b, a, c}));
  EXPECT_EQ(layers.active_number, 1);
  ASSERT_TRUE(select_above());
  EXPECT_EQ(layers.active, a);
  toggle_hidden();
  EXPECT_EQ(a->hidden, 1);
  toggle_hidden();
  EXPECT_EQ(a->hidden, 0);
}

TEST(LayerStack, MergeDownAddsPaintAmountsAndRemovesTheUpperLayer) {
  gl_canvas(W, H);
  layer* lower = layers.active;
  fill_rect(lower->mat, 0, 0, 100, H, {1.5f, 0, 0, 1});
  layer* upper = add_layer();
  fill_rect(upper->col, 0, 0, W, H, {0.9f, 0.1f, 0.1f, 1});
  fill_rect(upper->mat, 50, 0, W, H, {2.0f, 0, 0, 1});
  ASSERT_TRUE(merge_down());
  EXPECT_EQ(layers.list.size(), 1u);
  EXPECT_EQ(layers.active, lower);
  EXPECT_EQ(layers.active_number, 1);
  EXPECT_NEAR(red_at(*lower, 20, 40), 1.5f, 1e-4f);   // lower only
  EXPECT_NEAR(red_at(*lower, 70, 40), 3.5f, 1e-4f);   // both
  EXPECT_NEAR(red_at(*lower, 130, 40), 2.0f, 1e-4f);  // upper only
  std::vector<float> col = read_texture(lower->fbo_col(), W, H, GL_RGBA, 4);
  size_t at = (size_t(H - 1 - 40) * W + 130) * 4;
  EXPECT_NEAR(col[at], 0.9f, 0.01f) << "the upper colour covers where it has paint";
  at = (size_t(H - 1 - 40) * W + 20) * 4;
  EXPECT_NEAR(col[at], 0.25f, 0.01f) << "the lower colour stays where the upper has none";

  // The merge can be looked back on.
  toggle_undo();
  EXPECT_NEAR(red_at(*lower, 70, 40, true), 1.5f, 1e-4f);
}

TEST(LayerStack, ReliefMergeReadsTheLowerAmountAsItWas) {
  gl_canvas(W, H);
  layer* lower = layers.active;
  const struct {
    float below, above, expected;
  } cases[] = {
      {0.0f, 0.6f, 0.6f},  // film where the lower layer had none
      {1.0f, 0.6f, 1.0f},  // film already there: nothing added
      {0.5f, 1.0f, 1.0f},  // the missing half of the film
      {1.0f, 3.0f, 3.0f},  // relief 2 at bump ratio 1
  };
  for (const auto& c : cases) {
    while (layers.list.size() > 1) layers.list.back()->remove();
    layers.active = lower;
    layers.active_number = 1;
    fill_rect(lower->mat, 0, 0, W, H, {c.below, 0, 0, 1});
    layer* upper = add_layer();
    upper->bump = lower->bump;  // bump ratio 1
    fill_rect(upper->mat, 0, 0, W, H, {c.above, 0, 0, 1});
    ASSERT_TRUE(merge_down(true));
    EXPECT_NEAR(red_at(*lower, 80, 45), c.expected, 1e-3f) << c.below << " + " << c.above;
  }
}

// A layer the user adds gets the project's new-layer bump.
TEST(LayerStack, AddedLayersTakeTheNewLayerBump) {
  gl_canvas(W, H);
  const float kept = gpu::display_settings.new_layer_bump;
  for (float bump : {0.2f, 0.35f}) {
    gpu::display_settings.new_layer_bump = bump;
    EXPECT_FLOAT_EQ(add_layer()->bump, bump);
  }
  gpu::display_settings.new_layer_bump = kept;
}

TEST(LayerUndo, StrokeRulesAndTheShownState) {
  gl_canvas(W, H);
  layer& l = *layers.active;
  fill_rect(l.mat, 0, 0, W, H, {1, 0, 0, 1});
  undo_stroke_start(l, false);
  EXPECT_EQ(l.UNDO_GET, 1);
  fill_rect(l.mat, 0, 0, W, H, {2, 0, 0, 1});  // the stroke
  undo_stroke_start(l, false);                 // later frames keep the snapshot
  undo_stroke_end(l);
  EXPECT_EQ(l.UNDO_GET, 0);
  EXPECT_NEAR(red_at(l, 5, 5, true), 1, 1e-5f);

  toggle_undo();
  EXPECT_EQ(l.UNDO_GET, 2);
  // Painting while the undo copy is shown continues from what is shown.
  undo_stroke_start(l, false);
  EXPECT_EQ(l.UNDO_GET, 1);
  EXPECT_NEAR(red_at(l, 5, 5), 1, 1e-5f);
  undo_stroke_end(l);

  // With Z held the previous snapshot stays.
  fill_rect(l.mat, 0, 0, W, H, {4, 0, 0, 1});
  undo_stroke_start(l, true);
  EXPECT_EQ(l.UNDO_GET, 0);
  EXPECT_NEAR(red_at(l, 5, 5, true), 1, 1e-5f);
}

TEST(LayerResample, ContentKeepsItsScaleAndMoves) {
  gl_canvas(1280, 720);
  layer& l = *layers.active;
  fill_rect(l.mat, 100, 50, 101, 51, {5, 0, 0, 1});
  fill_rect(l.col, 100, 50, 101, 51, {0.2f, 0.9f, 0.4f, 1});
  fill_rect(l.mat, 300, 200, 301, 201, {7, 0, 0, 1});
  ASSERT_TRUE(resize_canvas(1000, 600, -100, -50, 1000, 600));
  EXPECT_EQ(gpu::geometry.width, 1000);
  EXPECT_EQ(l.width, 1000);
  EXPECT_EQ(l.height, 600);
  EXPECT_EQ(gpu::canvas_buffers.view_image.width(), 1000);
  EXPECT_NEAR(red_at(l, 0, 0), 5, 1e-5f);
  EXPECT_NEAR(red_at(l, 200, 150), 7, 1e-5f);
  EXPECT_NEAR(red_at(l, 1, 1), 0, 1e-5f);
  std::vector<float> now = read_red(l.fbo_mat(), 1000, 600);
  EXPECT_EQ(now, read_red(l.undo_mat(), 1000, 600)) << "the undo copy equals the new content";
  std::vector<float> col = read_texture(l.fbo_col(), 1000, 600, GL_RGBA, 4);
  size_t top_left = size_t(599) * 1000 * 4;
  EXPECT_NEAR(col[top_left + 1], 0.9f, 1e-3f);
  EXPECT_EQ(col, read_texture(l.undo_col(), 1000, 600, GL_RGBA, 4));
}

TEST(LayerResample, RefusesImpossibleSizes) {
  gl_canvas(W, H);
  const int sizes[][2] = {{0, 10}, {10, -1}, {max_canvas_side + 1, 10}, {10, 1 << 30}};
  for (const auto& s : sizes) {
    EXPECT_FALSE(resize_canvas(s[0], s[1], 0, 0, W, H)) << s[0] << " x " << s[1];
    const float paint[3] = {1, 1, 1};
    EXPECT_FALSE(create_canvas(s[0], s[1], paint, W, H)) << s[0] << " x " << s[1];
    EXPECT_EQ(gpu::geometry.width, W);
    EXPECT_EQ(layers.list.size(), 1u);
  }
}

TEST(LayerTransform, RedrawsIntoTheRectangle) {
  gl_canvas(W, H);
  layer& l = *layers.active;
  fill_rect(l.mat, 0, 0, 80, H, {2, 0, 0, 1});              // left half
  l.transform(vec2d::Create(0, 0), vec2d::Create(80, 45));  // into the top-left quarter
  EXPECT_NEAR(red_at(l, 20, 20), 2, 1e-4f);
  EXPECT_NEAR(red_at(l, 60, 20), 0, 1e-4f);
  EXPECT_NEAR(red_at(l, 20, 70), 0, 1e-4f);
}

TEST(LayerStack, MergeFollowsTheUpperBlendStyle) {
  // Lower colour 0.8 everywhere; the upper layer covers fully (amount 1.5)
  // with colour 0.5 and is merged with each style.
  const struct {
    unsigned char style;
    float expected;
  } cases[] = {{0, 0.5f}, {1, 1.3f}, {2, 0.4f}};
  for (const auto& c : cases) {
    gl_canvas(W, H);
    layer* lower = layers.active;
    fill_rect(lower->col, 0, 0, W, H, {0.8f, 0.8f, 0.8f, 1});
    fill_rect(lower->mat, 0, 0, W, H, {1.0f, 0, 0, 1});
    layer* upper = add_layer();
    upper->style = c.style;
    fill_rect(upper->col, 0, 0, W, H, {0.5f, 0.5f, 0.5f, 1});
    fill_rect(upper->mat, 0, 0, W, H, {1.5f, 0, 0, 1});
    ASSERT_TRUE(merge_down());
    Picture col = read_picture(lower->col);
    EXPECT_NEAR(col.at(80, 45)[0], c.expected, 0.01f) << "style " << int(c.style);
    EXPECT_NEAR(red_at(*lower, 80, 45), 2.5f, 1e-4f) << "amounts add in every style";
  }
}

TEST(LayerResample, AShownUndoStateBecomesTheContent) {
  gl_canvas(W, H);
  layer& l = *layers.active;
  fill_rect(l.mat, 0, 0, W, H, {1, 0, 0, 1});
  l.store_undo();
  fill_rect(l.mat, 0, 0, W, H, {2, 0, 0, 1});
  toggle_undo();
  ASSERT_TRUE(resize_canvas(W + 20, H + 10, 10, 5, W, H));
  EXPECT_EQ(l.UNDO_GET, 0);
  EXPECT_NEAR(red_at(l, 50, 50), 1, 1e-5f) << "what was shown is what stays";
  EXPECT_NEAR(red_at(l, 5, 2), 0, 1e-5f) << "uncovered border";
  EXPECT_NEAR(red_at(l, 50, 50, true), 1, 1e-5f);
}
