#pragma once
// View navigation with Alt and the mouse, and the wheel zoom.
#include "platform/input.h"

struct NavigationInput {
  unsigned char modifiers = 0;
  bool left = false, right = false;
  bool left_pressed = false, right_pressed = false;  // went down this frame
  float screen_w = 0, screen_h = 0;
};

// The Alt gestures: rotate, zoom about the press point, move, the resets and
// the colour-pick request. Ends every gesture when no button is held.
void navigate(const NavigationInput& in);

// Wheel notches since the last discard zoom about the pointer; a used wheel
// also cancels the button press. Returns true when the wheel was used.
bool wheel_zoom(platform::Input& input, float screen_w, float screen_h);

inline constexpr float wheel_zoom_min = 0.25f;
inline constexpr float drag_zoom_min = 0.125f, drag_zoom_max = 40.0f;
