#pragma once
// The colour mixer in the frame: the colour wheel and the swatch grid at the
// window's left, shown with the floating panels, their gestures before
// painting and their drawing over the picture. A left press on the wheel's
// disc picks the colour there, on the lower half of its ring the value, on
// the upper half the opacity, and the drag goes on picking along its part.
#include <vector>

#include "base/vec.h"
#include "ui/color_wheel.h"
#include "ui/swatch_panel.h"

struct ColorMixerState {
  ui::SwatchPanel swatches;
  ui::WheelColor::Part wheel_drag = ui::WheelColor::Part::none;  // the wheel's part a held press began on
  bool was_left = false;
  bool owns_pointer = false;  // this frame the pointer is the mixer's
};
extern ColorMixerState color_mixer;

// Runs after the floating panels' pointer pass: the grid's gestures, and
// what it owns joins app.gui_flags.
void color_mixer_pointer_pass(vec2d pointer);

// Draws the wheel and the grid over the picture bound now.
void draw_color_mixer();

// Appends what the mixer shows, so that a change redraws the window.
void add_color_mixer_state(std::vector<float>& out);
