#pragma once
// The "LAYER FX" panel in the program: built with the other floating panels,
// opened and closed with Shift+H, its histogram read again by H, when it is
// opened, after a file was loaded and when another layer becomes active.
#include <vector>

#include "ui/layer_fx_panel.h"

extern ui::LayerFxPanel layer_fx;

// Shift+H opens or closes the panel; H without Ctrl refreshes it.
void layer_fx_keys(bool h_pressed, unsigned char modifier_keys);
// Opens or closes the panel as Shift+H asked, serves its buttons (each also
// lays a picture being placed) and reads the layer again when a refresh is
// due; once a frame, after the panels' pointer pass.
void serve_layer_fx();
// Appends what the panel shows, so that a change redraws the window.
void add_layer_fx_state(std::vector<float>& out);
// After a file was loaded.
void refresh_layer_fx();
// Closed, showing the whole range of the luminance, as the program starts.
void reset_layer_fx();
