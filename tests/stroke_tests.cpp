#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "brush/bristle.h"
#include "brush/brush_settings.h"
#include "brush/stroke.h"
#include "document/document_state.h"
#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "layers/layer.h"
#include "tests/gl_fixture.h"
#include "tests/stroke_helpers.h"

namespace {

class StrokeTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    document::reset_settings();
    stroke = StrokeState{};
  }
};

float max_amount(const LayerPixels& p, int x0, int y0, int x1, int y1) {
  float m = 0;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) m = std::max(m, p.amount(x, y));
  return m;
}

}  // namespace

TEST_F(StrokeTest, EveryBrushTypeLaysPaintAlongItsPathAndNowhereElse) {
  for (int type = 0; type <= 9; ++type) {
    gl_canvas(160, 90);
    stroke = StrokeState{};
    document::reset_settings();
    select_brush_type_by_key(type == 9 ? 0 : type + 1);
    ASSERT_EQ(brush_settings.brush_type, type);
    drag({30, 45, 130, 45, 16});
    const LayerPixels p = read_layer();
    // Paint at every tenth pixel of the path's middle...
    int painted = 0;
    for (int x = 40; x <= 120; x += 10) painted += max_amount(p, x - 4, 40, x + 4, 50) > 0.05f;
    EXPECT_GE(painted, 8) << "type " << type;
    // ...none far from it,
    EXPECT_EQ(max_amount(p, 0, 0, 159, 20), 0.0f) << "type " << type;
    EXPECT_EQ(max_amount(p, 0, 70, 159, 89), 0.0f) << "type " << type;
    EXPECT_EQ(max_amount(p, 150, 0, 159, 89), 0.0f) << "type " << type;
    // and the colour under the paint moved towards the paint colour (blue).
    float best_blue = 0;
    for (int x = 40; x <= 120; ++x)
      for (int y = 40; y <= 50; ++y)
        if (p.amount(x, y) > 0.05f) best_blue = std::max(best_blue, p.colour(x, y)[2] - p.colour(x, y)[0]);
    EXPECT_GT(best_blue, 0.2f) << "type " << type;
    const float* far = p.colour(80, 5);
    EXPECT_NEAR(far[0], 0.25f, 0.01f) << "type " << type;
    EXPECT_NEAR(far[2], 0.05f, 0.01f) << "type " << type;
  }
}

// Both take paint away where they pass; erase sharpens and average blurs what
// is left at the brush's edge.
TEST_F(StrokeTest, EraseAndAverageRemovePaintWhereTheyPass) {
  const struct {
    ToolMode tool;
    float max_left;  // amount left on the crossed part, relative
  } cases[] = {{ToolMode::erase, 0.1f}, {ToolMode::average, 0.1f}};
  for (const auto& c : cases) {
    gl_canvas(160, 90);
    stroke = StrokeState{};
    drag({20, 45, 140, 45, 16});
    const LayerPixels before = read_layer();
    const float painted = max_amount(before, 70, 40, 90, 50);
    ASSERT_GT(painted, 0.3f);
    drag({80, 10, 80, 80, 12, c.tool, 30});
    const LayerPixels after = read_layer();
    EXPECT_LT(max_amount(after, 78, 43, 82, 47), painted * c.max_left);
    // Paint away from the crossing is untouched.
    for (int x : {25, 40, 120, 135}) EXPECT_NEAR(after.amount(x, 45), before.amount(x, 45), 1e-4f) << "x " << x;
  }
}

