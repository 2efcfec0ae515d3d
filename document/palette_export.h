#pragma once
// The current swatch column as a palette other programs read.
#include <string>

#include "base/result.h"

namespace document {

// Writes the current column's colours, in the column's order, as a GIMP
// palette named after the file; an error, with no file written, when the grid
// has no column or the file cannot be written.
Result<void> export_palette(const std::string& path);

}  // namespace document
