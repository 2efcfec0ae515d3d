// Frames that redo only what changed show the same window, frame by frame,
// as frames that redo everything; and they leave the stages out when
// nothing changed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/floating_panels.h"
#include "app/frame_changes.h"
#include "app/frame_profile.h"
#include "platform/gl.h"
#include "tests/script_run.h"

namespace {

std::string stroke(int x0, int y0, int x1, int y1, const char* button = "left") {
  std::string s = "mouse " + std::to_string(x0) + " " + std::to_string(y0) + "\nframe\ndown " + button + "\nframe\n";
  for (int i = 1; i <= 5; ++i)
    s += "mouse " + std::to_string(x0 + (x1 - x0) * i / 5) + " " + std::to_string(y0 + (y1 - y0) * i / 5) + "\nframe\n";
  return s + "up " + button + "\nframe 3\n";
}

// Every frame's window (RGBA8, as presented) of `script`.
std::vector<std::vector<unsigned char>> windows(const std::string& script, bool full, int w = 160, int h = 90) {
  change_tracker.always_full = full;
  ScriptRun r(w, h);
  std::vector<std::vector<unsigned char>> shots;
  const std::string error = r.run(script, [&](int) {
    std::vector<unsigned char> px(std::size_t(w) * std::size_t(h) * 4);
    r.window().bind_screen();
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    shots.push_back(std::move(px));
  });
  change_tracker.always_full = false;
  EXPECT_EQ(error, "");
  return shots;
}

}  // namespace

TEST(Redraw, EveryFrameOfTheWindowMatchesTheFullRedraw) {
  const struct {
    const char* name;
    std::string script;
  } cases[] = {
      {"strokes at zoom 1", "set \"BRUSH:SIZE\" 10\n" + stroke(20, 30, 140, 50) + stroke(30, 70, 120, 20, "right")},
      {"zoomed and turned",
       "mouse 80 45\nwheel 1\nframe 2\nkey down =\nframe 3\nkey up =\nframe\n" + stroke(40, 40, 120, 50) + "frame 2\n"},
      {"a new layer painted across the paint of the one below",
       "set \"BRUSH:SIZE\" 10\n" + stroke(20, 30, 140, 50) + "key press F9\nframe 2\n" + stroke(60, 10, 70, 80) +
           "key press F9\nframe 2\n" + stroke(100, 80, 110, 10)},
      {"high quality off, then glowing",
       "set \"HIGH QUALITY\" 0\n" + stroke(20, 20, 100, 70) + "set \"GLOWING\" 0.7\nframe\n" + stroke(100, 20, 20, 70)},
  };
  for (const auto& c : cases) {
    const auto fast = windows(c.script, false);
    const auto full = windows(c.script, true);
    ASSERT_EQ(fast.size(), full.size()) << c.name;
    for (size_t i = 0; i < fast.size(); ++i) EXPECT_TRUE(fast[i] == full[i]) << c.name << ": frame " << i;
  }
}

// At 640 x 480 the brush-mode panel stands at 352..512 x 352..480: the
// pointer crosses its controls, presses "=" and "*", and strokes pass beside
// and under its glass.
TEST(Redraw, FramesWithThePanelsMatchTheFullRedraw) {
  const std::string script =
      "set \"BRUSH:SIZE\" 12\nmouse 300 300\nframe\nmouse 380 450\nframe 2\nmouse 426 450\nframe\n"
      "down left\nframe\nup left\nframe 2\nmouse 497 442\nframe\ndown left\nframe\nup left\nframe\n" +
      stroke(250, 400, 330, 420) + stroke(300, 380, 600, 440) + "mouse 600 200\nframe 4\n";
  const auto fast = windows(script, false, 640, 480);
  const auto full = windows(script, true, 640, 480);
  ASSERT_EQ(fast.size(), full.size());
  for (size_t i = 0; i < fast.size(); ++i) EXPECT_TRUE(fast[i] == full[i]) << "frame " << i;
}

// Once the pointer rests over a control and its highlight has settled, the
// frames redraw nothing of the window, the panels included.
TEST(Redraw, ARestingPointerOverThePanelRedrawsNothing) {
  ScriptRun r(640, 480);
  std::vector<double> gui_px;
  std::vector<int> glass;
  frame_profile.enabled = true;
  frame_profile.gui = StageCost{};
  panels_drawn = {};
  const std::string error =
      r.run("mouse 300 300\nframe\nmouse 380 450\nframe\nmouse 482 465\nframe 120\nmouse 300 200\nframe\n", [&](int) {
        gui_px.push_back(frame_profile.gui.pixels);
        glass.push_back(panels_drawn.glass_quads);
        frame_profile.gui = StageCost{};
        panels_drawn = {};
      });
  frame_profile.enabled = false;
  ASSERT_EQ(error, "");
  ASSERT_EQ(glass.size(), 123u);
  EXPECT_GT(glass[0], 0) << "the first frame draws the panel";
  EXPECT_GT(glass[2], 0) << "the pointer over WARP lights it";
  for (size_t i = 100; i < 122; ++i) {
    EXPECT_EQ(gui_px[i], 0.0) << "frame " << i;
    EXPECT_EQ(glass[i], 0) << "frame " << i;
  }
  // Leaving the panel redraws where the pointer was and is, not the window.
  EXPECT_GT(gui_px[122], 0.0);
  EXPECT_LT(gui_px[122], 640.0 * 480.0);
}

TEST(Redraw, UnchangedFramesLeaveEveryStageOut) {
  ScriptRun r(160, 90);
  std::vector<double> display_px, gui_px;
  frame_profile.enabled = true;
  frame_profile.display = frame_profile.gui = StageCost{};
  const std::string error = r.run("set \"BRUSH:SIZE\" 8\n" + stroke(20, 45, 140, 45) + "frame 5\n", [&](int) {
    display_px.push_back(frame_profile.display.pixels);
    gui_px.push_back(frame_profile.gui.pixels);
    frame_profile.display = frame_profile.gui = StageCost{};
  });
  frame_profile.enabled = false;
  ASSERT_EQ(error, "");
  ASSERT_GT(display_px.size(), 10u);
  // The first frame draws everything; strokes redraw around the brush; the
  // frames after the stroke draw nothing.
  EXPECT_EQ(display_px.front(), 160.0 * 90.0);
  EXPECT_EQ(gui_px.front(), 160.0 * 90.0);
  bool part = false;
  for (double px : display_px) part = part || (px > 0 && px < 160.0 * 90.0);
  EXPECT_TRUE(part) << "no stroke frame redrew part of the picture";
  bool window_part = false;
  for (double px : gui_px) window_part = window_part || (px > 0 && px < 160.0 * 90.0);
  EXPECT_TRUE(window_part) << "no stroke frame redrew part of the window";
  for (size_t i = display_px.size() - 4; i < display_px.size(); ++i) {
    EXPECT_EQ(display_px[i], 0.0) << "frame " << i;
    EXPECT_EQ(gui_px[i], 0.0) << "frame " << i;
  }
}
