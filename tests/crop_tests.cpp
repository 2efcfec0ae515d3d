#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/crop_mode.h"
#include "app/view.h"
#include "gpu/geometry.h"
#include "layers/canvas_setup.h"
#include "layers/layer.h"
#include "tests/gl_fixture.h"
#include "tests/resizable_window.h"
#include "tests/script_run.h"

namespace {

// The centre of the active layer's paint, in texture pixels.
std::pair<float, float> paint_centre() {
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  const std::vector<float> m = read_texture(layers.active->fbo_mat(), w, h, GL_RED, 1);
  double sx = 0, sy = 0, sum = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double a = m[std::size_t(y) * w + x];
      sx += a * x;
      sy += a * y;
      sum += a;
    }
  return sum > 0 ? std::pair{float(sx / sum), float(sy / sum)} : std::pair{-1.0f, -1.0f};
}

std::string drag(int x0, int y0, int x1, int y1, const char* button = "left") {
  return "mouse " + std::to_string(x0) + " " + std::to_string(y0) + "\nframe\ndown " + button + "\nframe\nmouse " +
         std::to_string(x1) + " " + std::to_string(y1) + "\nframe\nup " + button + "\nframe\n";
}

const std::string enter = "key down Left Shift\nkey press F2\nframe\nkey up Left Shift\nframe\n";

}  // namespace

// A dab at a known place moves with the frame's top-left corner to the new
// origin; the handles drag the frame and a press inside crops to it.
TEST(Crop, MarkerLandsWhereTheFramePutsIt) {
  ScriptRun r(320, 180);
  ASSERT_EQ(r.run("set \"FLUIDITY\" 0\nset \"BRUSH:SIZE\" 3\nmouse 95 60\nframe\ndown left\nframe\nmouse 100 "
                  "62\nframe\nmouse 105 64\n"
                  "frame\nup left\nframe\n"),
            "");
  const auto [mx, my] = paint_centre();
  ASSERT_GT(mx, 80);
  ASSERT_EQ(r.run(enter + drag(5, 5, 60, 30) + drag(315, 175, 260, 150)), "");
  ASSERT_TRUE(modes.crop_mode) << "a press on a handle drags it and does not crop";
  ASSERT_EQ(r.run(drag(150, 90, 150, 90)), "");
  EXPECT_FALSE(modes.crop_mode);
  EXPECT_EQ(gpu::geometry.width, 200);
  EXPECT_EQ(gpu::geometry.height, 120);
  const auto [x, y] = paint_centre();
  EXPECT_NEAR(x, mx - 60, 0.01);
  // 30 rows went above the marker and 30 below it.
  EXPECT_NEAR(y, my - 30, 0.01);
}

// A resize moves the canvas to the middle of the new window; the crop frame
// goes with it and crops the same part of the painting.
TEST(Crop, FrameMovesWithTheCanvasOnAResize) {
  ScriptRun r(320, 180);
  ResizableWindow window(r.window(), 1000, 700);
  r.set_front_window(&window);
  // The canvas lies at (340, 260) in the window.
  ASSERT_EQ(r.run("set \"FLUIDITY\" 0\nset \"BRUSH:SIZE\" 3\nmouse 435 320\nframe\ndown left\nframe\nmouse 440 "
                  "322\nframe\nmouse 445 324\nframe\nup left\nframe\n"),
            "");
  const auto [mx, my] = paint_centre();
  ASSERT_GT(mx, 80);
  ASSERT_EQ(r.run(enter + drag(345, 265, 385, 295)), "");
  window.resize(900, 760);
  ASSERT_EQ(r.run("frame\n"), "");
  EXPECT_FLOAT_EQ(crop_frame.top_left.x, 335);
  EXPECT_FLOAT_EQ(crop_frame.top_left.y, 325);
  // Its top-left handle, a light square 5 pixels inside the corner, is drawn
  // there in window pixels.
  const std::array<float, 3> handle = window_mean(window, 338, 328, 343, 333, 760);
  EXPECT_GT(handle[0] + handle[1] + handle[2], 3 * 0.85f);
  ASSERT_EQ(r.run(enter), "");
  EXPECT_EQ(gpu::geometry.width, 275);
  EXPECT_EQ(gpu::geometry.height, 145);
  const auto [x, y] = paint_centre();
  EXPECT_NEAR(x, mx - 45, 0.01);
  // Texture rows count from the bottom edge, which the frame kept.
  EXPECT_NEAR(y, my, 0.01);
  r.set_front_window(nullptr);
}

