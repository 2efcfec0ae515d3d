#pragma once
// The view of the canvas in the window: zoom, the screen position of the
// canvas's top-left corner and the rotation.
#include "brush/vec.h"

struct ViewState {
  float zoom = 1.0f;  // screen pixels per canvas pixel
  vec2d offset;       // screen position of canvas pixel (0, 0)
  float angle = 0;    // view_angle, degrees
  corner frame_corners[4];  // canvas corners inset 5 pixels (crop frame, display)
};

extern ViewState view;

// Puts the canvas in the middle of a screen_w x screen_h client area.
void centre_view(float screen_w, float screen_h, int canvas_w, int canvas_h);

// Sets the four corner points inset 5 pixels from the canvas corners.
void reset_frame_corners(int canvas_w, int canvas_h);
