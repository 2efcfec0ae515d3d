#pragma once
// Runs input scripts through the real frame on the headless context: the
// test's way of being the person at the window.
#include <functional>
#include <memory>
#include <string>

#include "app/session.h"
#include "platform/dialogs.h"
#include "platform/script_input.h"

class ScriptRun {
 public:
  // A fresh canvas of w x h in a client area of the same size, every frame
  // and view record at its start, the program's start-up parameters.
  ScriptRun(int w = 160, int h = 90);
  ~ScriptRun();

  // Runs `text` frame by frame; `each` is called after every frame with its
  // 0-based number. Returns the replay's error, empty when it ran through.
  std::string run(const std::string& text, const std::function<void(int frame)>& each = {});

  platform::QueuedDialogs dialogs;
  platform::Window& window() { return *window_; }
  // Later runs see `front` (which may stand in front of window()) as their
  // window; null goes back to window().
  void set_front_window(platform::Window* front) { front_ = front; }

 private:
  std::unique_ptr<platform::Window> window_;
  platform::Window* front_ = nullptr;
};
