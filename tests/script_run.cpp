#include "tests/script_run.h"

#include "app/app_state.h"
#include "app/floating_panels.h"
#include "app/frame.h"
#include "app/frame_changes.h"
#include "app/frame_state.h"
#include "app/pen_input.h"
#include "app/script_commands.h"
#include "app/startup.h"
#include "app/view.h"
#include "base/random.h"
#include "brush/bristle.h"
#include "brush/stroke.h"
#include "document/document_state.h"
#include "platform/headless_window.h"
#include "tests/gl_fixture.h"

ScriptRun::ScriptRun(int w, int h) {
  gl_canvas(w, h);
  std::string error;
  window_ = platform::create_headless_window(w, h, &error);
  EXPECT_TRUE(window_) << error;
  reset_application_state();
  document::reset_settings();
  release_floating_panels();  // built afresh by the first frame, as at start-up
  app.screen_w = float(w);
  app.screen_h = float(h);
  centre_view(app.screen_w, app.screen_h, w, h);
  reset_frame_corners(w, h);
  stroke = StrokeState{};
  create_bristles();  // as start-up does, before the first random number of the run
  seed_random(1);
  change_tracker.invalidate();
}

ScriptRun::~ScriptRun() = default;

std::string ScriptRun::run(const std::string& text, const std::function<void(int)>& each) {
  std::string error;
  auto script = platform::ScriptInput::parse(text, "test", check_script_command, &error);
  if (!script) return error;
  for (const platform::ScriptCommand& c : script->preamble())
    if (c.type == platform::ScriptCommand::Type::seed) seed_random(std::uint64_t(c.a));
  platform::Window& window = front_ ? *front_ : *window_;
  script->set_event_sink([&window](const platform::WindowEvent& e) { handle_event(e, window); });
  Session session{window, *script, dialogs};
  open_pen(window, *script, frame_state);
  auto runner = [&](const platform::ScriptCommand& c, std::string* why) {
    return run_script_command(c, session, dialogs, why);
  };
  for (int frame = 0; script->begin_frame(runner, &error); ++frame) {
    sample_pen_pressure();
    frame_work(session);
    if (each) each(frame);
  }
  close_pen();
  return error;
}
