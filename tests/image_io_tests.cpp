#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#include "document/image_export.h"
#include "document/image_import.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "io/atomic_file.h"
#include "io/brush_image_format.h"
#include "io/jpeg.h"
#include "io/ora.h"
#include "io/palette.h"
#include "io/png_import.h"
#include "io/project_format.h"
#include "io/settings_format.h"
#include "io/swatch_format.h"
#include "layers/layer.h"
#include "layers/layer_display.h"
#include "tests/gl_fixture.h"
#include "tests/result_helpers.h"
#include "tests/temp_dir.h"

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
    Result<io::Pixmap> p = io::TPixmapLoaderPNG::LoadPixmap(c.file);
    ASSERT_TRUE(p) << c.what << ": " << message_of(p);
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
    Result<io::Pixmap> p = io::TPixmapLoaderPNG::LoadPixmap(c.file);
    ASSERT_FALSE(p) << c.what;
    EXPECT_EQ(p.error().message.rfind("PNG ERROR", 0), 0u) << c.what << ": " << p.error().message;
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
  Result<std::vector<uint8_t>> jpeg = io::jpeg_encode(rgb, w, h, io::jpeg_quality);
  ASSERT_TRUE(succeeded(jpeg));
  Result<io::Pixmap> back = io::jpeg_decode(*jpeg);
  ASSERT_TRUE(succeeded(back));
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
  std::vector<uint8_t> good = *io::jpeg_encode(rgb, 32, 32, 100);
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
    Result<io::Pixmap> p = io::jpeg_decode(c.file);
    ASSERT_FALSE(p) << c.what;
    EXPECT_FALSE(p.error().message.empty()) << c.what;
  }
  EXPECT_FALSE(io::jpeg_encode(rgb, 0, 32, 100));
  EXPECT_FALSE(io::jpeg_encode(rgb, 31, 32, 100));  // size does not match the samples
}

// Every file in tests/fixtures (inputs the fuzzers found included) goes
// through its reader; the name says what must happen: "_ok" reads, "_cut"
// reads the complete part (a palette: the colours present), "_bad" is refused, anything else must just not crash.
TEST(ReaderFixtures, EachFixtureReadsAsItsNameSays) {
  namespace fs = std::filesystem;
  int seen = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(fs::path(OLLAN_SOURCE_DIR) / "tests" / "fixtures")) {
    const std::string name = e.path().filename().string();
    Result<std::vector<uint8_t>> file = io::read_file(e.path().string());
    ASSERT_TRUE(succeeded(file));
    const std::vector<uint8_t>& bytes = *file;
    const std::string ext = e.path().extension().string();
    bool read = false;
    std::string error;
    if (ext == ".olp") {
      Result<io::StoredProject> p = io::read_project(bytes, {});
      read = p.ok();
      error = message_of(p);
      if (read && name.find("_cut") != std::string::npos) {
        EXPECT_TRUE(p->truncated) << name;
      }
      if (read && name.find("_ok") != std::string::npos) {
        EXPECT_FALSE(p->truncated) << name;
      }
    } else if (ext == ".png") {
      Result<io::Pixmap> p = io::TPixmapLoaderPNG::LoadPixmap(bytes);
      read = p.ok();
      error = message_of(p);
    } else if (ext == ".jpg") {
      Result<io::Pixmap> p = io::jpeg_decode(bytes);
      read = p.ok();
      error = message_of(p);
    } else if (ext == ".ora") {
      Result<io::OraImage> image = io::read_ora(bytes, {});
      read = image.ok();
      error = message_of(image);
    } else if (ext == ".pal" || ext == ".gpl") {
      Result<io::Palette> p = io::read_palette(bytes);
      read = p.ok();
      error = message_of(p);
    } else if (ext == ".ols") {
      Result<io::SettingsFile> s = io::read_settings(bytes);
      read = s.ok();
      error = message_of(s);
    } else if (ext == ".olc") {
      Result<io::SwatchColumns> s = io::read_swatches(bytes);
      read = s.ok();
      error = message_of(s);
    } else if (ext == ".oli") {
      Result<io::BrushImageFile> f = io::read_brush_images(bytes);
      read = f.ok();
      error = message_of(f);
      if (read) {
        EXPECT_EQ(f->truncated, name.find("_cut") != std::string::npos) << name;
      }
    } else {
      // Segments one after another until the end or the first the reader refuses.
      io::SegmentReader r(bytes);
      int n = 0;
      for (Result<io::Segment> s = r.read_segment(); s && s->status != io::SegmentStatus::end && n < 100000;
           s = r.read_segment())
        ++n;
      read = n > 0;
    }
    if (name.find("_ok") != std::string::npos || name.find("_cut") != std::string::npos) {
      EXPECT_TRUE(read) << name << ": " << error;
    }
    if (name.find("_bad") != std::string::npos) {
      EXPECT_FALSE(read) << name;
    }
    ++seen;
  }
  EXPECT_GE(seen, 5);
}

