// Ollan: thick, wet paint simulated on the GPU.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/bench_mode.h"
#include "app/frame_changes.h"
#include "app/options.h"
#include "app/pen_input.h"
#include "app/recorder.h"
#include "app/script_commands.h"
#include "app/startup.h"
#include "document/image_export.h"
#include "layers/canvas_setup.h"
#include "platform/dialogs.h"
#include "platform/headless_window.h"
#include "platform/live/sdl_window.h"
#include "platform/live/xinput_tablet.h"
#include "platform/null_input.h"
#include "platform/script_input.h"
#include "platform/tablet.h"

namespace {

constexpr std::size_t max_script_bytes = 64 << 20;

// A script may come from a pipe (`--replay <(make-script)`), so it is read to
// its end rather than by its size.
bool read_script(const std::string& path, std::string* text, std::string* error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    *error = "cannot read the script " + path + ": " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
    std::fclose(f);
    *error = "the script " + path + " is a folder, not a file";
    return false;
  }
  text->clear();
  char chunk[1 << 16];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    if (text->size() + n > max_script_bytes) {
      std::fclose(f);
      *error = "the script " + path + " is larger than 64 MiB";
      return false;
    }
    text->append(chunk, n);
  }
  const bool bad = std::ferror(f);
  std::fclose(f);
  if (bad) {
    *error = "cannot read the script " + path;
    return false;
  }
  return true;
}

// The script's canvas and seed apply unless the command line names its own.
bool apply_preamble(const platform::ScriptInput& script, Options* o, std::string* error) {
  for (const platform::ScriptCommand& c : script.preamble()) {
    if (c.type == platform::ScriptCommand::Type::canvas && !o->size_given) {
      if (!valid_canvas_size(int(c.a), int(c.b))) {
        *error = o->replay + ":" + std::to_string(c.line) + ": no canvas of that size can be made";
        return false;
      }
      o->canvas_w = int(c.a);
      o->canvas_h = int(c.b);
    }
    if (c.type == platform::ScriptCommand::Type::seed && !o->seed_given) o->seed = std::uint64_t(c.a);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!parse_options(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
    std::fprintf(stderr, "ollan: %s\n%s", error.c_str(), usage_text);
    return 2;
  }
  if (options.help) {
    std::fputs(usage_text, stdout);
    return 0;
  }
  if (options.version) {
    std::printf("Ollan %s\n", OLLAN_VERSION);
    return 0;
  }

  // The whole script is checked before anything starts.
  std::unique_ptr<platform::ScriptInput> script;
  if (!options.replay.empty()) {
    std::string text;
    if (!read_script(options.replay, &text, &error) ||
        !(script = platform::ScriptInput::parse(text, options.replay, check_script_command, &error)) ||
        !apply_preamble(*script, &options, &error)) {
      std::fprintf(stderr, "ollan: %s\n", error.c_str());
      return 2;
    }
  }
  if (options.bench && options.frames < 0 && !script) options.frames = 120;

  // Exactly one of the two windows exists; live it is also the input.
  std::unique_ptr<platform::Window> headless;
  std::unique_ptr<platform::SdlWindow> live;
  platform::NullInput no_input;
  platform::QueuedDialogs queued;
  platform::Window* window = nullptr;
  platform::Input* input = &no_input;
  platform::Dialogs* dialogs = &queued;
  if (options.headless) {
    headless = platform::create_headless_window(options.canvas_w, options.canvas_h, &error);
    window = headless.get();
  } else {
    live = platform::open_sdl_window(app.title, options.canvas_w, options.canvas_h, &error);
    window = live.get();
    if (live) platform::tablet::start(platform::open_xinput_tablet(live->sdl_window()));
    if (live && !script) {
      input = live.get();
      dialogs = &live->dialogs();
    }
  }
  if (!window) {
    std::fprintf(stderr, "ollan: %s\n", error.c_str());
    return 1;
  }
  if (script) input = script.get();

  std::unique_ptr<Recorder> recorder;
  std::unique_ptr<RecordingDialogs> recording_dialogs;
  if (!options.record.empty()) {
    recorder = std::make_unique<Recorder>(options.canvas_w, options.canvas_h, options.seed);
    // A recording that cannot be written is found now, not after the session.
    if (!recorder->open(options.record, &error)) {
      std::fprintf(stderr, "ollan: %s\n", error.c_str());
      return 1;
    }
    recording_dialogs = std::make_unique<RecordingDialogs>(*dialogs, *recorder);
    dialogs = recording_dialogs.get();
    if (live) {
      live->on_key = [&](const std::string& key, bool down) { recorder->key(key, down); };
      live->on_wheel = [&](int notches) { recorder->wheel(notches); };
    }
  }

  Session session{*window, *input, *dialogs};
  if (!start_up(session, options)) return 1;

  FrameTimer timer;
  bool script_failed = false;
  LoopHooks hooks;
  change_tracker.always_full = options.full_redraw;
  hooks.wait_while_idle = live && !script;
  if (script) {
    script->set_event_sink([&window](const platform::WindowEvent& e) { handle_event(e, *window); });
    hooks.before_frame = [&]() {
      const bool more =
          script->begin_frame([&](const platform::ScriptCommand& c,
                                  std::string* why) { return run_script_command(c, session, queued, why); },
                              &error);
      if (!error.empty()) script_failed = true;
      return more;
    };
    // The script alone presses the buttons.
    hooks.drop_window_buttons = true;
  }
  if (recorder) hooks.on_event = [&](const platform::WindowEvent& e) { recorder->window_event(e); };
  auto before = hooks.before_frame;
  hooks.before_frame = [&, before]() {
    if (before && !before()) return false;
    if (recorder) {
      float x = 0, y = 0;
      input->mouse_position(&x, &y);
      recorder->begin_frame(x, y);
    }
    if (options.bench) timer.begin();
    return true;
  };
  hooks.after_frame = [&]() {
    if (options.bench) timer.end();
    if (recorder) recorder->end_frame();
  };

  run_main_loop(session, hooks, options.frames);
  close_pen();

  int status = 0;
  if (script_failed) {
    std::fprintf(stderr, "ollan: %s\n", error.c_str());
    status = 1;
  }
  if (status == 0 && !options.export_png.empty()) {
    if (Result<void> r = document::export_lit_picture(options.export_png); !r) {
      std::fprintf(stderr, "ollan: %s\n", r.error().message.c_str());
      status = 1;
    }
  }
  if (recorder && !recorder->finish(&error)) {
    std::fprintf(stderr, "ollan: %s\n", error.c_str());
    status = 1;
  }
  if (options.bench) std::fputs(timer.report().c_str(), stdout);
  release_gpu_objects();
  return status;
}
