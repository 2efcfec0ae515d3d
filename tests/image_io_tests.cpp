#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#include "io/atomic_file.h"
#include "io/jpeg.h"
#include "io/png_import.h"
#include "io/project_format.h"

namespace {

// A PNG of `color_type` at 8 bits from `samples` (channels per pixel as the
// colour type says), written with libpng into memory.
std::vector<uint8_t> make_png(int w, int h, int color_type, const std::vector<uint8_t>& samples,
                              const std::vector<png_color>& palette = {}, const std::vector<uint8_t>& trns = {}) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep d, png_size_t n) {
        auto* v = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
        v->insert(v->end(), d, d + n);
      },
      nullptr);
  png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, color_type, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
  if (!trns.empty()) png_set_tRNS(png, info, trns.data(), int(trns.size()), nullptr);
  png_write_info(png, info);
  const std::size_t row = samples.size() / std::size_t(h);
  for (int y = 0; y < h; ++y) png_write_row(png, samples.data() + std::size_t(y) * row);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

}  // namespace

TEST(PngImport, ChannelLayoutFollowsTheFile) {
  const int w = 3, h = 2;
  std::vector<uint8_t> grey{10, 20, 30, 40, 50, 60};
  std::vector<uint8_t> grey_alpha{10, 1, 20, 2, 30, 3, 40, 4, 50, 5, 60, 6};
  std::vector<uint8_t> rgb(w * h * 3), rgba(w * h * 4);
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 11);
  for (std::size_t i = 0; i < rgba.size(); ++i) rgba[i] = uint8_t(i * 7);
  std::vector<png_color> palette{{255, 0, 0}, {0, 0, 255}};
  std::vector<uint8_t> indices{0, 1, 0, 1, 1, 0};
  const struct {
    const char* what;
    std::vector<uint8_t> file;
    int channels;
    std::vector<uint8_t> first_pixel;
    int last_alpha;
  } cases[] = {
      {"grey", make_png(w, h, PNG_COLOR_TYPE_GRAY, grey), 1, {10}, 255},
      {"grey with alpha", make_png(w, h, PNG_COLOR_TYPE_GRAY_ALPHA, grey_alpha), 4, {10, 10, 10, 1}, 6},
      {"rgb", make_png(w, h, PNG_COLOR_TYPE_RGB, rgb), 3, {0, 11, 22}, 255},
      {"rgba", make_png(w, h, PNG_COLOR_TYPE_RGB_ALPHA, rgba), 4, {0, 7, 14, 21}, rgba.back()},
      // Index 0 (red) is half transparent, index 1 (blue) opaque; the last pixel is index 0.
      {"palette", make_png(w, h, PNG_COLOR_TYPE_PALETTE, indices, palette), 3, {255, 0, 0}, 255},
      {"palette with transparency",
       make_png(w, h, PNG_COLOR_TYPE_PALETTE, indices, palette, {128}),
       4,
       {255, 0, 0, 128},
       128},
  };
  for (const auto& c : cases) {
    std::string error;
    std::optional<io::Pixmap> p = io::TPixmapLoaderPNG::LoadPixmap(c.file, &error);
    ASSERT_TRUE(p) << c.what << ": " << error;
    EXPECT_EQ(p->width, w) << c.what;
    EXPECT_EQ(p->height, h) << c.what;
    EXPECT_EQ(p->channels, c.channels) << c.what;
    ASSERT_EQ(p->pixels.size(), std::size_t(w * h * c.channels)) << c.what;
    EXPECT_EQ(std::vector<uint8_t>(p->pixels.begin(), p->pixels.begin() + c.channels), c.first_pixel) << c.what;
    // The last pixel's alpha: the rows come top first, in file order.
    EXPECT_EQ(p->rgba()[std::size_t(w * h - 1) * 4 + 3], c.last_alpha) << c.what;
  }
}

TEST(PngImport, DamagedFilesImportNothing) {
  std::vector<uint8_t> rgb(16 * 16 * 3, 200);
  std::vector<uint8_t> good = make_png(16, 16, PNG_COLOR_TYPE_RGB, rgb);
  std::vector<uint8_t> huge = good;
  // IHDR width and height become 16384: the file cannot hold such a picture.
  const uint8_t side[4] = {0, 0, 0x40, 0};
  std::memcpy(&huge[16], side, 4);
  std::memcpy(&huge[20], side, 4);
  std::vector<uint8_t> cut(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2));
  std::vector<uint8_t> flipped = good;
  flipped[good.size() / 2] ^= 0xFF;
  const struct {
    const char* what;
    std::vector<uint8_t> file;
  } cases[] = {{"empty", {}},
               {"not a PNG", {1, 2, 3, 4, 5, 6, 7, 8, 9}},
               {"cut", cut},
               {"damaged data", flipped},
               {"impossible size", huge}};
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(io::TPixmapLoaderPNG::LoadPixmap(c.file, &error)) << c.what;
    EXPECT_EQ(error.rfind("PNG ERROR", 0), 0u) << c.what << ": " << error;
  }
}

