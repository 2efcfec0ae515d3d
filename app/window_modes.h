#pragma once
// The window's full-desktop mode (F3; Shift+Home leaves it) and the colour
// pick from the desktop while Alt is held with the pointer outside the window.
#include <cstdint>

#include "app/keys.h"

// Enters or leaves full-desktop mode. Leaving puts the window where the
// placement rule of start-up puts it, so it lies wholly on the desktop.
void set_full_desktop(KeyContext& k, bool on);

// Once a frame: with Alt held and the pointer outside the window, the
// desktop pixel under it becomes the current colour.
void desktop_pick(KeyContext& k);

// The current colour, with the dials and the saturation dial following it,
// from an 8-bit desktop pixel; the alpha stays.
void pick_screen_colour(uint8_t r, uint8_t g, uint8_t b);
