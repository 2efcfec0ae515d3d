#include "app/app_state.h"
#include "app/frame.h"
#include "app/frame_changes.h"
#include "app/frame_state.h"
#include "app/mask_mode.h"
#include "app/pen_input.h"
#include "app/startup.h"
#include "platform/gl.h"

void handle_event(const platform::WindowEvent& e, platform::Window& window) {
  using T = platform::WindowEventType;
  auto button_flag = [](int b) -> bool* {
    switch (b) {
      case 1: return &app.mouse_left;
      case 2: return &app.mouse_right;
      case 3: return &app.mouse_middle;
    }
    return nullptr;
  };
  switch (e.type) {
    case T::suspend:
      if (app.app_active) {
        app.mouse_left = app.mouse_right = app.mouse_middle = false;
        app.app_active = false;
        app.render_enabled = false;
        window.show_cursor(true);
      }
      break;
    case T::resume:
      window.show_cursor(false);
      if (!app.app_active) {
        app.refresh_after_resume = true;
        app.render_enabled = true;
        app.mouse_left = app.mouse_right = app.mouse_middle = false;
        app.app_active = true;
        app.gui_flags = gui_flag::over_panel;
        change_tracker.invalidate();
      }
      break;
    case T::button_down:
      if (app.app_active)
        if (bool* f = button_flag(e.button)) *f = true;
      break;
    case T::button_up:
      if (bool* f = button_flag(e.button)) *f = false;
      break;
    case T::pointer_left: app.pointer_outside = true; break;
    case T::pointer_moved: app.pointer_outside = false; break;
    case T::close: app.close_requested = true; break;
    // The picture is drawn again even when nothing in it changed.
    case T::exposed:
      change_tracker.invalidate();
      app.uncovered = true;
      break;
  }
}

namespace {

void confirm_exit(Session& s) {
  s.window.show_cursor(true);
  if (s.dialogs.confirm("Exit Ollan...", "Are you sure you want to leave?") == platform::Answer::ok)
    app.quit = true;
  else
    s.window.show_cursor(false);
}

// Each Escape press leaves one mode, the first that is on; with none on it
// asks to exit.
void escape_cascade(Session& s) {
  if (modes.capture_mode != 0) {
    modes.capture_mode = 0;
  } else if (modes.crop_mode) {
    modes.crop_mode = false;
    modes.crop_request = false;
  } else if (modes.warp_mode) {
    modes.warp_mode = false;
  } else if (modes.mask_mode) {
    set_mask_mode(false);
  } else {
    confirm_exit(s);
  }
}

}  // namespace

long run_main_loop(Session& s, const LoopHooks& hooks, long max_frames) {
  s.window.on_event = [&hooks, &s](const platform::WindowEvent& e) {
    using T = platform::WindowEventType;
    if (hooks.drop_window_buttons && (e.type == T::button_down || e.type == T::button_up)) return;
    if (hooks.on_event) hooks.on_event(e);
    handle_event(e, s.window);
  };
  long frames = 0;
  bool idle = false;
  while (!app.quit && (max_frames < 0 || frames < max_frames)) {
    s.window.pump_events();
    if (app.screen_w == 0 && app.screen_h == 0) s.window.wait_events();
    // After a frame that changed nothing only an event can change something.
    if (idle && hooks.wait_while_idle) s.window.wait_events();
    if (app.render_enabled) {
      s.window.wait_frame_tick();
      if (hooks.before_frame && !hooks.before_frame()) break;
      sample_pen_pressure();
      const FrameChanges c = frame_work(s);
      if (c.draw_window()) s.window.present();
      app.uncovered = false;
      idle = !c.any();
      ++frames;
      if (hooks.after_frame) hooks.after_frame();
    } else {
      s.window.wait_events();
      // No frame runs while the application is in the background, but an
      // uncovered window still shows the last picture it kept.
      if (app.uncovered) {
        app.uncovered = false;
        s.window.present();
      }
      int w = 0, h = 0;
      s.window.client_size(&w, &h);
      app.screen_w = float(w);
      app.screen_h = float(h);
    }
    if (s.input.key_hit("Escape")) {
      escape_cascade(s);
      s.input.flush_keys();
    }
    if (app.close_requested) {
      app.close_requested = false;
      confirm_exit(s);
      s.input.flush_keys();
    }
  }
  s.window.show_cursor(true);
  return frames;
}
