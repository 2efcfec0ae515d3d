// "New Project" (Ctrl+Delete): "Clear project?", then "Reset Default
// Settings?"; declined, the new project keeps the settings. Every new canvas
// (New Project, Ctrl+F2, Shift+Ctrl+F2) starts as a new painting: no file
// name, no crop frame, the current colour in its layer, zoom 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/file_commands.h"
#include "app/view.h"
#include "gpu/canvas_buffers.h"
#include "gpu/canvas_presets.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "layers/layer.h"
#include "tests/gl_fixture.h"
#include "tests/script_run.h"
#include "tests/temp_dir.h"

namespace {

const std::string move_light =
    "key down \"Left Shift\"\nkey down Right\nframe 3\nkey up Right\nkey up \"Left Shift\"\nframe\n";
const std::string new_project = "key down \"Left Ctrl\"\nkey press Delete\nframe\nkey up \"Left Ctrl\"\nframe\n";
const std::string enter_crop = "key down \"Left Shift\"\nkey press F2\nframe\nkey up \"Left Shift\"\nframe\n";

std::string click(int x, int y) {
  const std::string at = "mouse " + std::to_string(x) + " " + std::to_string(y) + "\n";
  return at + "frame\ndown left\nframe\nup left\nframe\n";
}

std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(NewProject, DefaultsResetTheLightAndTheCanvasPresets) {
  ScriptRun r(160, 90);
  ASSERT_EQ(r.run(move_light + "key press F9\nframe\n"), "");
  const float moved = gpu::display_settings.light_pos[0];
  ASSERT_NE(moved, 0.5f);
  gpu::canvas_presets.presets[1].strength = 0.9f;
  ASSERT_EQ(layers.list.size(), 2u);

  // Cancelled at the first box: nothing happens.
  ASSERT_EQ(r.run("answer cancel\n" + new_project), "");
  EXPECT_EQ(layers.list.size(), 2u);
  // Declining the defaults: a new project with the settings kept.
  ASSERT_EQ(r.run("answer ok\nanswer cancel\n" + new_project), "");
  EXPECT_EQ(layers.list.size(), 1u);
  EXPECT_EQ(gpu::display_settings.light_pos[0], moved);
  EXPECT_EQ(gpu::canvas_presets.presets[1].strength, 0.9f);
  // Accepting them.
  ASSERT_EQ(r.run(move_light + "answer ok\nanswer ok\n" + new_project), "");
  EXPECT_EQ(gpu::display_settings.light_pos[0], 0.5f);
  EXPECT_EQ(gpu::display_settings.light_pos[2], 1.5f);
  EXPECT_EQ(gpu::canvas_presets.presets[1].strength, 0.5f);
}

}  // namespace

// The new painting is not the saved one: S asks for a name instead of
// overwriting the old file, and the old crop frame is gone, so the next click
// paints instead of cropping the new canvas.
TEST(NewProject, ForgetsTheFileNameAndTheCropFrame) {
  TempDir dir;
  const std::string saved = dir / "painting.olp";
  ScriptRun r(160, 90);
  ASSERT_EQ(
      r.run("mouse 40 40\nframe\ndown left\nframe\nmouse 120 50\nframe 3\nup left\nframe\nsave " + saved + "\nframe\n"),
      "");
  ASSERT_EQ(file_commands.current_name, saved);
  ASSERT_NE(app.title.find("painting.olp"), std::string::npos);
  const std::string before = file_bytes(saved);
  ASSERT_FALSE(before.empty());
  // A crop frame dragged smaller by its top-left handle.
  ASSERT_EQ(r.run(enter_crop + "mouse 5 5\nframe\ndown left\nframe\nmouse 30 20\nframe\nup left\nframe\n"), "");
  ASSERT_TRUE(modes.crop_mode);

  ASSERT_EQ(r.run("answer ok\nanswer cancel\n" + new_project), "");
  EXPECT_FALSE(modes.crop_mode);
  EXPECT_TRUE(file_commands.current_name.empty());
  EXPECT_EQ(app.title.find("painting.olp"), std::string::npos) << "the title still names the old file";
  ASSERT_EQ(r.run(click(80, 45)), "");
  EXPECT_EQ(gpu::geometry.width, 160);
  EXPECT_EQ(gpu::geometry.height, 90);
  // An OK ready for an overwrite question, which must not come.
  ASSERT_EQ(r.run("answer ok\nkey press S\nframe\n"), "");
  EXPECT_TRUE(file_bytes(saved) == before) << "the saved painting was overwritten";
  EXPECT_TRUE(file_commands.current_name.empty());
}

// A painting loaded in crop mode is not cropped by the old frame.
TEST(NewProject, LoadingLeavesCropMode) {
  TempDir dir;
  const std::string saved = dir / "wide.olp";
  ScriptRun r(160, 90);
  ASSERT_EQ(r.run("save " + saved + "\nframe\n"), "");
  ASSERT_EQ(r.run(enter_crop + "mouse 5 5\nframe\ndown left\nframe\nmouse 30 20\nframe\nup left\nframe\n"), "");
  ASSERT_TRUE(modes.crop_mode);
  ASSERT_EQ(r.run("load " + saved + "\nframe\n"), "");
  EXPECT_FALSE(modes.crop_mode);
  ASSERT_EQ(r.run(click(80, 45)), "");
  EXPECT_EQ(gpu::geometry.width, 160);
  EXPECT_EQ(gpu::geometry.height, 90);
}