// A standing bristle brush erasing or averaging paint of amount 1 takes
// B = the paint colour's alpha times the squared pressure at every cover of
// a pixel by a hair. A standing hair is drawn as points, which cover whole
// pixels, at its ends: the pixels under one hair keep (1 - B) to a whole
// power (one per end), those under more hairs keep less.
TEST_F(StrokeTest, BristleEraseAndAverageRemoveTheSquaredPressure) {
  const struct {
    ToolMode tool;
    float pressure, alpha;
  } cases[] = {{ToolMode::erase, 0.5f, 1},
               {ToolMode::average, 0.5f, 1},
               {ToolMode::erase, 0.7f, 1},
               {ToolMode::erase, 1, 0.5f},
               {ToolMode::erase, 1, 1}};
  for (const auto& c : cases) {
    gl_canvas(160, 90);
    stroke = StrokeState{};
    document::reset_settings();
    brush_settings.bristles = 0.1f;  // 41 hairs: most pixels under one
    brush_settings.area_tool = 0;
    layers.active->mat.bind_target();
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    StrokeInput in;
    in.x = 80;
    in.y = 45;
    in.size = 30;
    in.pressure = c.pressure;
    in.tool = c.tool;
    in.colour[3] = c.alpha;
    stroke_frame(in);
    stroke_end();
    const LayerPixels p = read_layer();
    float under_one_hair = 0;
    int touched = 0;
    for (float m : p.mat)
      if (m < 0.9999f) {
        under_one_hair = std::max(under_one_hair, m);
        ++touched;
      }
    const std::string what = "tool " + std::to_string(int(c.tool)) + " pressure " + std::to_string(c.pressure);
    ASSERT_GT(touched, 10) << what;
    const float B = c.alpha * c.pressure * c.pressure;
    if (B >= 1) {
      EXPECT_LT(under_one_hair, 1e-3f) << what;
      continue;
    }
    const float covers = std::log(under_one_hair) / std::log(1 - B);
    EXPECT_NEAR(covers, std::round(covers), 0.05f) << what << " left " << under_one_hair;
    EXPECT_GE(std::round(covers), 1) << what;
    EXPECT_LE(std::round(covers), 2) << what;
  }
}

TEST_F(StrokeTest, UndoSnapshotAtTheFirstFrameUnlessZIsHeld) {
  for (bool z : {false, true}) {
    gl_canvas(160, 90);
    stroke = StrokeState{};
    drag({20, 30, 140, 30});
    ASSERT_EQ(layers.active->UNDO_GET, 0);
    drag({20, 60, 140, 60, 12, ToolMode::paint, 20, 1, z});
    const LayerPixels undo = read_layer(true);
    const bool first_stroke_in_undo = max_amount(undo, 20, 25, 140, 35) > 0.05f;
    EXPECT_EQ(first_stroke_in_undo, !z) << "Z held " << z;
    EXPECT_EQ(max_amount(undo, 20, 55, 140, 65), 0.0f);
    EXPECT_EQ(layers.active->UNDO_GET, 0);
  }
}

TEST_F(StrokeTest, PaintingOverAShownUndoStateContinuesFromIt) {
  drag({20, 30, 140, 30});
  layers.active->UNDO_GET ^= undo_showing;  // Ctrl+Z: the empty canvas is shown
  drag({20, 60, 140, 60});
  const LayerPixels p = read_layer();
  EXPECT_EQ(max_amount(p, 20, 25, 140, 35), 0.0f);
  EXPECT_GT(max_amount(p, 20, 55, 140, 65), 0.05f);
}

TEST_F(StrokeTest, TinyBrushDrawsAtMostNineSegments) {
  brush_settings.bristles = 1;  // 4001 bristles set up
  gl_canvas(160, 90);
  StrokeInput in;
  in.size = 1;
  in.pressure = 1;
  in.pen_factor = 1;
  for (int i = 0; i < 5; ++i) {
    in.x = 50 + 3.0f * float(i);
    in.y = 40;
    in.dx = i ? 3.0f / 160 : 0;
    stroke_frame(in);
    EXPECT_LE(stroke.bristles_drawn, 9);
    EXPECT_GE(stroke.bristles_drawn, 1);
  }
  stroke_end();
  EXPECT_EQ(bristles.count, 4001);
}

TEST_F(StrokeTest, StandingBrushStillPaints) {
  // Segments under a pixel are drawn as points.
  StrokeInput in;
  in.x = 80;
  in.y = 45;
  in.pressure = 1;
  for (int i = 0; i < 3; ++i) stroke_frame(in);
  stroke_end();
  EXPECT_GT(max_amount(read_layer(), 70, 35, 90, 55), 0.05f);
}

