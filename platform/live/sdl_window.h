#pragma once
// The live window: SDL2 with a GL 2.1 compatibility context, its keyboard,
// mouse and wheel, the 16 ms frame timer and the message boxes.
#include <functional>
#include <memory>
#include <string>

#include "platform/dialogs.h"
#include "platform/input.h"
#include "platform/window.h"

struct SDL_Window;

namespace platform {

class SdlWindow;

// Null when no window could be opened (no display, no GL); `error` says why.
std::unique_ptr<SdlWindow> open_sdl_window(const std::string& title, int client_w, int client_h, std::string* error);

// The live window also serves as the live input. Events are dispatched only
// by pump_events, wait_events and wait_frame_tick, so a frame reads one
// consistent state and a recording can place every event between frames.
class SdlWindow : public Window, public Input {
 public:
  // For the platform code that needs the native window (the tablet).
  virtual SDL_Window* sdl_window() const = 0;
  // The platform's message boxes; the file dialogs come from the files code.
  virtual Dialogs& dialogs() = 0;
  // Observers of the keys (SDL names; repeats are not reported) and the wheel.
  std::function<void(const std::string& key, bool down)> on_key;
  std::function<void(int notches)> on_wheel;
};

}  // namespace platform
