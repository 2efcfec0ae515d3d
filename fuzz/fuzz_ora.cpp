// Reads the input as an OpenRaster archive, with limits small enough that a
// run never needs more than a few megabytes.
#include <cstddef>
#include <cstdint>

#include "io/ora.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  io::OraLimits limits;
  limits.max_side = 1024;
  limits.max_layers = 16;
  limits.max_entries = 64;
  limits.max_entry_size = 1 << 22;
  limits.max_total_size = 1 << 24;
  limits.max_pixels = 1 << 20;
  (void)io::read_ora({data, size}, limits);
  return 0;
}
