#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string_view>

#include "io/brush_image_format.h"
#include "tests/block_builder.h"
#include "tests/result_helpers.h"

namespace {

io::BrushImage sample_image(int w, int h, std::string name, float base) {
  io::BrushImage image;
  image.width = w, image.height = h;
  for (int k = 0; k < 4; ++k) image.huv[k][0] = base + float(k), image.huv[k][1] = base - float(k);
  image.perspective = 1;
  image.name = std::move(name);
  for (int i = 0; i < w * h * 4; ++i) image.col.push_back(base + 0.25f * float(i));
  // Paint amounts unlike the colours, so that a swap of the two shows.
  for (int i = 0; i < w * h; ++i) image.mat.push_back(-base - float(i));
  return image;
}

io::BrushImageOptions sample_options() {
  return {0.25f, 0.5f, -0.75f, 0.125f, 0.0625f, 1, 2, 1, 0};
}

// The header block as laid out, packed twice.
io::Bytes header(int32_t count, uint8_t version = 4, std::string_view magic = "Ollan brush images") {
  const io::BrushImageOptions o = sample_options();
  BlockBuilder b;
  b.text(magic).u8(version).i32(count);
  b.f32(o.bristle_size).f32(o.bristles).f32(o.bias).f32(o.oscillate).f32(o.osc_chaos);
  b.u8(o.image_flag).u8(o.paint_mode);
  if (version > 3) b.u8(o.playback_mode).u8(o.image_color);
  return segment_file(b.bytes, true);
}

// An image block as laid out: size, corners, "p", name, colour then paint.
io::Bytes image_block(const io::BrushImage& image, float w, float h, int32_t name_length) {
  BlockBuilder b;
  b.f32(w).f32(h);
  for (const auto& corner : image.huv) b.f32(corner[0]).f32(corner[1]);
  b.u8(image.perspective).i32(name_length).text(image.name);
  for (float v : image.col) b.f32(v);
  for (float v : image.mat) b.f32(v);
  return b.bytes;
}

io::Bytes image_block(const io::BrushImage& image) {
  return image_block(image, float(image.width), float(image.height), int32_t(image.name.size()));
}

io::Bytes join(std::initializer_list<io::Bytes> parts) {
  io::Bytes out;
  for (const io::Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

void expect_same(const io::BrushImage& a, const io::BrushImage& b) {
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(a.huv[k][0], b.huv[k][0]);
    EXPECT_EQ(a.huv[k][1], b.huv[k][1]);
  }
  EXPECT_EQ(a.perspective, b.perspective);
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.col, b.col);
  EXPECT_EQ(a.mat, b.mat);
}

void expect_options(const io::BrushImageOptions& o, bool version4) {
  const io::BrushImageOptions e = sample_options();
  EXPECT_EQ(o.bristle_size, e.bristle_size);
  EXPECT_EQ(o.bristles, e.bristles);
  EXPECT_EQ(o.bias, e.bias);
  EXPECT_EQ(o.oscillate, e.oscillate);
  EXPECT_EQ(o.osc_chaos, e.osc_chaos);
  EXPECT_EQ(o.image_flag, e.image_flag);
  EXPECT_EQ(o.paint_mode, e.paint_mode);
  const io::BrushImageOptions defaults;
  EXPECT_EQ(o.playback_mode, version4 ? e.playback_mode : defaults.playback_mode);
  EXPECT_EQ(o.image_color, version4 ? e.image_color : defaults.image_color);
}

}  // namespace

TEST(BrushImageFile, ImagesReadInOrderWithEveryField) {
  const io::BrushImage a = sample_image(3, 2, "snap", 1.5f), b = sample_image(1, 1, "stone.oli", 40);
  const io::Bytes file = join({header(2), segment_file(image_block(a), false), segment_file(image_block(b), false)});
  Result<io::BrushImageFile> r = io::read_brush_images(file);
  ASSERT_TRUE(succeeded(r));
  EXPECT_EQ(r->version, 4);
  EXPECT_FALSE(r->truncated);
  expect_options(r->options, true);
  ASSERT_EQ(r->images.size(), 2u);
  expect_same(r->images[0], a);
  expect_same(r->images[1], b);
  EXPECT_EQ(io::encode_brush_image(r->images[0]), image_block(a));

  // Written by us and read back: the same images, the same options.
  io::MemoryOutput out;
  int done = 0;
  ASSERT_TRUE(io::write_brush_images(out, r->options, r->images, [&](int n) { done = n; }));
  EXPECT_EQ(done, 2);
  Result<io::BrushImageFile> again = io::read_brush_images(out.bytes);
  ASSERT_TRUE(succeeded(again));
  expect_options(again->options, true);
  ASSERT_EQ(again->images.size(), 2u);
  expect_same(again->images[0], a);
  expect_same(again->images[1], b);
}