// Export and import through the GPU.
namespace {

struct Png16 {
  int w = 0, h = 0, channels = 0;
  std::vector<uint16_t> samples;  // top row first
};

// The file's 16-bit samples as stored.
Png16 read_png16(const std::string& path) {
  Png16 out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, f);
  png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  out.w = int(png_get_image_width(png, info));
  out.h = int(png_get_image_height(png, info));
  out.channels = png_get_channels(png, info);
  EXPECT_EQ(png_get_bit_depth(png, info), 16);
  png_bytepp rows = png_get_rows(png, info);
  for (int y = 0; y < out.h; ++y)
    for (int i = 0; i < out.w * out.channels; ++i)
      out.samples.push_back(uint16_t(rows[y][2 * i] << 8 | rows[y][2 * i + 1]));
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(f);
  return out;
}

std::string temp_file(const std::string& name) {
  return test_file("image_io_" + name);
}

// Fills the rectangle (x, y, w, h) of the canvas (y down) of `l` with a colour
// and a paint amount.
void paint_rect(layer& l, int x, int y, int w, int h, const float rgba[4], float amount) {
  const int H = gpu::geometry.height;
  std::vector<float> col(std::size_t(w) * h * 4), mat(std::size_t(w) * h, amount);
  for (std::size_t i = 0; i < mat.size(); ++i) std::copy_n(rgba, 4, &col[i * 4]);
  glBindTexture(GL_TEXTURE_2D, l.fbo_col());
  glTexSubImage2D(GL_TEXTURE_2D, 0, x, H - y - h, w, h, GL_RGBA, GL_FLOAT, col.data());
  glBindTexture(GL_TEXTURE_2D, l.fbo_mat());
  glTexSubImage2D(GL_TEXTURE_2D, 0, x, H - y - h, w, h, GL_RED, GL_FLOAT, mat.data());
  glBindTexture(GL_TEXTURE_2D, 0);
}

void clear_layer(layer& l) {
  const float none[4] = {0, 0, 0, 0};
  paint_rect(l, 0, 0, gpu::geometry.width, gpu::geometry.height, none, 0);
}

uint16_t sample(const Png16& p, int x, int y, int c) {
  return p.samples[std::size_t(y * p.w + x) * p.channels + c];
}

}  // namespace

TEST_F(GlTest, ColourAndHeightPairExport) {
  layer& l = *layers.active;
  clear_layer(l);
  const float bright[4] = {2.5f, 0.5f, 0, 1};  // red above 1
  paint_rect(l, 10, 10, 20, 10, bright, 1.0f);
  paint_rect(l, 100, 50, 10, 10, bright, 3.0f);  // thick relief
  gpu::canvas_settings.show = 0;

  const std::string chosen = temp_file("pair.png");
  std::filesystem::remove(chosen);
  ASSERT_TRUE(succeeded(document::export_png(chosen, document::png_export_for(3))));
  EXPECT_FALSE(std::filesystem::exists(chosen));
  Png16 col = read_png16(temp_file("pair_col.png"));
  Png16 mat = read_png16(temp_file("pair_mat.png"));
  ASSERT_EQ(col.w, 160);
  ASSERT_EQ(col.channels, 4);
  ASSERT_EQ(mat.channels, 4);
  EXPECT_EQ(sample(col, 15, 12, 0), 65535);  // 2.5 exports as the largest sample
  EXPECT_NEAR(sample(col, 15, 12, 1), 32768, 2);
  EXPECT_EQ(sample(col, 15, 12, 3), 65535);
  EXPECT_EQ(sample(col, 60, 60, 3), 0);  // no paint: transparent
  // Height: the thickest paint is 1, a flat film and bare canvas are 0, all opaque.
  EXPECT_EQ(sample(mat, 105, 55, 0), 65535);
  EXPECT_EQ(sample(mat, 15, 12, 0), 0);
  EXPECT_EQ(sample(mat, 60, 60, 0), 0);
  EXPECT_EQ(sample(mat, 60, 60, 3), 65535);

  // No paint at all exports a black height picture.
  clear_layer(l);
  ASSERT_TRUE(succeeded(document::export_png(chosen, document::PngExport::col_mat)));
  mat = read_png16(temp_file("pair_mat.png"));
  EXPECT_TRUE(std::all_of(mat.samples.begin(), mat.samples.end(),
                          [&, i = 0](uint16_t s) mutable { return ++i % 4 == 0 ? s == 65535 : s == 0; }));
  gpu::canvas_settings.show = 1;
  std::filesystem::remove(temp_file("pair_col.png"));
  std::filesystem::remove(temp_file("pair_mat.png"));
  EXPECT_EQ(document::png_pair_name("a.png.olp.png", "_col.png"), "a.png.olp_col.png");
}

