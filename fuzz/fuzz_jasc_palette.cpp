// Reads the input as a JASC palette and checks every colour is within 0..1.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "io/palette.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Result<io::Palette> p = io::read_jasc_palette({data, size});
  if (p) {
    if (p->colors.empty() || p->colors.size() > io::max_palette_colors) std::abort();
    for (const io::PaletteColor& c : p->colors)
      if (!(c.r >= 0 && c.r <= 1 && c.g >= 0 && c.g <= 1 && c.b >= 0 && c.b <= 1)) std::abort();
  }
  return 0;
}
