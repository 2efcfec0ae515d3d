// Reads the input as a project and unpacks every band it accepted.
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/project_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  io::StoredProject p;
  std::string error;
  // A small largest side keeps each run quick; the checks are the same.
  io::ReadLimits limits;
  limits.max_side = 512;
  if (!io::read_project({data, size}, limits, &p, &error)) return 0;
  for (const io::StoredLayer& layer : p.layers)
    for (int i = 0; i < io::project_bands; ++i)
      io::unpack_layer_band(layer.bands[i], p.width, io::band_rows(p.height, i));
  return 0;
}
