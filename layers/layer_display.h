#pragma once
// The frame's display of the layer stack (see gpu/display.h).
#include "gpu/display.h"

// Runs the display sequence over the layer stack into view_image; each layer
// shows its undo copy while its undo state is shown. Returns the canvas
// pixels it redid.
gpu::PixelRect display_layers(const gpu::DisplayInputs& in);
