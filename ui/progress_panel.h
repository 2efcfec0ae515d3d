#pragma once
// The small panel shown while a file is written or read: a caption and a
// progress bar, centred on the window, presented at once.
#include <functional>
#include <string_view>

#include "platform/window.h"

namespace ui {

// Where the panel shows. `draw_text` draws a caption with its top-left at
// (x, y) in client pixels (y down) at `scale`; without it the panel shows
// only its bar.
struct ProgressPanel {
  platform::Window& window;
  std::function<void(std::string_view text, float x, float y, float scale)> draw_text;
};

// Shows `caption` with the bar `done` (0..1) full.
void show_progress(const ProgressPanel& panel, std::string_view caption, float done);

// Shows why a file operation failed for a moment (live) and writes it to
// standard error, so that a replay logs it and goes on.
void show_failure(const ProgressPanel& panel, std::string_view caption, std::string_view reason);

}  // namespace ui
