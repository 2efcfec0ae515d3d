#include "io/segment.h"

#include <zlib.h>

#include <algorithm>
#include <string_view>

namespace io {

namespace {

constexpr std::string_view open_tag = "<SEGMENT>";
constexpr std::string_view size_tag = "<SIZE>";
constexpr std::string_view size_end_tag = "</SIZE>";
constexpr std::string_view close_tag = "</SEGMENT>";
constexpr char line_end[] = "\r\n";

// Deflate cannot shrink data by more than about 1032 to 1, so a stored length
// beyond that for the bytes at hand is a lie, whatever the caller allows.
constexpr std::size_t max_inflate_ratio = 1032;

// Offset of `tag` at or after `from`, or npos.
std::size_t find(std::span<const uint8_t> data, std::size_t from, std::string_view tag) {
  if (from >= data.size()) return std::string_view::npos;
  std::string_view hay(reinterpret_cast<const char*>(data.data()) + from, data.size() - from);
  std::size_t at = hay.find(tag);
  return at == std::string_view::npos ? at : from + at;
}

bool write_line(Output& out, std::string_view text) {
  return out.write(text.data(), text.size()) && out.write(line_end, 2);
}

}  // namespace

Bytes pack_bank(std::span<const uint8_t> block, int level) {
  uLongf bound = compressBound(uLong(block.size()));
  Bytes packed(bound + 4);
  static const uint8_t nothing = 0;
  int rc = compress2(packed.data(), &bound, block.empty() ? &nothing : block.data(), uLong(block.size()), level);
  if (rc != Z_OK) return {};
  packed.resize(bound + 4);
  auto n = uint32_t(block.size());
  for (int i = 0; i < 4; ++i) packed[bound + i] = uint8_t(n >> (8 * i));
  return packed;
}

Result<Bytes> unpack_bank(std::span<const uint8_t> packed, std::size_t max_length) {
  if (packed.size() < 4) return Error{"a packed block of " + std::to_string(packed.size()) + " bytes is too short"};
  const uint8_t* tail = packed.data() + packed.size() - 4;
  int32_t stored =
      int32_t(uint32_t(tail[0]) | uint32_t(tail[1]) << 8 | uint32_t(tail[2]) << 16 | uint32_t(tail[3]) << 24);
  std::size_t stream = packed.size() - 4;
  if (stored < 0 || std::size_t(stored) > max_length || std::size_t(stored) > stream * max_inflate_ratio + 1024)
    return Error{"the stored length " + std::to_string(stored) + " is impossible for " + std::to_string(packed.size()) +
                 " packed bytes"};
  Bytes block(static_cast<std::size_t>(stored));
  uint8_t spare = 0;
  uLongf got = uLongf(block.size());
  // The trailing length follows the end of the zlib stream; inflation stops at
  // the stream's end and ignores it, so the whole buffer is handed over.
  uLong used = uLong(packed.size());
  int rc = uncompress2(block.empty() ? &spare : block.data(), &got, packed.data(), &used);
  if (rc != Z_OK || got != block.size())
    return Error{rc == Z_OK || rc == Z_BUF_ERROR ? "the packed block does not hold the stored length"
                                                 : "the packed block does not inflate"};
  return block;
}

bool write_packed_segment(Output& out, std::span<const uint8_t> packed) {
  if (!write_line(out, open_tag) || !write_line(out, size_tag) || !write_line(out, std::to_string(packed.size())) ||
      !write_line(out, size_end_tag))
    return false;
  for (std::size_t at = 0; at < packed.size(); at += 4096)
    if (!out.write(packed.data() + at, std::min<std::size_t>(4096, packed.size() - at))) return false;
  return write_line(out, close_tag);
}

bool write_segment(Output& out, std::span<const uint8_t> block) {
  Bytes packed = pack_bank(block);
  return !packed.empty() && write_packed_segment(out, packed);
}

Result<Segment> SegmentReader::read_packed() {
  Segment r;
  std::size_t open = find(data_, at_, open_tag);
  if (open == std::string_view::npos) {
    at_ = data_.size();
    return r;
  }
  std::size_t size_at = find(data_, open + open_tag.size(), size_tag);
  std::size_t size_end =
      size_at == std::string_view::npos ? size_at : find(data_, size_at + size_tag.size(), size_end_tag);
  if (size_end == std::string_view::npos) {
    at_ = data_.size();
    r.status = SegmentStatus::cut;
    return r;
  }
  std::size_t i = size_at + size_tag.size();
  auto space = [](uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < size_end && space(data_[i])) ++i;
  int64_t size = 0;
  bool digits = false;
  for (; i < size_end && data_[i] >= '0' && data_[i] <= '9' && size <= INT32_MAX; ++i, digits = true)
    size = size * 10 + (data_[i] - '0');
  std::size_t payload = size_end + size_end_tag.size() + 2;
  at_ = std::min(payload, data_.size());
  if (!digits || size <= 0 || size > INT32_MAX) return Error{"a segment states no valid size"};
  std::size_t take = std::min<std::size_t>(std::size_t(size), data_.size() - at_);
  r.short_payload = take < std::size_t(size);
  r.packed = data_.subspan(at_, take);
  at_ += take;
  r.status = SegmentStatus::ok;
  return r;
}

Result<Segment> SegmentReader::read_segment(std::size_t max_length) {
  TRY_ASSIGN(Segment r, read_packed());
  if (r.status != SegmentStatus::ok) return r;
  Result<Bytes> block = unpack_bank(r.packed, max_length);
  if (!block) {
    if (!r.short_payload) return std::move(block).error();
    r.status = SegmentStatus::cut;
    return r;
  }
  r.block = std::move(*block);
  return r;
}

}  // namespace io
