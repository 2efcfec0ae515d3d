#include "io/swatch_format.h"

#include <cstring>
#include <string_view>

#include "io/byte_stream.h"

namespace io {

namespace {

constexpr std::string_view swatch_magic = "Ollan color swatches";
constexpr std::size_t cell_bytes = 32;
constexpr std::size_t max_block = std::size_t(256) << 20;

}  // namespace

Bytes encode_swatches(const SwatchColumns& columns) {
  ByteWriter w;
  w.text(swatch_magic);
  w.u8(swatch_version);
  w.i32(int32_t(columns.size()));
  for (const auto& column : columns) {
    w.i32(int32_t(column.size()));
    for (const SwatchCell& c : column) {
      w.f32(c.r), w.f32(c.g), w.f32(c.b), w.f32(c.a);
      w.i32(c.xi), w.i32(c.yi);
      w.f32(c.x), w.f32(c.y);
    }
  }
  return std::move(w.bytes);
}

bool write_swatches(Output& out, const SwatchColumns& columns) {
  return write_segment(out, encode_swatches(columns));
}

Result<SwatchColumns> read_swatches(std::span<const uint8_t> bytes) {
  SegmentReader reader(bytes);
  Result<Segment> first = reader.read_segment(max_block);
  if (!first) return Error{"the swatch file is damaged: " + first.error().message};
  if (first->status == SegmentStatus::cut) return Error{"the swatch file ends early"};
  const Bytes& block = first->block;
  if (first->status != SegmentStatus::ok || block.size() < swatch_magic.size() ||
      std::memcmp(block.data(), swatch_magic.data(), swatch_magic.size()) != 0)
    return Error{"this is not an Ollan swatch file"};
  ByteReader r(std::span<const uint8_t>(block).subspan(swatch_magic.size()));
  const uint8_t version = r.u8();
  if (r.ok() && version != swatch_version)
    return Error{"swatch file version " + std::to_string(version) + " cannot be read (version 1 can)"};
  const int32_t count = r.i32();
  if (!r.ok()) return Error{"the swatch file ends early"};
  if (count < 0 || std::size_t(count) > r.left() / 4)
    return Error{"the swatch column count " + std::to_string(count) + " is more than the file holds"};
  SwatchColumns columns(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const int32_t cells = r.i32();
    if (!r.ok()) return Error{"the swatch file ends early"};
    if (cells < 0 || std::size_t(cells) > r.left() / cell_bytes)
      return Error{"swatch column " + std::to_string(i + 1) + " claims " + std::to_string(cells) +
                   " cells, more than the file holds"};
    columns[i].resize(std::size_t(cells));
    for (SwatchCell& c : columns[i]) {
      c.r = r.f32(), c.g = r.f32(), c.b = r.f32(), c.a = r.f32();
      c.xi = r.i32(), c.yi = r.i32();
      c.x = r.f32(), c.y = r.f32();
    }
  }
  if (!r.ok()) return Error{"the swatch file ends early"};
  if (!r.finite()) return Error{"the swatch file holds a number that is not finite"};
  return columns;
}

}  // namespace io
