#pragma once
// Exporting the painting as a picture: 16-bit PNG in three modes and 8-bit
// JPEG. Every file is written whole or not at all.
#include <string>

#include "base/result.h"

namespace document {

enum class PngExport {
  lit,      // the lit picture as displayed, RGB
  layer,    // the current layer alone, lit, RGBA over transparent white
  col_mat,  // the composited colour ("_col.png") and the paint height ("_mat.png")
};

// The mode the modifier keys held when the save started choose: Ctrl alone
// the current layer, Ctrl+Shift the colour/height pair, anything else the lit
// picture.
PngExport png_export_for(unsigned char modifier_keys);

// `name` with its ".png" replaced by `suffix` (such as "_col.png").
std::string png_pair_name(const std::string& name, const std::string& suffix);

// The lit picture is the display's last one (paint_image).
Result<void> export_png(const std::string& path, PngExport mode);

// The display's lit picture of the last frame (every layer over the canvas) at
// canvas size, as `--export` and the script's `export` write it; an error when
// there is none yet or the file cannot be written.
Result<void> export_lit_picture(const std::string& path);
Result<void> export_jpeg(const std::string& path);

}  // namespace document
