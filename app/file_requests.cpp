#include "app/file_requests.h"

#include "app/app_state.h"
#include "app/crop_mode.h"
#include "app/file_commands.h"
#include "app/layer_fx.h"
#include "app/text.h"
#include "app/view.h"
#include "gpu/geometry.h"

namespace {

FileCommandContext context(Session& s) {
  return FileCommandContext{s.window, s.dialogs, s.input, base_window_title, ui::ProgressPanel(s.window, draw_text)};
}

// A command that did something may have drawn its progress into the window
// and changed what the picture shows.
bool file_command_ran = false;

void after(const FileOutcome& o) {
  if (o.result != FileResult::cancelled || o.canvas_changed) file_command_ran = true;
  if (o.result == FileResult::done) refresh_layer_fx();
  if (!o.canvas_changed) return;
  // The old crop frame would crop the loaded painting at the next click.
  cancel_crop();
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  view.zoom = 1;
  centre_view(app.screen_w, app.screen_h, w, h);
  reset_frame_corners(w, h);
}

}  // namespace

void serve_file_requests(Session& s) {
  {
    FileCommandContext ctx = context(s);
    after(serve_load_request(ctx, s.input.key_hit("O")));
  }
  FileCommandContext ctx = context(s);
  after(serve_save_request(ctx, s.input.key_hit("S"), app.modifier_keys));
}

void script_save(Session& s, platform::QueuedDialogs& dialogs, const std::string& file) {
  FileCommandContext ctx = context(s);
  dialogs.queue_choice(file);
  after(save_command(ctx, app.modifier_keys, true, true));
}

void script_load(Session& s, platform::QueuedDialogs& dialogs, const std::string& file) {
  FileCommandContext ctx = context(s);
  dialogs.queue_choice(file);
  after(load_command(ctx, std::nullopt));
}

void load_file_at_start(Session& s, const std::string& file) {
  FileCommandContext ctx = context(s);
  after(load_command(ctx, file));
}

bool take_file_command_ran() {
  const bool ran = file_command_ran;
  file_command_ran = false;
  return ran;
}
