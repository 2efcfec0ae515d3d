#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/tool_keys.h"
#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "layers/layer.h"
#include "tests/gl_fixture.h"
#include "tests/script_run.h"
#include "tests/stroke_helpers.h"

namespace {

constexpr int W = 160, H = 90;

// RGBA of a canvas-size texture at (x, y), y counted from the top.
std::array<float, 4> at(GLuint tex, int x, int y) {
  const std::vector<float> c = read_texture(tex, W, H, GL_RGBA, 4);
  const std::size_t i = (std::size_t(H - 1 - y) * W + x) * 4;
  return {c[i], c[i + 1], c[i + 2], c[i + 3]};
}

bool bluish(const std::array<float, 4>& c) {
  return c[2] > c[0] + 0.1f;
}
bool reddish(const std::array<float, 4>& c) {
  return c[0] > c[2] + 0.1f;
}

const std::string ctrl_q = "key down Left Ctrl\nkey press Q\nframe\nkey up Left Ctrl\nframe\n";

// Red strokes have crossed blue paint in mask mode, at `kept` inside the mask
// and at `free` outside it (canvas pixels): the live paint took the stroke
// at both, the view shows the paint at `kept` as it was; leaving the mode
// (Ctrl+Q) puts the blue back at `kept` and keeps the red at `free`.
void expect_masked_then_restored(ScriptRun& r, std::array<int, 2> kept, std::array<int, 2> free) {
  const GLuint view = gpu::canvas_buffers.view_image.texture();
  EXPECT_EQ(modes.mask_mode, 1);
  EXPECT_TRUE(reddish(at(layers.active->fbo_col(), kept[0], kept[1]))) << "the live paint took the stroke";
  EXPECT_TRUE(bluish(at(view, kept[0], kept[1]))) << "the view shows the masked paint as it was";
  EXPECT_TRUE(reddish(at(view, free[0], free[1])));
  ASSERT_EQ(r.run(ctrl_q), "");
  EXPECT_EQ(modes.mask_mode, 0);
  EXPECT_TRUE(bluish(at(layers.active->fbo_col(), kept[0], kept[1]))) << "leaving restores the masked paint";
  EXPECT_TRUE(reddish(at(layers.active->fbo_col(), free[0], free[1]))) << "paint outside the mask stays";
}

}  // namespace

// Paint present when mask mode starts is masked: the display keeps showing
// it while strokes cross it, and leaving the mode puts it back; paint laid
// outside it stays.
TEST(ModeKeys, MaskedPaintIsShownAndRestored) {
  ScriptRun r(W, H);
  ASSERT_EQ(r.run("set \"FLUIDITY\" 0\nset \"BRUSH:SIZE\" 8\ncolor 0.05 0.1 0.9\n" + drag_script(20, 30, 140, 30)), "");
  ASSERT_TRUE(bluish(at(layers.active->fbo_col(), 80, 30)));
  ASSERT_EQ(r.run(ctrl_q + "color 0.9 0.1 0.05\n" + drag_script(80, 10, 80, 80)), "");
  expect_masked_then_restored(r, {80, 30}, {80, 70});
}

// Shift+Ctrl+F stretches the layer's colours (a dull grey stroke becomes
// brighter) and Ctrl+Z shows them as they were.
TEST(ModeKeys, ColourStretchIsUndoable) {
  ScriptRun r(W, H);
  ASSERT_EQ(r.run("set \"FLUIDITY\" 0\nset \"BRUSH:SIZE\" 8\ncolor 0.3 0.3 0.3\n" + drag_script(20, 30, 140, 30) +
                  "color 0.2 0.2 0.2\n" + drag_script(20, 60, 140, 60)),
            "");
  const float before = at(layers.active->fbo_col(), 80, 30)[0];
  ASSERT_EQ(r.run("key down Left Shift\nkey down Left Ctrl\nkey press F\nframe\nkey up Left Shift\nkey up Left Ctrl\n"
                  "frame\n"),
            "");
  const float after = at(layers.active->fbo_col(), 80, 30)[0];
  EXPECT_GT(after, before + 0.2f);
  ASSERT_EQ(r.run("key down Left Ctrl\nkey press Z\nframe\n"), "");
  EXPECT_NEAR(at(layers.active->undo_col(), 80, 30)[0], before, 1e-3f);
}