// The warp map belongs to the old canvas: a new one starts out of warp mode.
TEST(NewProject, NewCanvasEndsWarpMode) {
  ScriptRun r(160, 90);
  ASSERT_EQ(r.run("key down \"Left Ctrl\"\nkey press W\nframe\nkey up \"Left Ctrl\"\nframe\n"), "");
  ASSERT_TRUE(modes.warp_mode);
  ASSERT_EQ(r.run("answer ok\nkey down \"Left Ctrl\"\nkey press F2\nframe\nkey up \"Left Ctrl\"\nframe\n"), "");
  EXPECT_EQ(gpu::geometry.width, 320);
  EXPECT_FALSE(modes.warp_mode);
}

// New Project, Ctrl+F2 and Shift+Ctrl+F2 make a canvas whose layer holds the
// current paint colour, shown at zoom 1 in the middle of the window.
TEST(NewProject, NewCanvasTakesTheCurrentColourAtZoomOne) {
  struct Case {
    const char* how;
    std::string script;
    int w, h;
  } cases[] = {
      {"New Project", "answer ok\nanswer cancel\n" + new_project, 160, 90},
      {"Ctrl+F2", "answer ok\nkey down \"Left Ctrl\"\nkey press F2\nframe\nkey up \"Left Ctrl\"\nframe\n", 320, 180},
      {"Shift+Ctrl+F2",
       "answer ok\nkey down \"Left Ctrl\"\nkey down \"Left Shift\"\nkey press F2\nframe\nkey up \"Left "
       "Shift\"\nkey up \"Left Ctrl\"\nframe\n",
       80, 45},
  };
  for (const Case& c : cases) {
    ScriptRun r(160, 90);
    ASSERT_EQ(r.run("mouse 80 45\nframe\nkey press \"Keypad +\"\nframe\ncolor 0.2 0.6 0.3\nframe\n"), "");
    ASSERT_EQ(view.zoom, 2.0f);
    ASSERT_EQ(r.run(c.script), "") << c.how;
    ASSERT_EQ(gpu::geometry.width, c.w) << c.how;
    ASSERT_EQ(gpu::geometry.height, c.h) << c.how;
    EXPECT_EQ(view.zoom, 1.0f) << c.how;
    EXPECT_EQ(view.zoom_reference, 1.0f) << c.how;
    EXPECT_FLOAT_EQ(view.top_left.x, (160 - c.w) / 2.0f) << c.how;
    EXPECT_FLOAT_EQ(view.top_left.y, (90 - c.h) / 2.0f) << c.how;
    const std::vector<float> col = read_texture(layers.active->fbo_col(), c.w, c.h, GL_RGBA, 4);
    for (std::size_t i : {std::size_t(0), col.size() / 2 + 4, col.size() - 4}) {
      EXPECT_NEAR(col[i], 0.2f, 1e-3f) << c.how;
      EXPECT_NEAR(col[i + 1], 0.6f, 1e-3f) << c.how;
      EXPECT_NEAR(col[i + 2], 0.3f, 1e-3f) << c.how;
      EXPECT_EQ(col[i + 3], 1.0f) << c.how;
    }
  }
}

// "Defaults" after loading a project on a noise canvas with its relief
// inverted: the canvas is the weave of the start again, not the weave's
// values laid on the noise.
TEST(NewProject, DefaultsPutBackTheCanvasKind) {
  TempDir dir;
  const std::string saved = dir / "noise.olp";
  std::vector<float> start;
  {
    ScriptRun fresh(1280, 720);
    ASSERT_EQ(fresh.run("frame\n"), "");
    start = read_texture(gpu::canvas_buffers.canvas_height.texture(), 1280, 720, GL_RED, 1);
  }
  ScriptRun r(160, 90);
  gpu::canvas_presets.current = 0;
  gpu::canvas_presets.presets[0].inv = 1;
  gpu::canvas_settings.mode = 0;
  gpu::canvas_settings.inv = 1;
  ASSERT_EQ(r.run("frame\nsave " + saved + "\nframe\n"), "");
  gpu::canvas_settings = gpu::start_canvas;
  gpu::canvas_presets = gpu::CanvasPresets{};
  ASSERT_EQ(r.run("load " + saved + "\nframe\n"), "");
  ASSERT_EQ(gpu::canvas_settings.mode, 0);
  ASSERT_EQ(gpu::canvas_settings.inv, 1);

  ASSERT_EQ(r.run("answer ok\nanswer ok\n" + new_project), "");
  EXPECT_EQ(gpu::canvas_settings.mode, 1);
  EXPECT_EQ(gpu::canvas_settings.inv, 0);
  EXPECT_EQ(gpu::canvas_presets.custom_canvas, 0);
  ASSERT_EQ(gpu::geometry.width, 1280);
  const std::vector<float> now = read_texture(gpu::canvas_buffers.canvas_height.texture(), 1280, 720, GL_RED, 1);
  float worst = 0;
  for (std::size_t i = 0; i < now.size(); ++i) worst = std::max(worst, std::abs(now[i] - start[i]));
  EXPECT_LT(worst, 1e-4f) << "the canvas relief differs from the start's";
}
