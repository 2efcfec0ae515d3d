#pragma once
// Application-wide state of the start-up and main loop: the window flags the
// event handler keeps, the pen sample of the frame and the embedded images.
// Written by app/, read everywhere through this header.
#include <string>

#include "gpu/buffer.h"
#include "ui/gui_flags.h"

inline constexpr const char* base_window_title = "Ollan V0.99v.18 [F1]open forum";

struct AppState {
  float screen_w = 0, screen_h = 0;  // client area, re-read every frame
  bool app_active = true;            // this application has the foreground
  bool render_enabled = true;        // frames are produced
  bool pointer_outside = false;      // the pointer left the client area
  bool mouse_left = false, mouse_right = false, mouse_middle = false;
  unsigned char modifier_keys = 0;       // Shift 1, Ctrl 2, Alt 4
  int gui_flags = gui_flag::navigation;  // which consumer owns the pointer this frame (gui_flag bits)
  float pen_pressure = 0;
  bool pen_active = false;
  bool refresh_after_resume = false;  // the first frame after a resume re-syncs the pointer
  bool close_requested = false;       // the window's close button was used
  bool uncovered = false;             // the window was exposed: show the last picture again
  bool quit = false;                  // the exit was confirmed
  // The window's title whenever no question shows its caption there: the
  // base title, followed by the painting's file name once there is one.
  std::string title = base_window_title;

  // Embedded images, decoded at start-up.
  gpu::Texture font;      // 776 x 14 strip of 97 glyphs of 8 x 14
  gpu::Texture icons[4];  // paint, smudge, erase, average
};

extern AppState app;

// Modes the Escape key leaves, one per press, in this order.
struct ModeState {
  int capture_mode = 0;  // brush-image capture in progress
  bool crop_mode = false, crop_request = false;
  bool warp_mode = false;
  int mask_mode = 0;
};

extern ModeState modes;

// The application context: the flags above, the modes, the view, the frame
// state, the pen, the file commands' current name and the handle list, back
// to how the program starts. The embedded images stay.
void reset_application_state();
