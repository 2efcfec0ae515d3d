#pragma once
// The pens of the live window's X server, through XInput2.
#include <memory>

#include "platform/tablet_library.h"

struct SDL_Window;

namespace platform {

// The tablet library of the pens that XInput2 lists for `window`'s X display;
// null when the window is not on X11 (Wayland, offscreen) or no pen is
// plugged in, which the tablet driver reports as "No tablets connected!".
std::unique_ptr<TabletLibrary> open_xinput_tablet(SDL_Window* window);

}  // namespace platform
