// Loads the input as a JPEG picture for import.
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  io::jpeg_decode({data, size}, &error);
  return 0;
}
