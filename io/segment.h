#pragma once
// The segment container every binary file of the program is made of. A segment
// frames one packed block:
//
//   "<SEGMENT>" CR LF "<SIZE>" CR LF <packed length in decimal> CR LF
//   "</SIZE>" CR LF <packed bytes> "</SEGMENT>" CR LF
//
// A packed block is the zlib stream of the block (compress2, level 9) followed
// by the block's length as a 32-bit little-endian integer. Readers find
// segments by scanning for the tags.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"
#include "io/atomic_file.h"

namespace io {

using Bytes = std::vector<uint8_t>;

inline constexpr int pack_level = 9;

// The packed form of `block`.
Bytes pack_bank(std::span<const uint8_t> block, int level = pack_level);

// The original block; an error when the bytes are not a packed block, or when
// the block would be longer than `max_length`.
Result<Bytes> unpack_bank(std::span<const uint8_t> packed, std::size_t max_length = SIZE_MAX);

// Packs `block` and writes it as one segment. False when the output failed.
bool write_segment(Output& out, std::span<const uint8_t> block);
// Writes bytes that are already packed as one segment.
bool write_packed_segment(Output& out, std::span<const uint8_t> packed);

enum class SegmentStatus {
  ok,   // a block was read
  end,  // no further segment: the data ends before another open tag
  cut,  // a segment starts but the data ends inside it
};

// A segment as read. A complete segment whose size line or payload is not
// valid is an error instead.
struct Segment {
  SegmentStatus status = SegmentStatus::end;
  Bytes block;                      // the unpacked block (read_segment) when status is ok
  std::span<const uint8_t> packed;  // the payload as stored (read_packed), a view of the reader's data
  bool short_payload = false;       // the data ended before the stated size
};

// Reads segments one after another from bytes held in memory.
class SegmentReader {
 public:
  explicit SegmentReader(std::span<const uint8_t> data) : data_(data) {}

  // The next segment, unpacked; blocks longer than `max_length` are errors.
  // A payload that the data cuts short is unpacked from the bytes present
  // when they still unpack, else the segment is cut.
  Result<Segment> read_segment(std::size_t max_length = SIZE_MAX);
  // The next segment's payload as stored, not unpacked: ok (possibly a short
  // payload), end, cut inside the tags, or an error for a bad size line.
  Result<Segment> read_packed();

  std::size_t position() const { return at_; }
  bool at_end() const { return at_ >= data_.size(); }

 private:
  std::span<const uint8_t> data_;
  std::size_t at_ = 0;
};

}  // namespace io
