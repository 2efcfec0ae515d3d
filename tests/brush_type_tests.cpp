#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "base/random.h"
#include "brush/bristle.h"
#include "brush/brush_settings.h"
#include "brush/brush_types.h"
#include "brush/stroke.h"
#include "document/document_state.h"
#include "gpu/buffer.h"
#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "layers/layer.h"
#include "tests/gl_fixture.h"
#include "tests/script_run.h"
#include "tests/stroke_helpers.h"

namespace {

class BrushTypeTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    document::reset_settings();
    stroke = StrokeState{};
    release_brush_buffers();  // as at the start of a session
  }
};

StrokeInput dab_at(float x, float y, float size) {
  StrokeInput in;
  in.x = x;
  in.y = y;
  in.size = in.base_size = size;
  in.pressure = 1;
  in.pen_factor = 1;
  in.colour[0] = 0.1f;
  in.colour[1] = 0.3f;
  in.colour[2] = 0.9f;
  return in;
}

// Bounding box of the pixels holding paint.
struct Extent {
  int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;
  int width() const { return x1 - x0 + 1; }
  int height() const { return y1 - y0 + 1; }
};

Extent painted_extent(const LayerPixels& p, float threshold) {
  Extent e;
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x)
      if (p.amount(x, y) > threshold) {
        e.x0 = std::min(e.x0, x);
        e.x1 = std::max(e.x1, x);
        e.y0 = std::min(e.y0, y);
        e.y1 = std::max(e.y1, y);
      }
  return e;
}

}  // namespace

// The brush's own buffers are made the first time a type needs them; the
// first dab of that stroke still lands in the layer, colour included.
TEST_F(BrushTypeTest, FirstDabOfASessionReachesTheLayer) {
  for (int type : {5, 9}) {
    gl_canvas(160, 90);
    stroke = StrokeState{};
    release_brush_buffers();
    brush_settings.brush_type = static_cast<unsigned char>(type);
    stroke_frame(dab_at(80, 45, 20));
    stroke_end();
    const LayerPixels p = read_layer();
    EXPECT_GT(p.amount(80, 45), 0.05f) << "type " << type;
    const float* c = p.colour(80, 45);
    EXPECT_GT(c[2] - c[0], 0.2f) << "type " << type << ": the dab's colour is in the layer";
  }
}

// Scatter dabs are specks around the footprint: none reaches far past the
// brush's own radius, whatever the bristle size.
TEST_F(BrushTypeTest, ScatterDabsAreSpecks) {
  for (int type : {1, 2}) {
    gl_canvas(160, 90);
    stroke = StrokeState{};
    brush_settings.brush_type = static_cast<unsigned char>(type);
    brush_settings.bristle_size = 0.75f;
    brush_settings.bristles = 1;
    stroke_frame(dab_at(80, 45, 40));
    stroke_end();
    const Extent e = painted_extent(read_layer(), 0.01f);
    ASSERT_GE(e.x1, 0) << "type " << type << " painted";
    // Footprint radius 20 plus specks of a few pixels.
    EXPECT_LE(e.width(), 52) << "type " << type;
    EXPECT_LE(e.height(), 52) << "type " << type;
  }
}

// With "PEN:TILT" on, type 3 turns its flat footprint with the pen's tilt,
// as the other types below 4 do, whatever the stroke direction.
TEST_F(BrushTypeTest, TiltSteersTypeThree) {
  const struct {
    float azimuth;
    bool tall;
  } cases[] = {{90, true}, {0, false}};
  for (const auto& c : cases) {
    gl_canvas(160, 90);
    stroke = StrokeState{};
    brush_settings.brush_type = 3;
    brush_settings.bristles = 1;
    brush_settings.bristle_size = 0.7f;
    StrokeInput in = dab_at(80, 45, 50);
    in.direction = vec2d::Create(0, 1);
    in.tilt_azimuth = c.azimuth;
    in.tilt_altitude = 30;  // a strongly squashed footprint
    stroke_frame(in);
    stroke_end();
    const Extent e = painted_extent(read_layer(), 0.01f);
    ASSERT_GE(e.x1, 0);
    if (c.tall)
      EXPECT_GT(e.height(), 2 * e.width()) << "azimuth " << c.azimuth;
    else
      EXPECT_GT(e.width(), 2 * e.height()) << "azimuth " << c.azimuth;
  }
}

