// Loads the input as a PNG picture for import.
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/png_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  if (auto p = io::TPixmapLoaderPNG::LoadPixmap({data, size}, &error)) p->rgba();
  return 0;
}
