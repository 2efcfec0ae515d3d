#pragma once
// The frame cycle's own control-panel values: the pointer smoothing and the
// requests of the three menu buttons, which the frame consumes. Written
// through the parameter model (which holds their start values) by the
// control panel, the script and the settings files; read by the frame.

struct FrameSettings {
  float mouse_speed = 0;           // "MOUSE SPEED": 1 follows the pointer, lower lags and overshoots
  unsigned char crop_request = 0;  // "MENU:CROP"
  unsigned char load_request = 0;  // "MENU:LOAD [o]"
  unsigned char save_request = 0;  // "MENU:SAVE [ctrl+s]"
};

extern FrameSettings frame_settings;
