#pragma once
// The window's full-desktop mode (F3; Shift+Home leaves it, and puts a moved
// or resized window back) and the colour
// pick from the desktop while Alt is held with the pointer outside the window.
#include <cstdint>

#include "app/keys.h"

// Enters or leaves full-desktop mode. Leaving puts the window where the
// placement rule of start-up puts it, so it lies wholly on the desktop.
void set_full_desktop(KeyContext& k, bool on);

// Shift+Home: out of full-desktop mode, and the window, however it was
// moved or resized, back at the size and place start-up gives it.
void restore_normal_window(KeyContext& k);

// Once a frame: with Alt alone held and the pointer outside the window, the
// desktop pixel under it becomes the current colour.
void desktop_pick(KeyContext& k);

// The current colour, with the dials and the saturation dial following it,
// from an 8-bit desktop pixel; the alpha stays.
void pick_screen_colour(uint8_t r, uint8_t g, uint8_t b);
