#pragma once
// A palette of another program becomes one new swatch column.
#include <string>

#include "base/result.h"
#include "io/palette.h"

namespace document {

// Appends the colours as a new column, 16 cells a row in the palette's order,
// alpha 1, and makes it the current column.
void add_palette_column(const io::Palette& palette);

// Reads the palette at `path` and adds it; an error, with the grid unchanged,
// when the file is not a palette this program reads or holds no colours.
Result<void> import_palette(const std::string& path);

}  // namespace document
