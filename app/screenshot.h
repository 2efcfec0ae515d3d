#pragma once
// The window's picture as the user sees it: canvas, panels, pointer and
// status text, as the last frame presented them.
#include <string>

#include "base/result.h"
#include "platform/window.h"

// Writes the picture as a 16-bit RGB PNG at `path`, replacing the file only
// when complete.
Result<void> write_screenshot(platform::Window& window, const std::string& path);
