#pragma once
// The "LAYER FX" panel in the program: built with the other floating panels,
// opened and closed with Shift+H, its histogram read again by H, when it is
// opened, after a file was loaded and when another layer becomes active.
#include "ui/layer_fx_panel.h"

extern ui::LayerFxPanel layer_fx;

// Shift+H opens or closes the panel; H without Ctrl refreshes it.
void layer_fx_keys(bool h_pressed, unsigned char modifier_keys);
// The panel's buttons and the refresh a change of the active layer asks for;
// once a frame, before drawing.
void serve_layer_fx();
// After a file was loaded.
void refresh_layer_fx();