TEST_F(GlTest, LitAndLayerExports) {
  layer& l = *layers.active;
  clear_layer(l);
  const float blue[4] = {0.1f, 0.2f, 0.9f, 1};
  paint_rect(l, 40, 20, 30, 30, blue, 1.5f);
  display_layers({});

  const std::string lit = temp_file("lit.png");
  ASSERT_TRUE(succeeded(document::export_png(lit, document::png_export_for(0))));
  Png16 p = read_png16(lit);
  ASSERT_EQ(p.channels, 3);
  ASSERT_EQ(p.w, 160);
  ASSERT_EQ(p.h, 90);
  // The painted square is bluer than the bare canvas beside it; its top-left
  // corner is where it was painted: the rows are not upside down.
  EXPECT_GT(sample(p, 55, 25, 2) - sample(p, 55, 25, 0), sample(p, 10, 80, 2) - sample(p, 10, 80, 0) + 5000);
  EXPECT_LT(sample(p, 55, 85, 2) - sample(p, 55, 85, 0), 5000);

  const std::string one = temp_file("layer.png");
  ASSERT_TRUE(succeeded(document::export_png(one, document::png_export_for(2))));
  p = read_png16(one);
  ASSERT_EQ(p.channels, 4);
  EXPECT_EQ(sample(p, 10, 80, 3), 0);  // no paint: transparent, no canvas
  EXPECT_GT(sample(p, 55, 35, 3), 60000);
  EXPECT_GT(sample(p, 55, 35, 2), sample(p, 55, 35, 0));

  const std::string jpeg = temp_file("lit.jpg");
  ASSERT_TRUE(succeeded(document::export_jpeg(jpeg)));
  Result<std::vector<uint8_t>> bytes = io::read_file(jpeg);
  ASSERT_TRUE(succeeded(bytes));
  Result<io::Pixmap> j = io::jpeg_decode(*bytes);
  ASSERT_TRUE(succeeded(j));
  EXPECT_EQ(j->width, 160);
  EXPECT_EQ(j->height, 90);
  const uint8_t* in_square = &j->pixels[std::size_t(35 * 160 + 55) * 3];
  EXPECT_GT(in_square[2], in_square[0] + 20);
  for (const std::string& f : {lit, one, jpeg}) std::filesystem::remove(f);
}

TEST_F(GlTest, PictureImportIsCentredAndFollowsAlpha) {
  layer& l = *layers.active;
  const float green[4] = {0, 1, 0, 1};
  paint_rect(l, 0, 0, 160, 90, green, 2);
  // 40 x 30: top row red, the rest grey; the left half opaque, the right half clear.
  io::Pixmap pic;
  pic.width = 40, pic.height = 30, pic.channels = 4;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const uint8_t v = y == 0 ? 0 : 128;
      pic.pixels.insert(pic.pixels.end(), {uint8_t(y == 0 ? 255 : 128), v, v, uint8_t(x < 20 ? 255 : 0)});
    }
  ASSERT_TRUE(succeeded(document::import_picture(pic, false, 160, 90)));
  std::vector<float> col = read_texture(l.fbo_col(), 160, 90, GL_RGBA, 4);
  std::vector<float> mat = read_texture(l.fbo_mat(), 160, 90, GL_RED, 1);
  // Canvas pixel (x, y), y down, in buffer order.
  auto at = [](int x, int y) { return std::size_t((89 - y) * 160 + x); };
  EXPECT_NEAR(col[at(60, 30) * 4 + 0], 1.0f, 0.01);  // top row of the picture, at (60, 30)
  EXPECT_NEAR(col[at(60, 31) * 4 + 1], 0.5f, 0.01);
  EXPECT_NEAR(mat[at(70, 45)], 1.0f, 0.01);  // opaque half: full paint
  EXPECT_NEAR(mat[at(90, 45)], 0.0f, 0.01);  // clear half: none
  EXPECT_EQ(col[at(10, 10) * 4 + 3], 0.0f);  // outside the picture: cleared
  EXPECT_EQ(mat[at(10, 10)], 0.0f);
  // The undo copy keeps the green layer.
  std::vector<float> undo = read_texture(l.undo_col(), 160, 90, GL_RGBA, 4);
  EXPECT_EQ(undo[at(10, 10) * 4 + 1], 1.0f);

  // A picture without alpha is a full film everywhere; "yes" takes its size.
  pic.channels = 3;
  pic.pixels.assign(40 * 30 * 3, 200);
  ASSERT_TRUE(succeeded(document::import_picture(pic, true, 160, 90)));
  EXPECT_EQ(gpu::geometry.width, 40);
  EXPECT_EQ(gpu::geometry.height, 30);
  mat = read_texture(layers.active->fbo_mat(), 40, 30, GL_RED, 1);
  EXPECT_TRUE(std::all_of(mat.begin(), mat.end(), [](float m) { return m == 1.0f; }));
}