// At zoom 2 a frame of 400 x 300 window pixels keeps 200 x 150 canvas pixels.
TEST(Crop, ZoomTwoHalvesTheFrame) {
  ScriptRun r(480, 360);
  ASSERT_EQ(r.run("mouse 240 180\nframe\n" + enter + "key press Keypad +\nframe\n" + drag(475, 355, 400, 300) +
                  "key down Left Shift\nkey press F2\nframe\nkey up Left Shift\nframe\n"),
            "");
  EXPECT_EQ(view.zoom, 2.0f) << "the view keeps its zoom";
  EXPECT_EQ(gpu::geometry.width, 200);
  EXPECT_EQ(gpu::geometry.height, 150);
}

// The right button and F2 leave crop mode and change nothing
// (tests/crop_escape.sh runs Escape, which the main loop handles).
TEST(Crop, LeavingChangesNothing) {
  struct Case {
    const char* how;
    std::string script;
  } cases[] = {
      {"right press", drag(160, 90, 160, 90, "right")},
      {"F2", "key press F2\nframe\n"},
  };
  for (const Case& c : cases) {
    ScriptRun r(320, 180);
    ASSERT_EQ(r.run("mouse 160 90\nframe\n" + enter + drag(5, 5, 100, 50)), "");
    ASSERT_TRUE(modes.crop_mode);
    ASSERT_EQ(r.run(c.script), "");
    EXPECT_FALSE(modes.crop_mode) << c.how;
    EXPECT_EQ(gpu::geometry.width, 320) << c.how;
    EXPECT_EQ(gpu::geometry.height, 180) << c.how;
  }
}

// The panel's MENU:CROP enters crop mode (its request is not a cancel) and
// leaves it again; entering stands the view upright and stops its spin.
TEST(Crop, MenuCropTogglesAndStopsTheSpin) {
  ScriptRun r(320, 180);
  ASSERT_EQ(r.run("mouse 160 90\nframe\nkey down =\nframe 5\nkey up =\nframe\nset \"MENU:CROP\" 1\nframe\n"), "");
  EXPECT_TRUE(modes.crop_mode);
  EXPECT_EQ(view.angle, 0);
  EXPECT_EQ(view.spin, 0);
  ASSERT_EQ(r.run("frame 3\n"), "");
  EXPECT_EQ(view.angle, 0);
  ASSERT_EQ(r.run("set \"MENU:CROP\" 1\nframe\n"), "");
  EXPECT_FALSE(modes.crop_mode);
}

// A frame collapsed to a line, or one that would keep more than the largest
// canvas, crops nothing.
TEST(Crop, SizesTheCanvasCannotTakeAreRefused) {
  const vec2d a = vec2d::Create(10, 10);
  EXPECT_FALSE(cropped_size(a, vec2d::Create(10, 200), 1));
  EXPECT_FALSE(cropped_size(a, vec2d::Create(10.5f, 10.5f), 1));
  EXPECT_FALSE(cropped_size(a, vec2d::Create(3000, 2000), 0.25f));
  EXPECT_EQ(cropped_size(vec2d::Create(410, 310), a, 2), (std::pair{200, 150})) << "crossed corners";
  EXPECT_EQ(stepped_canvas_size(1280, 720, true), (std::pair{2560, 1440}));
  EXPECT_EQ(stepped_canvas_size(1280, 720, false), (std::pair{640, 360}));
  EXPECT_FALSE(stepped_canvas_size(max_canvas_side, 720, true));
  EXPECT_FALSE(stepped_canvas_size(1, 1, false));

  ScriptRun r(320, 180);
  ASSERT_EQ(r.run("mouse 160 90\nframe\n" + enter + drag(5, 5, 315, 5) + drag(160, 90, 160, 90)), "");
  EXPECT_EQ(gpu::geometry.width, 320);
  EXPECT_EQ(gpu::geometry.height, 180);
}

// Ctrl+F2 asks, then starts a canvas of twice the size; Cancel keeps the
// canvas; Shift+Ctrl+F2 halves.
TEST(Crop, CtrlF2DoublesAfterAskingAndShiftCtrlF2Halves) {
  ScriptRun r(320, 180);
  ASSERT_EQ(r.run("mouse 160 90\nframe\nkey down Left Ctrl\nkey press F2\nframe\nkey up Left Ctrl\nframe\n"), "");
  EXPECT_EQ(gpu::geometry.width, 320) << "unanswered: Cancel";
  ASSERT_EQ(r.run("answer ok\nkey down Left Shift\nkey down Left Ctrl\nkey press F2\nframe\n"), "");
  EXPECT_EQ(gpu::geometry.width, 160);
  EXPECT_EQ(gpu::geometry.height, 90);
  ScriptRun big(1280, 720);
  ASSERT_EQ(big.run("answer ok\nkey down Left Ctrl\nkey press F2\nframe\n"), "");
  EXPECT_EQ(gpu::geometry.width, 2560);
  EXPECT_EQ(gpu::geometry.height, 1440);
  ASSERT_EQ(layers.list.size(), 1u);
}
