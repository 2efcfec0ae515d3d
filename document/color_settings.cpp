#include "document/color_settings.h"

ColorSettings color_settings;

void pick_color(float r, float g, float b) {
  ColorSettings& c = color_settings;
  c.current[0] = c.red = r;
  c.current[1] = c.green = g;
  c.current[2] = c.blue = b;
  c.current[3] = 1;
}
