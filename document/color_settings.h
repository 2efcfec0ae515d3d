#pragma once
// The current paint colour and the colour dials of the control panel. The
// colour is set through document/color_model.h (the colour dials reach it
// through their change hooks), which keeps the derived values in step; read
// by the brush and the colour mixer.

struct ColorSettings {
  float red = 0, green = 0, blue = 0;            // "COLOR:RED", "COLOR:GREEN", "COLOR:BLUE"
  float saturate = 0;                            // "COLOR:SATURATE"
  float hue_dancer = 0;                          // "HUE DANCER"
  float current[4] = {0.25f, 0.1f, 0.05f, 1};    // the colour the brush paints with
  float alternate[4] = {0.25f, 0.1f, 0.05f, 1};  // swapped with the current one by X
  float midpoint = 0.25f;                        // the colour wheel's midpoint (the colour's value)
  float tint[3] = {1, 0.4f, 0.2f};               // the colour at full value
  // The colour "COLOR:SATURATE" rebuilds from: taken when the dial starts to
  // move after the colour was set some other way.
  float saturate_base[3] = {0, 0, 0};
  bool saturate_base_taken = false;
  bool changed = true;  // the colour changed since the frame last asked
};

extern ColorSettings color_settings;
