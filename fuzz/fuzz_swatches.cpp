// Reads the input as a swatch file; a success writes back to the start of the
// same block (bytes after the last cell are ignored).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "io/swatch_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Result<io::SwatchColumns> columns = io::read_swatches({data, size});
  if (columns) {
    io::SegmentReader reader({data, size});
    Result<io::Segment> first = reader.read_segment();
    const io::Bytes again = io::encode_swatches(*columns);
    if (!first || again.size() > first->block.size() || !std::equal(again.begin(), again.end(), first->block.begin()))
      std::abort();
  }
  return 0;
}