TEST_F(StrokeTest, BrushMotionGoesIntoTheVelocityFieldAndWetnessUnderPaint) {
  const struct {
    ToolMode tool;
    float fluidity;
    bool moves, wets;
  } cases[] = {{ToolMode::paint, 1, false, true},
               {ToolMode::paint, 0.5f, true, true},
               {ToolMode::smudge, 1, true, true},
               {ToolMode::average, 0.5f, false, false},
               {ToolMode::erase, 0.5f, true, false}};
  for (const auto& c : cases) {
    gl_canvas(160, 90);
    stroke = StrokeState{};
    Drag d{20, 45, 140, 45, 12, c.tool};
    d.fluidity = c.fluidity;
    drag(d);
    glFinish();
    const gpu::CanvasBuffers& cb = gpu::canvas_buffers;
    const std::vector<float> v = read_texture(cb.velocity[0].texture(), 160, 90, GL_RGBA, 4);
    const std::vector<float> w = read_texture(cb.wetness.texture(), 160, 90, GL_RGBA, 4);
    const size_t mid = (size_t(89 - 45) * 160 + 80) * 4, far = (size_t(89 - 10) * 160 + 80) * 4;
    const int tool = int(c.tool);
    if (c.moves) {
      EXPECT_GT(v[mid], 0.0f) << "tool " << tool;  // the stroke ran to the right
      EXPECT_NEAR(v[mid + 1], 0.0f, std::fabs(v[mid]) * 0.2f);
    } else {
      EXPECT_EQ(v[mid], 0.0f) << "tool " << tool;
    }
    EXPECT_EQ(v[far], 0.0f);
    EXPECT_EQ(w[mid] > 0.1f, c.wets) << "tool " << tool;
    EXPECT_EQ(w[far], 0.0f);
  }
}

TEST_F(StrokeTest, ZeroPressurePaintsNothing) {
  drag({20, 45, 140, 45, 12, ToolMode::paint, 20, 0});
  EXPECT_EQ(max_amount(read_layer(), 0, 0, 159, 89), 0.0f);
}

TEST(BrushImageChoice, RandomNeverRepeatsWithThreeOrMoreImages) {
  for (int count : {3, 4, 7}) {
    int last = -1;
    for (int i = 0; i < 500; ++i) {
      const int next = choose_brush_image(2, count, last, 0);
      ASSERT_GE(next, 0);
      ASSERT_LT(next, count);
      ASSERT_NE(next, last) << count << " images";
      last = next;
    }
  }
  int repeats = 0, last = 0;
  for (int i = 0; i < 500; ++i) {
    const int next = choose_brush_image(2, 2, last, 0);
    repeats += next == last;
    last = next;
  }
  EXPECT_GT(repeats, 0);  // with two images a stroke may reuse the last one
}

TEST(BrushImageChoice, OtherModes) {
  const struct {
    int mode, count, last;
    float pen;
    int expected;
  } cases[] = {
      {0, 3, -1, 0, 0}, {0, 3, 0, 0, 1}, {0, 3, 2, 0, 0},  {1, 5, 0, 1, 4},   {1, 5, 0, 0.5f, 1},
      {1, 5, 3, 0, 0},  {3, 4, 2, 0, 2}, {3, 4, -1, 0, 0}, {2, 0, -1, 0, -1}, {0, 0, 1, 0, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(choose_brush_image(c.mode, c.count, c.last, c.pen), c.expected)
        << "mode " << c.mode << " count " << c.count << " last " << c.last;
}

TEST(BrushTypes, DigitKeysSelectTypesAndEachTypeKeepsItsDials) {
  document::reset_settings();
  const struct { int key, type; } keys[] = {{1, 0}, {5, 4}, {9, 8}, {0, 9}};
  for (const auto& k : keys) {
    select_brush_type_by_key(k.key);
    EXPECT_EQ(brush_settings.brush_type, k.type) << "key " << k.key;
  }
  select_brush_type_by_key(9);
  brush_settings.bias = 0.7f;
  select_brush_type_by_key(2);
  EXPECT_NE(brush_settings.bias, 0.7f);
  select_brush_type_by_key(9);
  EXPECT_EQ(brush_settings.bias, 0.7f);
}
