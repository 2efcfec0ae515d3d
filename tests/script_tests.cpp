#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/recorder.h"
#include "app/script_commands.h"
#include "platform/dialogs.h"
#include "platform/script_input.h"

namespace {

using platform::ScriptCommand;
using platform::ScriptInput;

std::unique_ptr<ScriptInput> parse(const std::string& text, std::string* error) {
  return ScriptInput::parse(text, "s", check_script_command, error);
}

// Runs every frame boundary, collecting the commands handed to the application.
struct Replay {
  std::unique_ptr<ScriptInput> script;
  std::vector<platform::WindowEvent> events;
  std::vector<ScriptCommand> commands;
  std::string error;

  explicit Replay(const std::string& text) {
    script = parse(text, &error);
    if (script) script->set_event_sink([this](const platform::WindowEvent& e) { events.push_back(e); });
  }
  bool frame() {
    return script->begin_frame(
        [this](const ScriptCommand& c, std::string*) {
          commands.push_back(c);
          return true;
        },
        &error);
  }
};

}  // namespace

TEST(ScriptTest, BadLinesAreRefusedWithTheirLineNumber) {
  struct Case {
    const char* text;
    const char* where;  // "s:LINE:"
    const char* why;    // part of the reason
  } cases[] = {
      {"frame\nfly 3 4\n", "s:2:", "unknown command"},
      {"mouse 3\n", "s:1:", "mouse wants X Y"},
      {"mouse 3 nan\n", "s:1:", "mouse wants X Y"},
      {"# fine\n\ndown sideways\n", "s:3:", "left, right or middle"},
      {"key press Hyper\n", "s:1:", "unknown key name"},
      {"key hold A\n", "s:1:", "down, up or press"},
      {"wheel 1.5\n", "s:1:", "whole number"},
      {"pen 1.2\n", "s:1:", "PRESSURE"},
      {"pen 0.5 400 30\n", "s:1:", "azimuth"},
      {"frame 0\n", "s:1:", "count"},
      {"frame -2\n", "s:1:", "count"},
      {"frame\ncanvas 320 180\n", "s:2:", "before the first frame"},
      {"canvas 8 8\n", "s:1:", "16 to 16384"},
      {"seed -1\n", "s:1:", "seed"},
      {"set \"NO SUCH DIAL\" 1\n", "s:1:", "no control"},
      {"set \"GUI:BRUSH\" 1\n", "s:1:", "drives no value"},
      {"set \"FLUIDITY 1\n", "s:1:", "quote"},
      {"set FLUIDITY\n", "s:1:", "LABEL"},
      {"color 1 0.5\n", "s:1:", "R G B"},
      {"color 1 0.5 2\n", "s:1:", "0..1"},
      {"answer maybe\n", "s:1:", "ok, cancel"},
      {"choose a b\n", "s:1:", "one file"},
      {"export shot.jpg\n", "s:1:", ".png"},
      {"save\n", "s:1:", "one file"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(parse(c.text, &error), nullptr) << c.text;
    EXPECT_EQ(error.rfind(c.where, 0), 0u) << c.text << " -> " << error;
    EXPECT_NE(error.find(c.why), std::string::npos) << c.text << " -> " << error;
  }
}

TEST(ScriptTest, CommandsActAtTheirFrame) {
  Replay r(
      "canvas 320 180  # size\nseed 42\n"
      "mouse 10.5 20\ndown left\nkey down Left Shift\nkey press F9\nwheel 2\nset \"BRUSH:SIZE\" 30\nframe\n"
      "up left\nkey up Left Shift\npen 0.75 90 45 eraser\nframe 3\n"
      "pen off\nanswer ok\nchoose\nchoose \"my file.olp\"\nexport \"out put.png\"\n");
  ASSERT_TRUE(r.script) << r.error;
  ASSERT_EQ(r.script->preamble().size(), 2u);
  EXPECT_EQ(r.script->preamble()[0].a, 320);
  EXPECT_EQ(r.script->preamble()[1].a, 42);
  EXPECT_EQ(r.script->total_frames(), 4);

  platform::Input& in = *r.script;
  ASSERT_TRUE(r.frame());
  float x = 0, y = 0;
  in.mouse_position(&x, &y);
  EXPECT_EQ(x, 10.5f);
  EXPECT_EQ(y, 20);
  EXPECT_TRUE(in.key_down("Left Shift"));
  EXPECT_TRUE(in.key_hit("F9"));
  EXPECT_FALSE(in.key_hit("F9"));  // a press is consumed by asking
  EXPECT_TRUE(in.key_down("F9"));
  EXPECT_EQ(in.wheel(), 2);
  in.discard_wheel();
  EXPECT_EQ(in.wheel(), 0);
  ASSERT_EQ(r.commands.size(), 1u);
  EXPECT_EQ(r.commands[0].text, "BRUSH:SIZE");
  EXPECT_EQ(r.commands[0].a, 30);
  platform::PenSample pen;
  EXPECT_FALSE(in.scripted_pen(&pen));

  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(r.frame()) << i;
    EXPECT_FALSE(in.key_down("F9")) << "a key press lasts one frame";
    EXPECT_FALSE(in.key_down("Left Shift"));
    ASSERT_TRUE(in.scripted_pen(&pen)) << "a new packet every frame";
    EXPECT_EQ(pen.pressure, 0.75f);
    EXPECT_EQ(pen.azimuth, 90);
    EXPECT_TRUE(pen.eraser);
  }
  EXPECT_EQ(r.commands.size(), 1u);
  ASSERT_EQ(r.events.size(), 3u);  // pointer moved, button down, button up
  EXPECT_EQ(r.events[1].type, platform::WindowEventType::button_down);
  EXPECT_EQ(r.events[2].type, platform::WindowEventType::button_up);

  // The commands after the last frame still run, then the script ends.
  EXPECT_FALSE(r.frame());
  EXPECT_TRUE(r.error.empty()) << r.error;
  EXPECT_FALSE(in.scripted_pen(&pen));
  ASSERT_EQ(r.commands.size(), 5u);
  EXPECT_EQ(r.commands[1].answer, platform::Answer::ok);
  EXPECT_TRUE(r.commands[2].cancelled);
  EXPECT_EQ(r.commands[3].text, "my file.olp");
  EXPECT_EQ(r.commands[4].text, "out put.png");
}

