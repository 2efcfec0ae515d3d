#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "io/png16.h"
#include "tests/result_helpers.h"
#include "tests/temp_dir.h"

namespace {

struct Decoded {
  png_uint_32 w = 0, h = 0;
  int depth = 0, colour_type = 0;
  std::vector<std::vector<uint8_t>> rows;  // as stored: big-endian samples
};

struct Reader {
  const std::vector<uint8_t>* bytes;
  size_t at = 0;
};

void read_bytes(png_structp png, png_bytep out, png_size_t n) {
  auto* r = static_cast<Reader*>(png_get_io_ptr(png));
  if (r->at + n > r->bytes->size()) png_error(png, "read past the end");
  std::memcpy(out, r->bytes->data() + r->at, n);
  r->at += n;
}

Decoded decode(const std::vector<uint8_t>& bytes) {
  Decoded d;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  Reader r{&bytes};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    ADD_FAILURE() << "libpng could not read what we wrote";
    return {};
  }
  png_set_read_fn(png, &r, read_bytes);
  png_read_info(png, info);
  d.w = png_get_image_width(png, info);
  d.h = png_get_image_height(png, info);
  d.depth = png_get_bit_depth(png, info);
  d.colour_type = png_get_color_type(png, info);
  d.rows.assign(d.h, std::vector<uint8_t>(png_get_rowbytes(png, info)));
  for (auto& row : d.rows) png_read_row(png, row.data(), nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return d;
}

unsigned sample(const Decoded& d, int x, int y, int c, int channels) {
  const uint8_t* p = d.rows[size_t(y)].data() + (size_t(x) * size_t(channels) + size_t(c)) * 2;
  return unsigned(p[0]) << 8 | p[1];
}

}  // namespace

TEST(Png16, SamplesAreScaledClampedBigEndianTopRowFirst) {
  for (int channels : {3, 4}) {
    // 2 x 2: top row first.
    std::vector<float> px;
    const float values[] = {0.0f, 0.5f, 1.0f, 2.5f, -1.0f, NAN, 0.25f, 1e-6f};
    for (int i = 0; i < 4 * channels; ++i) px.push_back(values[i % 8]);
    io::MemoryOutput out;
    ASSERT_TRUE(succeeded(io::png16_encode(out, px, 2, 2, channels)));
    Decoded d = decode(out.bytes);
    EXPECT_EQ(d.w, 2u);
    EXPECT_EQ(d.h, 2u);
    EXPECT_EQ(d.depth, 16);
    EXPECT_EQ(d.colour_type, channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB);
    for (int i = 0; i < 4 * channels; ++i) {
      float v = values[i % 8];
      unsigned expected = !(v > 0) ? 0 : v >= 1 ? 65535 : unsigned(v * 65535);
      int pixel = i / channels;
      EXPECT_EQ(sample(d, pixel % 2, pixel / 2, i % channels, channels), expected) << "sample " << i;
    }
  }
}

TEST(Png16, BadInputIsAnErrorNotACrash) {
  std::vector<float> px(2 * 2 * 4, 0.5f);
  const struct {
    int w, h, channels;
    size_t count;
  } cases[] = {{2, 2, 2, 8},  {2, 2, 5, 20}, {0, 2, 4, 0},       {2, -2, 4, 16},
               {2, 2, 4, 15}, {3, 2, 4, 16}, {2000000, 1, 3, 16}};
  for (const auto& c : cases) {
    io::MemoryOutput out;
    Result<void> r =
        io::png16_encode(out, std::span<const float>(px.data(), std::min(c.count, px.size())), c.w, c.h, c.channels);
    ASSERT_FALSE(r);
    EXPECT_FALSE(r.error().message.empty());
  }
  Result<void> r = io::png16_write("/nonexistent-folder/x.png", px, 2, 2, 4);
  ASSERT_FALSE(r);
  EXPECT_FALSE(r.error().message.empty());
}

TEST(Png16, WritesTheFileWhole) {
  namespace fs = std::filesystem;
  fs::path path = fs::path(test_file("png16_test.png"));
  std::vector<float> px(3 * 2 * 3, 0.75f);
  ASSERT_TRUE(succeeded(io::png16_write(path.string(), px, 3, 2, 3)));
  Result<std::vector<uint8_t>> bytes = io::read_file(path.string());
  ASSERT_TRUE(succeeded(bytes));
  Decoded d = decode(*bytes);
  EXPECT_EQ(d.w, 3u);
  EXPECT_EQ(sample(d, 2, 1, 2, 3), unsigned(0.75f * 65535));
  for (const auto& e : fs::directory_iterator(path.parent_path()))
    EXPECT_EQ(e.path().filename().string().find("ollan_png16_test.png.tmp"), std::string::npos)
        << "temporary left behind";
  fs::remove(path);
}

// Pictures are packed at zlib level 9: the stream header of the first IDAT
// chunk says "maximum compression" (FLEVEL 3), which levels below 7 never do.
TEST(Png16, WrittenAtTheHighestCompressionLevel) {
  std::vector<float> px(size_t(64) * 32 * 4);
  for (size_t i = 0; i < px.size(); ++i) px[i] = float(i % 97) / 97.0f;
  io::MemoryOutput out;
  ASSERT_TRUE(succeeded(io::png16_encode(out, px, 64, 32, 4)));
  const std::vector<uint8_t>& b = out.bytes;
  size_t at = 8;  // after the signature: length, type, data, CRC per chunk
  while (at + 8 <= b.size() && std::memcmp(&b[at + 4], "IDAT", 4) != 0) {
    const size_t length = (size_t(b[at]) << 24) | (size_t(b[at + 1]) << 16) | (size_t(b[at + 2]) << 8) | b[at + 3];
    at += 12 + length;
  }
  ASSERT_LE(at + 10, b.size()) << "an IDAT chunk";
  const uint8_t cmf = b[at + 8], flg = b[at + 9];
  EXPECT_EQ(cmf & 0x0f, 8) << "deflate";
  EXPECT_EQ(flg >> 6, 3) << "compression level 9";
}
