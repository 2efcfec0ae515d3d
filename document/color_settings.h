#pragma once
// The current paint colour and the colour dials of the control panel. Written
// by the colour dials, the colour pick, the script and the files; read by the
// brush and the colour mixer.

struct ColorSettings {
  float red = 0, green = 0, blue = 0;            // "COLOR:RED", "COLOR:GREEN", "COLOR:BLUE"
  float saturate = 0;                            // "COLOR:SATURATE"
  float hue_dancer = 0;                          // "HUE DANCER"
  float current[4] = {0.25f, 0.1f, 0.05f, 1};    // the colour the brush paints with
  float alternate[4] = {0.25f, 0.1f, 0.05f, 1};  // swapped with the current one by X
  float midpoint = 1;                            // the colour wheel's midpoint (the colour's value)
};

extern ColorSettings color_settings;

// Makes (r, g, b) the current colour, as a colour pick does, and turns the
// colour dials to it.
void pick_color(float r, float g, float b);
