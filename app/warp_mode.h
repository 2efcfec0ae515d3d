#pragma once
// Warp mode: the brush bends a map of the active layer instead of painting.
#include "app/keys.h"
#include "platform/input.h"
#include "platform/window.h"

// Ctrl+W or the "WARP" button. Entering starts from the identity map; leaving
// resamples the active layer through the map in 20 strips, presenting the
// picture after each so the user sees the progress, then discards the keys
// pressed meanwhile.
void toggle_warp_mode(platform::Window& window, platform::Input& input);

// Ctrl+Shift+W: applies the warp to the active layer (undoable) and goes on
// warping from the identity map.
void commit_warp();

// The warp keys among the presses of W (modifiers other than none).
void warp_key(KeyContext& k);
