// Loads the input as a JPEG picture for import.
#include <cstddef>
#include <cstdint>

#include "io/jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  (void)io::jpeg_decode({data, size});
  return 0;
}
