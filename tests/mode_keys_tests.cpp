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

}  // namespace

// Paint present when mask mode starts is masked: the display keeps showing
// it while strokes cross it, and leaving the mode puts it back; paint laid
// outside it stays.
TEST(ModeKeys, MaskedPaintIsShownAndRestored) {
  ScriptRun r(W, H);
  ASSERT_EQ(r.run("set \"FLUIDITY\" 0\nset \"BRUSH:SIZE\" 8\ncolor 0.05 0.1 0.9\n" + drag_script(20, 30, 140, 30)), "");
  ASSERT_TRUE(bluish(at(layers.active->fbo_col(), 80, 30)));
  ASSERT_EQ(r.run(ctrl_q + "color 0.9 0.1 0.05\n" + drag_script(80, 10, 80, 80)), "");
  EXPECT_EQ(modes.mask_mode, 1);
  EXPECT_TRUE(reddish(at(layers.active->fbo_col(), 80, 30))) << "the live paint took the stroke";
  EXPECT_TRUE(bluish(at(gpu::canvas_buffers.view_image.texture(), 80, 30))) << "the view shows the masked paint";
  EXPECT_TRUE(reddish(at(gpu::canvas_buffers.view_image.texture(), 80, 70)));
  ASSERT_EQ(r.run(ctrl_q), "");
  EXPECT_EQ(modes.mask_mode, 0);
  EXPECT_TRUE(bluish(at(layers.active->fbo_col(), 80, 30))) << "leaving restores the masked paint";
  EXPECT_TRUE(reddish(at(layers.active->fbo_col(), 80, 70))) << "paint outside the mask stays";
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
