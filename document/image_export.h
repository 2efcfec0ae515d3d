#pragma once
// Exporting the painting as a picture: 16-bit PNG in three modes and 8-bit
// JPEG. Every file is written whole or not at all.
#include <string>
#include <vector>

#include "base/result.h"

class layer;

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

// `name` with its final ".png" (any case) replaced by `suffix` (such as
// "_col.png"); a name without one gets `suffix` appended.
std::string png_pair_name(const std::string& name, const std::string& suffix);

// The lit picture is the display's last one (paint_image).
Result<void> export_png(const std::string& path, PngExport mode);

// The display's lit picture of the last frame (every layer over the canvas) at
// canvas size, as `--export` and the script's `export` write it; a name
// ending in ".ora" writes the layers and the lit picture as an OpenRaster
// image. An error when there is none yet or the file cannot be written.
Result<void> export_lit_picture(const std::string& path);
Result<void> export_jpeg(const std::string& path);

// Layer `l` alone, lit as the display lights it, w x h RGBA floats, top row
// first. `straight`: at full opacity over nothing, blending off, so alpha is
// the layer's coverage; otherwise over transparent white as the layer export
// shows it.
std::vector<float> render_lit_layer(const layer& l, int w, int h, bool straight);

// The display's last lit picture (paint_image) as RGB floats clamped to 0..1,
// top row first.
std::vector<float> lit_picture();

}  // namespace document
