#pragma once
// The painting as an OpenRaster image: every layer lit as the display lights
// it, the lit picture merged, and back again as layers of a new canvas.
#include <string>

#include "base/result.h"

namespace document {

// Writes the painting to `path`, replacing the file only when complete.
Result<void> save_ora(const std::string& path);

// Makes a canvas of the image's size with one layer per image layer, the
// colour from the layer's picture and the paint amount from its alpha. The
// file is read and checked whole first: one that cannot be loaded changes
// nothing (the error says why). `screen_w` x `screen_h` is the window's
// client size.
Result<void> load_ora(const std::string& path, int screen_w, int screen_h);

}  // namespace document
