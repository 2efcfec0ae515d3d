#pragma once
// Editing the perspective guide: G shows it or (with Ctrl, or while editing)
// switches editing, Shift+G the sway; while editing, Home puts the lattice
// back on the origin, the wheel turns the lattice's cells, lens and field of
// view, and the pointer drags move the camera, the lattice and its alpha.
// While editing nothing paints.
#include <vector>

#include "platform/input.h"

struct FrameState;

// G, Shift+G and Home (the keys after the panels' pointer pass).
void guide_keys(platform::Input& in, unsigned char modifier_keys);

// The drags of this frame. True while the guide is edited: the brush stands
// aside.
bool guide_drags(const FrameState& f, unsigned char modifier_keys, bool left, bool right);

// The wheel's notches while the guide is edited (the wheel zoom stands
// aside then); call before the wheel zoom discards them.
void guide_wheel(platform::Input& in, unsigned char modifier_keys);

// The guide is drawn this frame: shown, and S not held.
bool guide_visible(platform::Input& in);

// Appends what the guide's picture depends on (as guide_visible last found
// it): a change redraws the picture.
void add_guide_state(std::vector<float>& out);