TEST(Jpeg, RoundTripAtQuality100StaysClose) {
  const int w = 37, h = 21;
  std::vector<uint8_t> rgb(std::size_t(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &rgb[std::size_t(y * w + x) * 3];
      p[0] = uint8_t(x * 6), p[1] = uint8_t(y * 12), p[2] = uint8_t(x < w / 2 ? 40 : 220);
    }
  std::string error;
  auto jpeg = io::jpeg_encode(rgb, w, h, io::jpeg_quality, &error);
  ASSERT_TRUE(jpeg) << error;
  std::optional<io::Pixmap> back = io::jpeg_decode(*jpeg, &error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->width, w);
  EXPECT_EQ(back->height, h);
  EXPECT_EQ(back->channels, 3);
  // Chroma subsampling blurs the sharp blue edge a little; on average the
  // picture is all but exact.
  double error_sum = 0;
  for (std::size_t i = 0; i < rgb.size(); ++i) error_sum += std::abs(int(back->pixels[i]) - int(rgb[i]));
  EXPECT_LT(error_sum / double(rgb.size()), 2.0);
  // The top-left and bottom-right corners keep their colours: rows are not flipped.
  EXPECT_NEAR(back->pixels[1], 0, 6);
  EXPECT_NEAR(back->pixels[rgb.size() - 2], (h - 1) * 12, 6);
}

TEST(Jpeg, DamagedFilesImportNothing) {
  std::vector<uint8_t> rgb(32 * 32 * 3, 90);
  std::string error;
  std::vector<uint8_t> good = *io::jpeg_encode(rgb, 32, 32, 100, &error);
  std::vector<uint8_t> garbage(good.size());
  std::mt19937 rng(1);
  for (uint8_t& b : garbage) b = uint8_t(rng());
  garbage[0] = 0xFF, garbage[1] = 0xD8;
  // SOF0 with 65000 x 65000: more than the file could ever hold.
  std::vector<uint8_t> huge = good;
  for (std::size_t i = 0; i + 8 < huge.size(); ++i)
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = 0xFD, huge[i + 6] = 0xE8, huge[i + 7] = 0xFD, huge[i + 8] = 0xE8;
      break;
    }
  const struct {
    const char* what;
    std::vector<uint8_t> file;
  } cases[] = {{"empty", {}},
               {"only the start marker", {0xFF, 0xD8, 0xFF}},
               {"garbage after the marker", garbage},
               {"header cut", std::vector<uint8_t>(good.begin(), good.begin() + 100)},
               {"impossible size", huge}};
  for (const auto& c : cases) {
    error.clear();
    EXPECT_FALSE(io::jpeg_decode(c.file, &error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
  EXPECT_FALSE(io::jpeg_encode(rgb, 0, 32, 100, &error));
  EXPECT_FALSE(io::jpeg_encode(rgb, 31, 32, 100, &error));  // size does not match the samples
}

// Every file in tests/fixtures (inputs the fuzzers found included) goes
// through its reader; the name says what must happen: "_ok" reads, "_cut"
// reads the complete part, "_bad" is refused, anything else must just not crash.
TEST(ReaderFixtures, EachFixtureReadsAsItsNameSays) {
  namespace fs = std::filesystem;
  int seen = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(fs::path(OLLAN_SOURCE_DIR) / "tests" / "fixtures")) {
    const std::string name = e.path().filename().string();
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(io::read_file(e.path().string(), &bytes, &error)) << error;
    const std::string ext = e.path().extension().string();
    bool read = false;
    if (ext == ".olp") {
      io::StoredProject p;
      read = io::read_project(bytes, {}, &p, &error);
      if (read && name.find("_cut") != std::string::npos) EXPECT_TRUE(p.truncated) << name;
      if (read && name.find("_ok") != std::string::npos) EXPECT_FALSE(p.truncated) << name;
    } else if (ext == ".png") {
      read = io::TPixmapLoaderPNG::LoadPixmap(bytes, &error).has_value();
    } else if (ext == ".jpg") {
      read = io::jpeg_decode(bytes, &error).has_value();
    } else {
      io::SegmentReader r(bytes);
      int n = 0;
      while (r.read_segment().status != io::SegmentStatus::end && n < 100000) ++n;
      read = n > 0;
    }
    if (name.find("_ok") != std::string::npos || name.find("_cut") != std::string::npos)
      EXPECT_TRUE(read) << name << ": " << error;
    if (name.find("_bad") != std::string::npos) EXPECT_FALSE(read) << name;
    ++seen;
  }
  EXPECT_GE(seen, 5);
}
