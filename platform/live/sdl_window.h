#pragma once
// The live window: SDL2 with a GL 2.1 compatibility context, its keyboard,
// mouse and wheel, the 16 ms frame timer and the message boxes.
#include <memory>
#include <string>

#include "platform/input.h"
#include "platform/window.h"

struct SDL_Window;

namespace platform {

class SdlWindow;

// Null when no window could be opened (no display, no GL); `error` says why.
std::unique_ptr<SdlWindow> open_sdl_window(const std::string& title, int client_w, int client_h,
                                           std::string* error);

// The live window also serves as the live input.
class SdlWindow : public Window, public Input {
 public:
  // For the platform code that needs the native window (the tablet).
  virtual SDL_Window* sdl_window() const = 0;
};

}  // namespace platform
