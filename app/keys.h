#pragma once
// The keyboard shortcuts the frame polls, in the frame's order.
#include "platform/dialogs.h"
#include "platform/input.h"

struct KeyContext {
  platform::Input& input;
  platform::Dialogs& dialogs;
  platform::Window& window;
  float screen_w, screen_h;
};

// Step 8 of the frame: view, layer, brush, light and colour keys.
void poll_frame_keys(KeyContext& k);

// Ctrl+Delete: asks "Clear project?", then "Reset Default Settings?", and
// starts a new project (with the settings reset when asked to).
void new_project(KeyContext& k);

// Delete, and the brush-mode panel's CLR: empties the active layer, keeping
// its paint in the undo copy.
void clear_active_layer();
