#pragma once
// The small glass panel shown while a file is written or read: a caption and
// a progress bar, centred on the window over the picture it showed, presented
// at once. The picture stays: each showing draws the panel afresh over a copy
// of it taken when the panel first appeared, and the panel takes itself off
// the picture again when it goes.
#include <functional>
#include <memory>
#include <string_view>

#include "gpu/buffer.h"
#include "platform/window.h"
#include "ui/glass_backdrop.h"
#include "ui/gui_context.h"

namespace ui {

// The panel's size: 174 x 18, wider where a caption needs it.
inline constexpr float progress_panel_w = 174, progress_panel_h = 18;

class ProgressPanel {
 public:
  // `draw_text` draws a caption with its top-left at (x, y) in client pixels
  // (y down) at `scale`; without it the panel shows only its bar.
  using DrawText = std::function<void(std::string_view text, float x, float y, float scale)>;
  ProgressPanel(platform::Window& window, DrawText draw_text);
  // Puts the picture back under the panel (not presented: the next frame
  // draws the window anew).
  ~ProgressPanel();
  ProgressPanel(const ProgressPanel&) = delete;
  ProgressPanel& operator=(const ProgressPanel&) = delete;

  // Shows `caption` with the bar `done` (0..1) full.
  void show(std::string_view caption, float done);
  // Shows why a file operation failed for a moment (live) and writes it to
  // standard error, so that a replay logs it and goes on.
  void show_failure(std::string_view caption, std::string_view reason);

 private:
  void draw(std::string_view text, float done, bool failure);

  platform::Window& window_;
  DrawText draw_text_;
  int w_ = 0, h_ = 0;
  gpu::Buffer picture_;  // the window's picture when the panel first showed
  GlassBackdrop backdrop_;
  GuiContext scene_;    // the panel alone
  gpu::Buffer relief_;  // its baked relief, for its present size
  bool restores_ = false;
};

}  // namespace ui
