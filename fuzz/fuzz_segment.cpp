// Reads every segment of the input until the reader finds no more.
#include <cstddef>
#include <cstdint>

#include "io/segment.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  io::SegmentReader reader({data, size});
  for (int i = 0; i < 1000; ++i) {
    Result<io::Segment> r = reader.read_segment(std::size_t(1) << 24);
    if (r && r->status == io::SegmentStatus::end) break;
  }
  return 0;
}