// The bristle brush's lines take their width from the prototype bristle; the
// bristle-size dial does not widen them.
TEST_F(BrushTypeTest, BristleLinesStayThinAtAnyBristleSize) {
  brush_settings.bristles = 0;  // a single hair
  brush_settings.bristle_size = 1;
  drag({20, 45, 140, 45, 12});
  const LayerPixels p = read_layer();
  int rows = 0;
  for (int y = 0; y < 90; ++y) rows += p.amount(80, y) > 0.02f;
  EXPECT_GE(rows, 1);
  EXPECT_LE(rows, 3);
}

// A smudge lays the colour and the paint like paint does; the blending dial
// does not thin the colour of a paint stroke.
TEST_F(BrushTypeTest, SmudgeAndBlendingLayColourAsPaintDoes) {
  float blue_at_zero = 0;
  for (float blending : {0.0f, 1.0f}) {
    for (ToolMode tool : {ToolMode::paint, ToolMode::smudge}) {
      gl_canvas(160, 90);
      stroke = StrokeState{};
      brush_settings.blending = blending;
      drag({20, 45, 140, 45, 12, tool});
      const LayerPixels p = read_layer();
      EXPECT_GT(p.amount(80, 45), 0.05f) << "tool " << int(tool) << " blending " << blending;
      const float blue = p.colour(80, 45)[2] - p.colour(80, 45)[0];
      EXPECT_GT(blue, 0.2f) << "tool " << int(tool) << " blending " << blending;
      if (blending == 0 && tool == ToolMode::paint) blue_at_zero = blue;
      if (blending == 1 && tool == ToolMode::paint) {
        EXPECT_NEAR(blue, blue_at_zero, 0.05f);
      }
    }
  }
}

// Held at full pen pressure the strip brushes (keys 7 and 8) lay a strip of
// the brush's width along the drag, whatever way the pen's tilt points.
TEST(BrushTypeReplay, StripBrushesPaintUnderFullPenPressure) {
  for (const char* key : {"7", "8"}) {
    ScriptRun r(160, 90);
    std::string s = std::string("pen 1\nset \"BRUSH:SIZE\" 16\nkey press ") + key + "\nmouse 20 45\nframe\ndown left\n";
    for (int i = 1; i <= 16; ++i) s += "mouse " + std::to_string(20 + 7 * i) + " 45\nframe\n";
    s += "up left\nframe\n";
    ASSERT_EQ(r.run(s), "");
    const LayerPixels p = read_layer();
    int wide = 0;
    for (int x = 50; x <= 110; x += 10) {
      int rows = 0;
      for (int y = 30; y <= 60; ++y) rows += p.amount(x, y) > 0.02f;
      wide += rows >= 6;
    }
    EXPECT_GE(wide, 5) << "key " << key;
  }
}

// The hairs' motion goes into the velocity field weighted by the paint they
// carry: a brush carrying none leaves only its soft footprint's motion.
TEST_F(BrushTypeTest, BristleMotionIsWeightedByThePaintCarried) {
  std::vector<float> field[2];
  glClearColor(0, 0, 0, 0);
  gpu::Buffer none = gpu::Buffer::create(4, 4, GL_R32F, GL_RED, GL_CLAMP_TO_EDGE);
  create_bristles();  // before the seed: making them draws random numbers
  for (int i = 0; i < 2; ++i) {
    gl_canvas(160, 90);
    stroke = StrokeState{};
    if (i == 1) stroke.motion_amount = none.texture();
    seed_random(5);
    drag({20, 45, 140, 45, 12, ToolMode::smudge});
    glFinish();
    field[i] = read_texture(gpu::canvas_buffers.velocity[0].texture(), 160, 90, GL_RGBA, 4);
  }
  float differs = 0, moved = 0;
  for (size_t k = 0; k < field[0].size(); k += 4) {
    differs = std::max(differs, std::fabs(field[0][k] - field[1][k]));
    moved = std::max(moved, std::fabs(field[1][k]));
  }
  EXPECT_GT(moved, 0.01f) << "the footprint still moves the field";
  EXPECT_GT(differs, 0.005f) << "the hairs' own motion is gone";
}
