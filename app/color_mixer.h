#pragma once
// The colour mixer in the frame: the colour wheel and the swatch grid at the
// window's left, shown with the floating panels, their gestures before
// painting and their drawing over the picture.
#include <vector>

#include "base/vec.h"
#include "ui/swatch_panel.h"

struct ColorMixerState {
  ui::SwatchPanel swatches;
  bool owns_pointer = false;  // this frame the pointer is the grid's
};
extern ColorMixerState color_mixer;

// Runs after the floating panels' pointer pass: the grid's gestures, and
// what it owns joins app.gui_flags.
void color_mixer_pointer_pass(vec2d pointer);

// Draws the wheel and the grid over the picture bound now.
void draw_color_mixer();

// Appends what the mixer shows, so that a change redraws the window.
void add_color_mixer_state(std::vector<float>& out);