// A failing command stops the replay with its line.
TEST(ScriptTest, AFailingCommandStopsTheReplay) {
  auto script = parse("frame\nset \"FLUIDITY\" 3\nframe\nframe\n", nullptr);
  ASSERT_TRUE(script);
  platform::QueuedDialogs dialogs;
  auto run = [&](const ScriptCommand& c, std::string* why) { return run_script_command(c, dialogs, why); };
  std::string error;
  EXPECT_TRUE(script->begin_frame(run, &error));
  EXPECT_FALSE(script->begin_frame(run, &error));
  EXPECT_EQ(error.rfind("s:2:", 0), 0u) << error;
  EXPECT_NE(error.find("FLUIDITY"), std::string::npos) << error;
}

// Boxes take the queued answers in order, and Cancel when none is left.
TEST(ScriptTest, QueuedDialogsAnswerInOrder) {
  platform::QueuedDialogs queued;
  queued.queue_answer(platform::Answer::yes);
  queued.queue_answer(platform::Answer::ok);
  queued.queue_choice(std::string("a.olp"));
  queued.queue_choice(std::nullopt);
  platform::Dialogs& d = queued;
  EXPECT_EQ(d.confirm("Defaults", "Reset Default Settings?", platform::BoxButtons::yes_no_cancel),
            platform::Answer::yes);
  EXPECT_EQ(d.confirm("Exit Ollan...", "Are you sure you want to leave?"), platform::Answer::ok);
  EXPECT_EQ(d.confirm("Exit Ollan...", "Are you sure you want to leave?"), platform::Answer::cancel);
  EXPECT_EQ(d.open_file("Load", ""), std::optional<std::string>("a.olp"));
  EXPECT_EQ(d.save_file("Save", "", ""), std::nullopt);
  EXPECT_EQ(d.open_file("Load", ""), std::nullopt);
}

// What a recorder writes replays the same input at the same frames, with a
// box answered between frames placed before the frame that asked it.
TEST(ScriptTest, RecordingReplaysTheSameInput) {
  Recorder rec(320, 180, 9);
  rec.begin_frame(5, 6);
  rec.end_frame();
  rec.key("Left Ctrl", true);
  rec.key("AudioPlay", true);  // no key of ours: left out, or the script would not read
  rec.window_event({platform::WindowEventType::button_down, 1});
  rec.begin_frame(5, 6);
  rec.end_frame();
  rec.begin_frame(5, 6);
  rec.end_frame();
  rec.answer(platform::Answer::cancel);  // the Escape box after the third frame
  rec.key("Left Ctrl", false);
  rec.wheel(-1);
  rec.window_event({platform::WindowEventType::button_up, 1});
  rec.begin_frame(7.25f, 8);
  rec.end_frame();

  Replay r(rec.text());
  ASSERT_TRUE(r.script) << r.error << "\n" << rec.text();
  EXPECT_EQ(r.script->total_frames(), 4);
  EXPECT_EQ(r.script->preamble()[0].a, 320);
  EXPECT_EQ(r.script->preamble()[1].a, 9);
  platform::Input& in = *r.script;
  float x = 0, y = 0;
  ASSERT_TRUE(r.frame());
  EXPECT_FALSE(in.key_down("Left Ctrl"));
  ASSERT_TRUE(r.frame());
  EXPECT_TRUE(in.key_down("Left Ctrl"));
  EXPECT_EQ(r.events.back().type, platform::WindowEventType::button_down);
  EXPECT_TRUE(r.commands.empty());
  ASSERT_TRUE(r.frame());
  ASSERT_EQ(r.commands.size(), 1u);  // queued before the frame after which it is asked
  EXPECT_EQ(r.commands[0].answer, platform::Answer::cancel);
  const size_t seen = r.events.size();
  ASSERT_TRUE(r.frame());
  EXPECT_FALSE(in.key_down("Left Ctrl"));
  EXPECT_EQ(in.wheel(), -1);
  EXPECT_TRUE(std::any_of(r.events.begin() + std::ptrdiff_t(seen), r.events.end(),
                          [](const auto& e) { return e.type == platform::WindowEventType::button_up; }));
  in.mouse_position(&x, &y);
  EXPECT_EQ(x, 7.25f);
  EXPECT_FALSE(r.frame());
}
