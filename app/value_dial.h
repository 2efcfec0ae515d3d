#pragma once
// The dial a held key shows at the pointer (B: "BRUSH:BUILD UP"; F:
// "FLUIDITY", with Shift "FLUID:SMUDGE", with Ctrl "FLUID:SHARPNESS"): while
// the key is down the pointer's drag turns the value and the brush does not
// paint; releasing the key puts the dial away.
#include <vector>

#include "base/vec.h"
#include "platform/input.h"

// Starts, follows or ends the dial this frame. True while a dial is shown.
bool value_dial_keys(platform::Input& in, unsigned char modifier_keys, vec2d pointer);

// Draws the shown dial (client pixels, y down); nothing when none is shown.
void draw_value_dial();

// Appends where a dial is shown (the value is in the parameters already): a
// dial appearing or going redraws the window.
void add_dial_state(std::vector<float>& out);
