#pragma once
// Exporting the painting as a picture: 16-bit PNG in three modes and 8-bit
// JPEG. Every file is written whole or not at all.
#include <string>

namespace io {

enum class PngExport {
  lit,      // the lit picture as displayed, RGB
  layer,    // the current layer alone, lit, RGBA over transparent white
  col_mat,  // the composited colour ("_col.png") and the paint height ("_mat.png")
};

// The mode the modifier keys held when the save started choose: Ctrl alone
// the current layer, Ctrl+Shift the colour/height pair, anything else the lit
// picture.
PngExport png_export_for(unsigned char modifier_keys);

// `name` with its final ".png" (any case) replaced by `suffix` (such as
// "_col.png"); a name without one gets `suffix` appended.
std::string png_pair_name(const std::string& name, const std::string& suffix);

// The lit picture is the display's last one (paint_image).
bool export_png(const std::string& path, PngExport mode, std::string* error);
bool export_jpeg(const std::string& path, std::string* error);

}  // namespace io
