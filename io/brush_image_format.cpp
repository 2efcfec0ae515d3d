#include "io/brush_image_format.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "io/byte_stream.h"

namespace io {

namespace {

constexpr std::string_view brush_image_magic = "Ollan brush images";
constexpr uint8_t oldest_version = 3;  // options in the header
constexpr std::size_t max_header_block = 1024;
constexpr std::size_t image_fixed_bytes = 2 * 4 + 8 * 4 + 1 + 4;
constexpr std::size_t max_image_block = image_fixed_bytes + max_brush_image_name +
                                        std::size_t(max_brush_image_side) * max_brush_image_side * 5 * sizeof(float);

std::string image_label(std::size_t i) {
  return "brush image " + std::to_string(i + 1);
}

// A stored side: a whole number of pixels from 1 to the largest side.
bool valid_side(float v) {
  return v >= 1 && v <= float(max_brush_image_side) && v == std::floor(v);
}

Result<BrushImage> parse_image(std::span<const uint8_t> block, std::size_t index) {
  ByteReader r(block);
  const float w = r.f32(), h = r.f32();
  BrushImage image;
  for (auto& corner : image.huv) r.floats(corner, 2);
  image.perspective = r.u8();
  const int32_t name_length = r.i32();
  if (!r.ok()) return Error{image_label(index) + " ends early"};
  if (!r.finite()) return Error{image_label(index) + " holds a number that is not finite"};
  if (!valid_side(w) || !valid_side(h))
    return Error{image_label(index) + " is " + std::to_string(w) + " x " + std::to_string(h) +
                 " pixels; images are whole pixels from 1 to " + std::to_string(max_brush_image_side) + " a side"};
  if (name_length < 0 || std::size_t(name_length) > max_brush_image_name || std::size_t(name_length) > r.left())
    return Error{image_label(index) + " has a name of " + std::to_string(name_length) + " bytes, more than it holds"};
  std::span<const uint8_t> name = r.take(std::size_t(name_length));
  image.name.assign(name.begin(), name.end());
  image.width = int(w);
  image.height = int(h);
  const std::size_t pixels = std::size_t(image.width) * std::size_t(image.height);
  if (r.left() != pixels * 5 * sizeof(float))
    return Error{image_label(index) + " holds " + std::to_string(r.left()) + " bytes of pixels, expected " +
                 std::to_string(pixels * 5 * sizeof(float))};
  image.col.resize(pixels * 4);
  image.mat.resize(pixels);
  r.raw(image.col.data(), image.col.size() * sizeof(float));
  r.raw(image.mat.data(), image.mat.size() * sizeof(float));
  return image;
}

}  // namespace

Bytes encode_brush_image_header(const BrushImageOptions& o, int32_t count) {
  ByteWriter w;
  w.text(brush_image_magic);
  w.u8(brush_image_version);
  w.i32(count);
  w.f32(o.bristle_size);
  w.f32(o.bristles);
  w.f32(o.bias);
  w.f32(o.oscillate);
  w.f32(o.osc_chaos);
  w.u8(o.image_flag);
  w.u8(o.paint_mode);
  w.u8(o.playback_mode);
  w.u8(o.image_color);
  return std::move(w.bytes);
}

Bytes encode_brush_image(const BrushImage& image) {
  ByteWriter w;
  w.f32(float(image.width));
  w.f32(float(image.height));
  for (const auto& corner : image.huv) w.floats(corner, 2);
  w.u8(image.perspective);
  w.i32(int32_t(image.name.size()));
  w.text(image.name);
  w.floats(image.col.data(), image.col.size());
  w.floats(image.mat.data(), image.mat.size());
  return std::move(w.bytes);
}

bool write_brush_images(Output& out, const BrushImageOptions& options, std::span<const BrushImage> images,
                        const std::function<void(int done)>& progress) {
  Bytes header = pack_bank(encode_brush_image_header(options, int32_t(images.size())));
  if (header.empty() || !write_segment(out, header)) return false;
  for (std::size_t i = 0; i < images.size(); ++i) {
    const BrushImage& image = images[i];
    const std::size_t pixels = std::size_t(std::max(image.width, 0)) * std::size_t(std::max(image.height, 0));
    if (image.col.size() != pixels * 4 || image.mat.size() != pixels) return false;
    if (!write_segment(out, encode_brush_image(image))) return false;
    if (progress) progress(int(i) + 1);
  }
  return true;
}

Result<BrushImageFile> read_brush_images(std::span<const uint8_t> bytes) {
  SegmentReader reader(bytes);
  Result<Segment> first = reader.read_segment(max_header_block);
  Result<Bytes> header = first && first->status == SegmentStatus::ok ? unpack_bank(first->block, max_header_block)
                                                                     : Result<Bytes>(Error{});
  if (!header || header->size() < brush_image_magic.size() ||
      std::memcmp(header->data(), brush_image_magic.data(), brush_image_magic.size()) != 0)
    return Error{"this is not an Ollan brush-image file"};
  ByteReader r(std::span<const uint8_t>(*header).subspan(brush_image_magic.size()));
  BrushImageFile f;
  f.version = r.u8();
  if (r.ok() && (f.version < oldest_version || f.version > brush_image_version))
    return Error{"brush-image file version " + std::to_string(f.version) + " cannot be read (versions " +
                 std::to_string(oldest_version) + " to " + std::to_string(brush_image_version) + " can)"};
  f.stated_count = r.i32();
  BrushImageOptions& o = f.options;
  o.bristle_size = r.f32();
  o.bristles = r.f32();
  o.bias = r.f32();
  o.oscillate = r.f32();
  o.osc_chaos = r.f32();
  o.image_flag = r.u8();
  o.paint_mode = r.u8();
  if (f.version > 3) {
    o.playback_mode = r.u8();
    o.image_color = r.u8();
  }
  if (!r.ok()) return Error{"the brush-image header ends early"};
  if (!r.finite()) return Error{"the brush-image header holds a number that is not finite"};
  if (f.stated_count < 0) return Error{"the brush-image header gives a negative image count"};
  // Nothing is allocated by the count: the loop ends where the file does.
  for (std::size_t i = 0; i < std::size_t(f.stated_count); ++i) {
    Result<Segment> s = reader.read_segment(max_image_block);
    if (!s) return Error{image_label(i) + " is damaged: " + s.error().message};
    // A file cut off inside or before an image keeps the images before it.
    if (s->status != SegmentStatus::ok || s->short_payload) break;
    TRY_ASSIGN(BrushImage image, parse_image(s->block, i));
    f.images.push_back(std::move(image));
  }
  f.truncated = f.images.size() < std::size_t(f.stated_count);
  return f;
}

}  // namespace io
