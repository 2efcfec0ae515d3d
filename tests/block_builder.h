#pragma once
// Blocks of a binary file built field by field in a test, from the layout as
// written down, so that a reader is never checked only against our writer.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "io/segment.h"

struct BlockBuilder {
  io::Bytes bytes;
  BlockBuilder& u8(uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  BlockBuilder& i32(int32_t v) {
    for (int k = 0; k < 4; ++k) bytes.push_back(uint8_t(uint32_t(v) >> (8 * k)));
    return *this;
  }
  BlockBuilder& f32(float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    return i32(int32_t(u));
  }
  BlockBuilder& text(std::string_view s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
};

// One segment around `block`, packed once more first when `twice` is set.
inline io::Bytes segment_file(const io::Bytes& block, bool twice) {
  io::MemoryOutput out;
  if (twice)
    io::write_segment(out, io::pack_bank(block));
  else
    io::write_segment(out, block);
  return out.bytes;
}
