// Reads the input as a project and unpacks every band it accepted.
#include <cstddef>
#include <cstdint>

#include "io/project_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A small largest side keeps each run quick; the checks are the same.
  io::ReadLimits limits;
  limits.max_side = 512;
  Result<io::StoredProject> read = io::read_project({data, size}, limits);
  if (!read) return 0;
  const io::StoredProject& p = *read;
  for (const io::StoredLayer& layer : p.layers)
    for (int i = 0; i < io::project_bands; ++i)
      io::unpack_layer_band(layer.bands[i], p.width, io::band_rows(p.height, i));
  return 0;
}
