#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/frame_state.h"
#include "app/pen_input.h"
#include "brush/brush_settings.h"
#include "document/document_state.h"
#include "document/frame_settings.h"
#include "platform/null_input.h"
#include "platform/script_input.h"
#include "platform/tablet.h"

namespace {

// A window with nothing behind it: the mouse simulation only asks its size.
class SizedWindow final : public platform::Window {
 public:
  bool headless() const override { return true; }
  void set_title(const std::string&) override {}
  void client_size(int* w, int* h) override { *w = 320, *h = 180; }
  void desktop_size(int* w, int* h) override { *w = 320, *h = 180; }
  void place(int, int, int, int) override {}
  void show_cursor(bool) override {}
  void pump_events() override {}
  void wait_events() override {}
  void wait_frame_tick() override {}
  void bind_screen() override {}
  void present() override {}
  platform::Answer confirm(const std::string&, const std::string&) override { return platform::Answer::cancel; }
};

// Runs the pen's part of each frame (prologue, pen sampling, stroke pressure,
// radius, tool mode) over `input` until the script ends.
struct PenFrames {
  float radius, pressure;
  bool pen_active;
  unsigned char tool_mode;
};

std::vector<PenFrames> run_pen_frames(platform::Input& input, platform::ScriptInput* script) {
  SizedWindow window;
  if (script)
    script->set_event_sink([](const platform::WindowEvent& e) {
      if (e.button == 1) app.mouse_left = e.type == platform::WindowEventType::button_down;
    });
  open_pen(window, input, frame_state);
  std::vector<PenFrames> frames;
  std::string error;
  auto run = [](const platform::ScriptCommand&, std::string*) { return true; };
  for (int n = 0; n < 200; ++n) {
    if (script && !script->begin_frame(run, &error)) break;
    if (!script) app.mouse_left = n >= 2;
    sample_pen_pressure();
    sample_pen_packet(frame_state);
    PointerFrame in;
    in.left = app.mouse_left;
    in.pen_active = app.pen_active;
    in.pen_pressure = app.pen_pressure;
    update_pressure(frame_state, in);
    update_radius(frame_state);
    update_tool_mode(frame_state, 0, false);
    frames.push_back({frame_state.radius, frame_state.stroke_pressure, app.pen_active, frame_state.tool_mode});
    if (!script && n == 5) break;
  }
  EXPECT_EQ(error, "");
  close_pen();
  return frames;
}

std::unique_ptr<platform::ScriptInput> parse(const std::string& text) {
  std::string error;
  auto script = platform::ScriptInput::parse(
      text, "pen", [](const platform::ScriptCommand&, std::string*) { return true; }, &error);
  EXPECT_TRUE(script) << error;
  return script;
}

class PenInput : public testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  static void reset() {
    reset_application_state();
    document::reset_settings();
  }
};

// A stroke whose pressure rises from light to full over 40 frames.
std::string rising_stroke() {
  std::string s = "mouse 100 90\npen 0.05\nframe\ndown left\n";
  for (int i = 1; i <= 40; ++i)
    s += "mouse " + std::to_string(100 + i) + " 90\npen " + std::to_string(i / 40.0) + "\nframe\n";
  return s + "frame 5\nup left\npen off\nframe 2\n";
}

}  // namespace

TEST_F(PenInput, RisingScriptedPressureWidensTheBrushOnlyWithPenSize) {
  for (unsigned char pen_size : {1, 0}) {
    reset();
    brush_settings.pen_size = pen_size;
    brush_settings.size = 24;
    auto script = parse(rising_stroke());
    ASSERT_TRUE(script);
    testing::internal::CaptureStdout();
    const std::vector<PenFrames> frames = run_pen_frames(*script, script.get());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "the scripted pen is a tablet";
    ASSERT_GE(frames.size(), 45u);
    const PenFrames& early = frames[4];
    const PenFrames& late = frames[42];
    EXPECT_TRUE(early.pen_active && late.pen_active);
    EXPECT_LT(early.pressure, 0.3f);
    EXPECT_GT(late.pressure, 0.9f);
    if (pen_size) {
      EXPECT_GT(late.radius, 20.0f);
      EXPECT_LT(early.radius, 0.25f * late.radius);
      for (std::size_t i = 5; i <= 42; ++i) EXPECT_GE(frames[i].radius + 1e-3f, frames[i - 1].radius) << "frame " << i;
    } else {
      for (std::size_t i = 1; i <= 42; ++i) EXPECT_EQ(frames[i].radius, 24.0f) << "frame " << i;
    }
    EXPECT_FALSE(frames.back().pen_active) << "pen off: the pen goes idle";
  }
}

TEST_F(PenInput, TheEraserEndSwitchesTheToolToErase) {
  const struct {
    unsigned char brush_mode;
    unsigned char with_eraser, with_tip;
  } cases[] = {{0, 2, 0}, {1, 2, 1}, {2, 0, 2}, {3, 2, 3}};
  for (const auto& c : cases) {
    reset();
    frame_state.brush_mode = c.brush_mode;
    auto script = parse(
        "pen 0.5 eraser\nframe\npen 0.5 0 60 eraser\nframe 3\npen 0.5\nframe\npen 0.5 eraser\nframe\npen off\nframe "
        "2\n");
    ASSERT_TRUE(script);
    const std::vector<PenFrames> frames = run_pen_frames(*script, script.get());
    ASSERT_EQ(frames.size(), 8u);
    const unsigned char want[8] = {c.with_eraser, c.with_eraser, c.with_eraser, c.with_eraser,
                                   c.with_tip,    c.with_eraser, c.with_tip,    c.with_tip};
    for (int i = 0; i < 8; ++i)
      EXPECT_EQ(frames[i].tool_mode, want[i]) << "brush mode " << int(c.brush_mode) << ", frame " << i;
  }
}

TEST_F(PenInput, WithoutATabletTheMouseDrivesAndThePenStaysIdle) {
  platform::tablet::start(nullptr);
  platform::NullInput no_input;
  testing::internal::CaptureStdout();
  const std::vector<PenFrames> frames = run_pen_frames(no_input, nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "No tablets connected!\n");
  for (const PenFrames& f : frames) {
    EXPECT_FALSE(f.pen_active);
    EXPECT_EQ(f.tool_mode, 0);
  }
  EXPECT_EQ(app.pen_pressure, 1.0f) << "the left button presses fully in the mouse simulation";
}
