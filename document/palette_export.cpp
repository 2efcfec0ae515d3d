#include "document/palette_export.h"

#include <filesystem>

#include "document/swatch_grid.h"
#include "io/palette.h"

namespace document {

Result<void> export_palette(const std::string& path) {
  const SwatchGrid& g = swatch_grid;
  if (g.current_column < 0 || std::size_t(g.current_column) >= g.columns.size())
    return Error{"there is no swatch column to save: make one with the button beside the swatches"};
  io::Palette palette;
  palette.name = std::filesystem::path(path).stem().string();
  for (const colors& c : g.columns[std::size_t(g.current_column)]) palette.colors.push_back({c.r, c.g, c.b});
  io::AtomicFile file(path);
  if (!file.is_open() || !io::write_gimp_palette(file, palette)) return Error{file.error()};
  return file.commit();
}

}  // namespace document
