#pragma once
// The settings, brush-image and colour-swatch files: moving their contents
// between the files (io's formats) and the program's state. Every loader
// reads and checks the whole file before it changes anything, and settings
// go in through the parameter model, so a value out of a control's range
// leaves that setting as it was. Saves go through a temporary file.
#include <functional>
#include <string>

#include "base/result.h"
#include "io/brush_image_format.h"
#include "io/settings_format.h"

namespace document {

// The settings as they stand, and storing a file's settings. Never resizes
// the canvas.
io::SettingsFile gather_settings();
void apply_settings(const io::SettingsFile& s);

Result<void> save_settings(const std::string& path);
Result<void> load_settings(const std::string& path);

// The swatch grid; a file that cannot be read leaves the grid as it was.
Result<void> save_swatches(const std::string& path);
Result<void> load_swatches(const std::string& path);

// The brush-image options as they stand, and storing a file's options.
io::BrushImageOptions gather_brush_image_options();
void apply_brush_image_options(const io::BrushImageOptions& o);

// Saves every brush image with the options; `progress` runs before the
// images are read back (0) and after each image written (fraction done).
Result<void> save_brush_images(const std::string& path, const std::function<void(float done)>& progress);
// Replaces the brush images and options by the file's. A file whose header
// cannot be read changes nothing; a file cut short loads the images before
// the cut and the result is then a note that says so, else empty.
Result<std::string> load_brush_images(const std::string& path);

}  // namespace document
