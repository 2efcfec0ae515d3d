#pragma once
// Colour palettes of other programs as bytes: RIFF palettes, JASC text
// palettes and GIMP palettes (".gpl"), read into a plain list of colours in
// the palette's own order; GIMP palettes are also written. Components are
// 0..1, each stored 0..255 value divided by 255.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"
#include "io/atomic_file.h"

namespace io {

// More colours than any palette editor makes; a file claiming more is refused.
inline constexpr std::size_t max_palette_colors = 65536;

struct PaletteColor {
  float r = 0, g = 0, b = 0;
  bool operator==(const PaletteColor&) const = default;
};

struct Palette {
  std::string name;  // GIMP palettes only
  std::vector<PaletteColor> colors;
  // JASC palettes only: the lines an import prints, "parlen: " and the number
  // of lines, the stated colour count, then "pos:" I " r:" R "g:" G "b:" B for
  // each colour read (I from 0, components 0..255).
  std::string report;
};

// Reads the palette the first bytes announce ("RIFF", "JASC" or "GIMP
// Palette"). An error for any other file, and for a palette with no colours,
// so that an import never makes an empty column.
Result<Palette> read_palette(std::span<const uint8_t> bytes);

// The entries the file holds, whatever its entry count claims.
Result<Palette> read_riff_palette(std::span<const uint8_t> bytes);
// Lines end in LF or CR LF; colour lines with fewer than three numbers are
// skipped and values are clamped to 0..255.
Result<Palette> read_jasc_palette(std::span<const uint8_t> bytes);
// Names, "Columns:" and comment lines are accepted; colour names are dropped.
Result<Palette> read_gimp_palette(std::span<const uint8_t> bytes);

// Writes `palette` as a GIMP palette, components rounded to 0..255. False
// when the output failed.
bool write_gimp_palette(Output& out, const Palette& palette);

}  // namespace io