TEST(BrushImageFile, NoImagesStillRestoreTheOptions) {
  for (uint8_t version : {3, 4}) {
    SCOPED_TRACE(int(version));
    Result<io::BrushImageFile> r = io::read_brush_images(header(0, version));
    ASSERT_TRUE(succeeded(r));
    EXPECT_TRUE(r->images.empty());
    EXPECT_FALSE(r->truncated);
    expect_options(r->options, version == 4);
  }
}

TEST(BrushImageFile, CutFileKeepsTheImagesBeforeTheCut) {
  const io::BrushImage a = sample_image(2, 2, "a", 1), b = sample_image(4, 3, "b", 2), c = sample_image(5, 5, "c", 3);
  const io::Bytes head = header(3);
  const io::Bytes first = segment_file(image_block(a), false), second = segment_file(image_block(b), false);
  const io::Bytes third = segment_file(image_block(c), false);
  struct Case {
    const char* name;
    io::Bytes file;
    std::size_t images;
  };
  const io::Bytes all = join({head, first, second, third});
  const Case cases[] = {
      {"after the header", head, 0},
      {"inside the first tags", io::Bytes(all.begin(), all.begin() + std::ptrdiff_t(head.size() + 14)), 0},
      {"inside the third payload", io::Bytes(all.begin(), all.end() - 30), 2},
      {"before the third", join({head, first, second}), 2},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Result<io::BrushImageFile> r = io::read_brush_images(k.file);
    ASSERT_TRUE(succeeded(r));
    EXPECT_TRUE(r->truncated);
    EXPECT_EQ(r->stated_count, 3);
    expect_options(r->options, true);
    ASSERT_EQ(r->images.size(), k.images);
    if (k.images > 0) expect_same(r->images[0], a);
    if (k.images > 1) expect_same(r->images[1], b);
  }
}

TEST(BrushImageFile, BadFilesAreRefused) {
  const io::BrushImage a = sample_image(2, 2, "a", 1);
  const io::Bytes good_image = segment_file(image_block(a), false);
  auto with_image = [&](io::Bytes block) { return join({header(1), segment_file(block, false)}); };
  const io::Bytes block = image_block(a);
  io::Bytes long_pixels = block;
  long_pixels.push_back(0);
  io::Bytes damaged = good_image;
  // The payload's bytes, framing left whole.
  const std::string_view size_end = "</SIZE>\r\n";
  auto payload = std::search(damaged.begin(), damaged.end(), size_end.begin(), size_end.end()) + 9;
  for (auto at = payload; at < damaged.end() - 20; ++at) *at ^= 0x5a;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    const char* name;
    io::Bytes file;
    const char* message;
  };
  const Case cases[] = {
      {"empty", {}, "not an Ollan brush-image file"},
      {"bad magic", join({header(1, 4, "Ollan brush imagez"), good_image}), "not an Ollan brush-image file"},
      {"header packed once", join({segment_file(io::Bytes(18, 'x'), false), good_image}), "not an Ollan brush"},
      {"version 2", join({header(1, 2), good_image}), "version 2 cannot be read"},
      {"version 5", join({header(1, 5), good_image}), "version 5 cannot be read"},
      {"negative count", join({header(-1), good_image}), "negative image count"},
      {"zero width", with_image(image_block(a, 0, 2, 1)), "0.000000 x 2.000000 pixels"},
      {"too wide", with_image(image_block(a, 2049, 2, 1)), "2049.000000 x 2.000000"},
      {"part pixels", with_image(image_block(a, 1.5f, 2, 1)), "1.500000 x 2.000000"},
      {"size not finite", with_image(image_block(a, nan, 2, 1)), "not finite"},
      {"huge name", with_image(image_block(a, 2, 2, 0x7fffffff)), "name of 2147483647 bytes"},
      {"negative name", with_image(image_block(a, 2, 2, -5)), "name of -5 bytes"},
      {"pixels too long", with_image(long_pixels), "holds 81 bytes of pixels, expected 80"},
      {"pixels missing", with_image(io::Bytes(block.begin(), block.end() - 4)), "expected 80"},
      {"block ends in the size", with_image(io::Bytes(6, 0)), "ends early"},
      {"damaged segment", join({header(1), damaged}), "brush image 1 is damaged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Result<io::BrushImageFile> r = io::read_brush_images(c.file);
    ASSERT_FALSE(r);
    EXPECT_NE(message_of(r).find(c.message), std::string::npos) << message_of(r);
  }
}