// F1's address is the README's key table, which exists and has that section.
TEST(ModeKeys, HelpAddressIsTheKeyTable) {
  const std::string url = help_url();
  ASSERT_EQ(url.rfind("file://", 0), 0u) << url;
  ASSERT_EQ(url.substr(url.size() - 5), "#keys");
  const std::string path = url.substr(7, url.size() - 12);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_TRUE(f) << path;
  std::string text(1 << 20, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), f));
  std::fclose(f);
  EXPECT_NE(text.find("\n## Keys\n"), std::string::npos);
}

namespace {

// L held, a left drag round the rectangle x 30 .. 70, y 20 .. 70, and the
// button let go.
const std::string lasso =
    "mouse 30 20\nkey down L\nframe\ndown left\nframe\nmouse 70 20\nframe\nmouse 70 70\nframe\nmouse 30 70\n"
    "frame\nup left\nframe\nkey up L\nframe\n";
const std::string ctrl_i = "key down Left Ctrl\nkey press I\nframe\nkey up Left Ctrl\nframe\n";
const std::string blue_band = "set \"FLUIDITY\" 0\nset \"BRUSH:SIZE\" 8\ncolor 0.05 0.1 0.9\n";
// Red strokes down through the lasso (x 50) and beside it (x 110).
const std::string red_strokes = "color 0.9 0.1 0.05\n" + drag_script(50, 10, 50, 80) + drag_script(110, 10, 110, 80);

float mask_at(int x, int y) {
  return at(gpu::canvas_buffers.mask.texture(), x, y)[3];
}

}  // namespace

// With L held a left drag draws a lasso and paints nothing; letting go masks
// its inside: strokes across it show only outside the lasso while the mode
// lasts, and leaving the mode puts the paint inside it back.
TEST(ModeKeys, LassoMasksItsInside) {
  ScriptRun r(W, H);
  ASSERT_EQ(r.run(blue_band + drag_script(20, 45, 140, 45) + lasso), "");
  ASSERT_EQ(modes.mask_mode, 1);
  EXPECT_GT(mask_at(50, 45), 0.99f);
  EXPECT_LT(mask_at(110, 45), 0.01f);
  EXPECT_LT(mask_at(50, 10), 0.01f);
  const std::vector<float> m = read_texture(layers.active->fbo_mat(), W, H, GL_RED, 1);
  for (int x = 30; x <= 70; x += 5) EXPECT_EQ(m[std::size_t(H - 1 - 20) * W + std::size_t(x)], 0.0f) << "x " << x;

  ASSERT_EQ(r.run(red_strokes), "");
  expect_masked_then_restored(r, {50, 45}, {110, 45});
}

// Ctrl+I turns the mask inside out: after a lasso the paint outside it is
// kept and the inside is free. Outside mask mode it starts the mode with the
// paint's mask turned, so that strokes change only the paint.
TEST(ModeKeys, CtrlIInvertsTheMask) {
  {
    ScriptRun r(W, H);
    ASSERT_EQ(r.run(blue_band + drag_script(20, 45, 140, 45) + lasso + ctrl_i), "");
    ASSERT_EQ(modes.mask_mode, 1);
    EXPECT_LT(mask_at(50, 45), 0.01f);
    EXPECT_GT(mask_at(110, 45), 0.99f);
    ASSERT_EQ(r.run(red_strokes), "");
    expect_masked_then_restored(r, {110, 45}, {50, 45});
  }
  ScriptRun r(W, H);
  ASSERT_EQ(r.run(blue_band + drag_script(20, 45, 140, 45) + ctrl_i), "");
  EXPECT_EQ(modes.mask_mode, 1);
  EXPECT_LT(mask_at(80, 45), 0.01f) << "the paint is free";
  EXPECT_GT(mask_at(80, 10), 0.99f) << "the bare canvas is masked";
}
