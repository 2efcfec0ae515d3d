// The window as the person at the desktop changes it: a resize of either
// side is followed by the view, the screen copy, the panels and the pointer;
// Shift+Home puts a moved or resized window back where start-up puts it.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/app_state.h"
#include "app/frame_state.h"
#include "app/view.h"
#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "tests/resizable_window.h"
#include "tests/script_run.h"

namespace {

const std::string shift_home = "key down \"Left Shift\"\nkey press Home\nframe\nkey up \"Left Shift\"\nframe\n";

}  // namespace

// 1000 x 700 to 900 x 800 keeps the sum of the sides and is a resize all the
// same.
TEST(WindowSize, EitherSideChangingIsAResize) {
  ScriptRun r(320, 180);
  ResizableWindow window(r.window(), 1000, 700);
  r.set_front_window(&window);
  ASSERT_EQ(r.run("mouse 500 350\nframe\n"), "");
  ASSERT_EQ(app.screen_w, 1000.0f);
  window.resize(900, 800);
  ASSERT_EQ(r.run("frame\n"), "");
  EXPECT_EQ(app.screen_w, 900.0f);
  EXPECT_EQ(app.screen_h, 800.0f);
  EXPECT_FLOAT_EQ(view.top_left.x, (900 - 320) / 2.0f);
  EXPECT_FLOAT_EQ(view.top_left.y, (800 - 180) / 2.0f);
  EXPECT_EQ(gpu::canvas_buffers.screen_copy.width(), 900);
  EXPECT_EQ(gpu::canvas_buffers.screen_copy.height(), 800);

  // A turned view turns the pointer about the new client centre, which
  // itself stays put.
  view.angle = 90;
  ASSERT_EQ(r.run("mouse 450 400\nframe\n"), "");
  EXPECT_NEAR(frame_state.rotated.x, 450, 1e-3);
  EXPECT_NEAR(frame_state.rotated.y, 400, 1e-3);
  view.angle = 0;

  // "MENU:CROP" stands 409 pixels in from the new right edge, 7 down, 45 x 20.
  ASSERT_FALSE(modes.crop_mode);
  ASSERT_EQ(r.run("mouse 513 17\nframe\ndown left\nframe 2\nup left\nframe\n"), "");
  EXPECT_TRUE(modes.crop_mode) << "the panel is laid out for the new width";
  r.set_front_window(nullptr);
}

// Shift+Home gives a window the person resized (and so moved) the canvas
// size back and places it by the start-up rule; in full-desktop mode it
// leaves that mode too.
TEST(WindowSize, ShiftHomePutsTheWindowBack) {
  for (const bool full_desktop : {false, true}) {
    ScriptRun r(160, 90);
    ResizableWindow window(r.window(), 160, 90);
    r.set_front_window(&window);
    ASSERT_EQ(r.run("mouse 80 45\nframe\n"), "");
    view.full_desktop = full_desktop;
    window.resize(300, 200);
    ASSERT_EQ(r.run("frame\n" + shift_home), "");
    int w = 0, h = 0;
    window.client_size(&w, &h);
    EXPECT_EQ(w, 160) << full_desktop;
    EXPECT_EQ(h, 90) << full_desktop;
    EXPECT_EQ(app.screen_w, 160.0f) << full_desktop;
    EXPECT_FALSE(view.full_desktop);
    // The headless desktop is 1920 x 1080.
    ASSERT_EQ(window.placements, 1) << full_desktop;
    EXPECT_EQ(window.placed.x, 882);
    EXPECT_EQ(window.placed.y, 506);
    EXPECT_EQ(window.placed.outer_w, 168);
    EXPECT_EQ(window.placed.outer_h, 119);
    r.set_front_window(nullptr);
  }
}

// The panels are drawn over the window at its size, not the canvas's: with
// a canvas twice the window's size (Ctrl+F2) the "CANVAS" group box (130 x 45
// at 130, 230 from the right edge) looks as it does with a canvas of the
// window's size. Paper lies behind it both times.
TEST(WindowSize, PanelsCoverTheWindowWhateverTheCanvasSize) {
  const std::string start = "mouse 700 700\nframe 2\n";
  std::array<float, 3> alike{};
  {
    ScriptRun r(640, 480);
    ASSERT_EQ(r.run(start), "");
    alike = window_mean(r.window(), 515, 235, 635, 270, 480);
  }
  ScriptRun r(640, 480);
  ASSERT_EQ(r.run(start + "answer ok\nkey down \"Left Ctrl\"\nkey press F2\nframe\nkey up \"Left Ctrl\"\nframe 2\n"),
            "");
  ASSERT_EQ(gpu::geometry.width, 1280);
  const std::array<float, 3> now = window_mean(r.window(), 515, 235, 635, 270, 480);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(now[std::size_t(c)], alike[std::size_t(c)], 0.03f) << "channel " << c;
}
