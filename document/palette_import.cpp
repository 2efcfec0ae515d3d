#include "document/palette_import.h"

#include <cstdio>

#include "document/swatch_grid.h"
#include "io/atomic_file.h"

namespace document {

void add_palette_column(const io::Palette& palette) {
  auto& column = swatch_grid.columns.emplace_back();
  column.reserve(palette.colors.size());
  for (std::size_t i = 0; i < palette.colors.size(); ++i) {
    const io::PaletteColor& c = palette.colors[i];
    colors cell;
    cell.r = c.r, cell.g = c.g, cell.b = c.b, cell.a = 1;
    cell.xi = int(i % swatch_row_cells);
    cell.yi = int(i / swatch_row_cells);
    column.push_back(cell);
  }
  arrange_column(column);
  swatch_grid.current_column = int(swatch_grid.columns.size()) - 1;
}

Result<void> import_palette(const std::string& path) {
  // Palettes are small; a larger file is not one.
  TRY_ASSIGN(const std::vector<uint8_t> bytes, io::read_file(path, std::size_t(16) << 20));
  TRY_ASSIGN(const io::Palette palette, io::read_palette(bytes));
  // A JASC palette's colours, as read, go to standard output.
  std::fputs(palette.report.c_str(), stdout);
  std::fflush(stdout);
  add_palette_column(palette);
  return {};
}

}  // namespace document
