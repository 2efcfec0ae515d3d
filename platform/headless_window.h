#pragma once
// The window with no display: a headless GL context whose "client area" is a
// framebuffer object, so every pass runs exactly as in the live window and the
// screen can be read back. Frames are not paced and boxes answer Cancel.
#include <memory>

#include "platform/window.h"

namespace platform {

// Null when no headless GL context could be made; `error` says why.
std::unique_ptr<Window> create_headless_window(int client_w, int client_h, std::string* error);

}  // namespace platform
