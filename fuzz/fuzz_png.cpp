// Loads the input as a PNG picture for import.
#include <cstddef>
#include <cstdint>

#include "io/png_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (Result<io::Pixmap> p = io::TPixmapLoaderPNG::LoadPixmap({data, size})) p->rgba();
  return 0;
}
