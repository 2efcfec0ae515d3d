#pragma once
// The view of the canvas in the window: zoom, offset, rotation and the canvas
// rectangle on screen.
#include "base/vec.h"
#include "gpu/display.h"

struct ViewState {
  float zoom = 1.0f;            // screen pixels per canvas pixel
  float zoom_reference = 1.0f;  // zoom at the start of the current zoom gesture
  // Canvas origin: x is the left edge of the canvas on screen, y is measured
  // from the bottom of the client area.
  vec2d offset;
  float angle = 0;  // view_angle, degrees, about the client centre
  float spin = 0;   // view_spin, degrees added to the angle every frame
  bool full_desktop = false;
  // The canvas rectangle in client pixels, y down (see update_canvas_rect).
  vec2d top_left, bottom_right;
  corner frame_corners[4];  // canvas corners inset 5 pixels (crop frame, display)
};

extern ViewState view;

// Puts the canvas in the middle of a screen_w x screen_h client area at the
// current zoom and recomputes the canvas rectangle.
void centre_view(float screen_w, float screen_h, int canvas_w, int canvas_h);

// The canvas rectangle from the offset and zoom; called after every change of
// window size, canvas size, zoom or offset.
void update_canvas_rect(float screen_h, int canvas_w, int canvas_h);

// Sets the zoom, keeping the canvas point under client point `at` (y down)
// where it is.
void zoom_about(float zoom, const vec2d& at, float screen_h, int canvas_w, int canvas_h);

// How the finished picture is drawn into a screen_w x screen_h client area.
gpu::ViewTransform view_transform(float screen_w, float screen_h);

// Sets the four corner points inset 5 pixels from the canvas corners.
void reset_frame_corners(int canvas_w, int canvas_h);
