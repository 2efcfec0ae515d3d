#pragma once
// Start-up, the main loop and the orderly exit.
#include <functional>

#include "app/options.h"
#include "app/session.h"

// Runs the start-up sequence on a window whose GL context is current. False
// with the reason on standard error when the program cannot run.
bool start_up(Session& s, const Options& options);

// What a run adds around each frame: a replay feeds the script in before it,
// a recording and the benchmark look at it after.
struct LoopHooks {
  // Before a frame's work, after the timer wait; false ends the run.
  std::function<bool()> before_frame;
  std::function<void()> after_frame;
  // Sees every window event before the event handler does.
  std::function<void(const platform::WindowEvent&)> on_event;
  // The window's button events are ignored (a replay presses the buttons).
  bool drop_window_buttons = false;
  // After a frame that changed nothing the loop blocks until the next window
  // event instead of ticking (a person at the window; a replay never waits).
  bool wait_while_idle = false;
};

// The window-event handler of the main loop. The system cursor is shown while
// another application is active and hidden over the window otherwise.
void handle_event(const platform::WindowEvent& e, platform::Window& window);

// One frame per timer tick until the exit is confirmed, a hook ends the run
// or `max_frames` frames (when not negative) have run. Returns the number of
// frames run; a frame that changed nothing presents nothing.
long run_main_loop(Session& s, const LoopHooks& hooks, long max_frames);

// Releases the GPU objects in the fixed exit order.
void release_gpu_objects();
