#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "brush/brush_settings.h"
#include "document/brush_images.h"
#include "document/document_state.h"
#include "document/parameters.h"
#include "document/small_files.h"
#include "document/swatch_grid.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "gpu/guide_settings.h"
#include "tests/block_builder.h"
#include "tests/gl_fixture.h"
#include "tests/result_helpers.h"
#include "tests/temp_dir.h"

namespace {

using document::brush_images;
using document::ParamId;

std::string temp_path(const std::string& name) {
  return test_file("small_files_" + name);
}

std::string write_temp(const std::string& name, const io::Bytes& bytes) {
  const std::string path = temp_path(name);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

io::Bytes cut(io::Bytes b, std::size_t keep) {
  b.resize(std::min(keep, b.size()));
  return b;
}

// The segment of `block` with the first byte of its magic changed.
io::Bytes bad_magic(const io::Bytes& block, bool twice) {
  io::Bytes wrong = block;
  wrong[0] = 'X';
  return segment_file(wrong, twice);
}

// A settings block from the layout: version 1, a canvas of 1280 x 720, every
// value within its control's range. `fluidity` and `subdivisions` may be put
// out of range by a test.
io::Bytes settings_block(float fluidity = 0.6f, int32_t subdivisions = 5) {
  BlockBuilder b;
  b.text("Ollan Rizazuv version").u8(1);
  b.f32(1280).f32(720);
  b.f32(0.2f).f32(0.4f).f32(0.6f).f32(1);  // colour
  b.f32(0.3f).f32(0.6f);                   // display gamma, midpoint
  b.f32(1).f32(0.9f).f32(0.8f);            // light colour
  b.f32(0.1f).f32(0.2f).f32(0.3f);         // light position
  b.f32(0.05f).f32(0.06f).f32(0.07f);      // ambient
  b.f32(0.4f);                             // light setting
  b.f32(0.5f).f32(0.5f).f32(0.4f).f32(1);  // paper
  b.f32(0.3f);                             // new-layer bump
  b.f32(33);                               // brush size
  b.f32(0.2f).f32(0.3f).f32(0.7f);         // minimum size, blending, build-up
  b.u8(0).u8(1).u8(0);                     // pressure size, pressure opacity, R key
  for (int i = 0; i < 27; ++i) b.f32(float(i % 9) * 0.1f + (i < 9 ? 0.05f : 0.0f));  // preset tables
  b.f32(0.5f);                                                                       // mouse speed
  b.u8(0).u8(0);                                                                     // mirror mode, high quality
  b.f32(0.2f).f32(fluidity).f32(0.1f).f32(0.3f).f32(0.9f);                           // smudge chroma .. drying speed
  b.f32(60).f32(0.5f).f32(0.2f);                                                     // guide fov, distortion, alpha
  b.i32(subdivisions);
  for (int i = 0; i < 9; ++i) b.f32(float(i) - 4);      // guide offset, camera, rotation
  b.u8(1);                                              // canvas shown
  b.f32(0.3f).f32(0.6f).f32(0.2f).f32(0.4f).f32(0.5f);  // canvas strength .. stretch
  b.u8(0);                                              // drying
  return b.bytes;
}

// A swatch block from the layout: two columns with grid coordinates.
io::Bytes swatch_block() {
  BlockBuilder b;
  b.text("Ollan color swatches").u8(1).i32(2);
  b.i32(2);
  b.f32(1).f32(0).f32(0).f32(1).i32(0).i32(0).f32(0).f32(0);
  b.f32(0).f32(1).f32(0).f32(0.5f).i32(0).i32(1).f32(0).f32(20);
  b.i32(3);
  for (int i = 0; i < 3; ++i) b.f32(0.1f * float(i)).f32(0.2f).f32(0.3f).f32(1).i32(0).i32(i).f32(0).f32(20 * float(i));
  return b.bytes;
}

// A brush-image header and image blocks from the layout (version 4).
io::Bytes image_header(int32_t count) {
  BlockBuilder b;
  b.text("Ollan brush images").u8(4).i32(count);
  b.f32(0.3f).f32(0.7f).f32(-0.2f).f32(0.1f).f32(0.4f);  // bristle size, count, bias, oscillation, chaos
  b.u8(1).u8(2);                                         // image flag ("use"), paint sub-mode
  b.u8(2).u8(0);                                         // playback mode, image colour
  return b.bytes;
}

// Image `k` of w x h: colour (x / w, y / h, k, 1) and amount 2 + x + 10 y,
// so that colour and amount cannot pass for each other.
io::Bytes image_block(int k, int w, int h, const std::string& name) {
  BlockBuilder b;
  b.f32(float(w)).f32(float(h));
  for (int i = 0; i < 8; ++i) b.f32(float(10 * k + i));
  b.u8(uint8_t(k % 2)).i32(int32_t(name.size())).text(name);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.f32(float(x) / float(w)).f32(float(y) / float(h)).f32(float(k)).f32(1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.f32(2 + float(x) + 10 * float(y));
  return b.bytes;
}

io::Bytes image_file(int32_t stated, int images) {
  io::Bytes out = segment_file(image_header(stated), true);
  for (int k = 0; k < images; ++k) {
    const io::Bytes s = segment_file(image_block(k, 3 + k, 2, "img" + std::to_string(k)), false);
    out.insert(out.end(), s.begin(), s.end());
  }
  return out;
}

class SmallFileTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    document::reset_settings();
    document::reset_brush_images();
  }
  void TearDown() override {
    document::reset_brush_images();
    document::reset_settings();
  }
};

std::vector<std::vector<float>> grid_cells() {
  std::vector<std::vector<float>> out;
  for (const auto& column : swatch_grid.columns)
    for (const colors& c : column) out.push_back({c.r, c.g, c.b, c.a, float(c.xi), float(c.yi), c.x, c.y});
  return out;
}

// The image's pixels as the fixture wrote them: checks the colour and the
// amount by name, so a swap of the two textures shows.
void expect_fixture_image(const document::BrushImage& image, int k) {
  const int w = 3 + k, h = 2;
  ASSERT_EQ(image.width, w);
  ASSERT_EQ(image.height, h);
  EXPECT_EQ(image.name, "img" + std::to_string(k));
  EXPECT_EQ(image.huv[3].y, float(10 * k + 7));
  EXPECT_EQ(image.perspective, k % 2);
  const std::vector<float> col = document::read_image_col(image), mat = document::read_image_mat(image);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::size_t i = std::size_t(y * w + x);
      EXPECT_NEAR(col[i * 4], float(x) / float(w), 1e-3f);
      EXPECT_NEAR(col[i * 4 + 1], float(y) / float(h), 1e-3f);
      EXPECT_NEAR(col[i * 4 + 2], float(k), 1e-3f);
      EXPECT_EQ(mat[i], 2 + float(x) + 10 * float(y));
    }
}

}  // namespace

TEST_F(SmallFileTest, SettingsGoInThroughTheModelAndNeverResizeTheCanvas) {
  ASSERT_TRUE(succeeded(document::load_settings(write_temp("a.ols", segment_file(settings_block(), true)))));
  EXPECT_EQ(gpu::geometry.width, 160);
  EXPECT_EQ(gpu::geometry.height, 90);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::fluidity), 0.6f);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::brush_size), 33);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::brush_build_up), 0.7f);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::pen_opacity), 1);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::mouse_speed), 0.5f);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::canvas_stretch), 0.5f);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::drying), 0);
  EXPECT_FLOAT_EQ(gpu::display_settings.light_pos[2], 0.3f);
  EXPECT_EQ(gpu::guide_settings.guide_subdivisions, 5);
  EXPECT_FLOAT_EQ(gpu::guide_settings.guide_rotation[2], 4);
  EXPECT_FLOAT_EQ(brush_settings.preset_bias[8], 0.8f);

  // A value out of its control's range leaves that setting alone; the others
  // still go in.
  (void)document::set_value(ParamId::mouse_speed, 1);
  ASSERT_TRUE(succeeded(document::load_settings(write_temp("b.ols", segment_file(settings_block(7), true)))));
  EXPECT_FLOAT_EQ(document::value_of(ParamId::fluidity), 0.6f);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::mouse_speed), 0.5f);

  // Files that are not whole settings files change nothing.
  (void)document::set_value(ParamId::brush_size, 12);
  const io::Bytes good = segment_file(settings_block(), true);
  const io::Bytes bad[] = {
      segment_file(settings_block(0.6f, 1000), true),  // subdivisions past the bound
      segment_file(settings_block(0.6f, 0), true),
      bad_magic(settings_block(), true),
      cut(good, good.size() - 20),
      segment_file(settings_block(std::numeric_limits<float>::quiet_NaN()), true),
  };
  for (const io::Bytes& b : bad) {
    EXPECT_FALSE(document::load_settings(write_temp("bad.ols", b)));
    EXPECT_FLOAT_EQ(document::value_of(ParamId::brush_size), 12);
  }
}

TEST_F(SmallFileTest, SettingsRoundTripEveryField) {
  ASSERT_TRUE(succeeded(document::load_settings(write_temp("c.ols", segment_file(settings_block(), true)))));
  const io::Bytes before = io::encode_settings(document::gather_settings());
  const std::string path = temp_path("round.ols");
  ASSERT_TRUE(succeeded(document::save_settings(path)));
  document::reset_settings();
  ASSERT_NE(io::encode_settings(document::gather_settings()), before);
  ASSERT_TRUE(succeeded(document::load_settings(path)));
  EXPECT_EQ(io::encode_settings(document::gather_settings()), before);
}

TEST_F(SmallFileTest, SwatchFileReproducesTheGridCellByCell) {
  ASSERT_TRUE(succeeded(document::load_swatches(write_temp("a.olc", segment_file(swatch_block(), false)))));
  const std::vector<std::vector<float>> expected = {
      {1, 0, 0, 1, 0, 0, 0, 0},           {0, 1, 0, 0.5f, 0, 1, 0, 20},       {0, 0.2f, 0.3f, 1, 0, 0, 0, 0},
      {0.1f, 0.2f, 0.3f, 1, 0, 1, 0, 20}, {0.2f, 0.2f, 0.3f, 1, 0, 2, 0, 40},
  };
  EXPECT_EQ(grid_cells(), expected);
  ASSERT_EQ(swatch_grid.columns.size(), 2u);
  EXPECT_EQ(swatch_grid.columns[1].size(), 3u);

  const std::string path = temp_path("round.olc");
  ASSERT_TRUE(succeeded(document::save_swatches(path)));
  swatch_grid = {};
  ASSERT_TRUE(succeeded(document::load_swatches(path)));
  EXPECT_EQ(grid_cells(), expected);

  // A cut file or a wrong magic keeps the grid.
  const io::Bytes good = segment_file(swatch_block(), false);
  for (const io::Bytes& b : {cut(good, good.size() - 20), bad_magic(swatch_block(), false)}) {
    EXPECT_FALSE(document::load_swatches(write_temp("bad.olc", b)));
    EXPECT_EQ(grid_cells(), expected);
  }
}

TEST_F(SmallFileTest, ImageFileWithNoImagesRestoresTheOptions) {
  document::add_brush_image("old", document::image_col_buffer(1, 1, std::vector<float>(4, 1).data()),
                            document::image_mat_buffer(1, 1, std::vector<float>(1, 1).data()), 1, 1, {}, 0);
  const Result<std::string> r = document::load_brush_images(write_temp("none.oli", image_file(0, 0)));
  ASSERT_TRUE(succeeded(r));
  EXPECT_EQ(*r, "");
  EXPECT_TRUE(brush_images.list.empty()) << "the file's set replaces the images";
  EXPECT_EQ(brush_images.current, -1);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::brush_bristle_size), 0.3f);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::brush_bristles), 0.7f);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::brush_bias), -0.2f);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::brush_oscillate), 0.1f);
  EXPECT_FLOAT_EQ(document::value_of(ParamId::brush_osc_chaos), 0.4f);
  EXPECT_EQ(brush_images.options.use, 1);
  EXPECT_EQ(brush_images.options.colour, 0);
  EXPECT_EQ(brush_settings.paint_submode, 2);
  EXPECT_EQ(brush_settings.image_mode, 2);
}

TEST_F(SmallFileTest, ImageFileLoadsEachImageWithItsColourAndPaint) {
  const Result<std::string> r = document::load_brush_images(write_temp("two.oli", image_file(2, 2)));
  ASSERT_TRUE(succeeded(r));
  ASSERT_EQ(brush_images.list.size(), 2u);
  for (int k = 0; k < 2; ++k) expect_fixture_image(*brush_images.list[std::size_t(k)], k);

  // Written and read again, every field comes back.
  const std::string path = temp_path("round.oli");
  std::vector<float> steps;
  ASSERT_TRUE(succeeded(document::save_brush_images(path, [&](float f) { steps.push_back(f); })));
  EXPECT_EQ(steps, (std::vector<float>{0, 0.5f, 1}));
  const io::BrushImageOptions options = document::gather_brush_image_options();
  document::reset_settings();
  document::reset_brush_images();
  ASSERT_TRUE(succeeded(document::load_brush_images(path)));
  ASSERT_EQ(brush_images.list.size(), 2u);
  for (int k = 0; k < 2; ++k) expect_fixture_image(*brush_images.list[std::size_t(k)], k);
  const io::BrushImageOptions again = document::gather_brush_image_options();
  EXPECT_EQ(io::encode_brush_image_header(again, 2), io::encode_brush_image_header(options, 2));
}

TEST_F(SmallFileTest, CutImageFileKeepsTheImagesBeforeTheCutAndABadHeaderChangesNothing) {
  const io::Bytes whole = image_file(3, 3);
  const io::Bytes first_two = image_file(3, 2);
  // Cut inside the third image.
  const Result<std::string> r = document::load_brush_images(write_temp("cut.oli", cut(whole, first_two.size() + 40)));
  ASSERT_TRUE(succeeded(r));
  EXPECT_NE(r->find("2 of 3"), std::string::npos) << *r;
  ASSERT_EQ(brush_images.list.size(), 2u);
  for (int k = 0; k < 2; ++k) expect_fixture_image(*brush_images.list[std::size_t(k)], k);

  (void)document::set_value(ParamId::brush_bias, 0.5f);
  io::Bytes wrong = whole;
  const io::Bytes header = segment_file(image_header(3), true);
  const io::Bytes bad_header = bad_magic(image_header(3), true);
  wrong.erase(wrong.begin(), wrong.begin() + std::ptrdiff_t(header.size()));
  wrong.insert(wrong.begin(), bad_header.begin(), bad_header.end());
  for (const io::Bytes& b : {wrong, cut(whole, header.size() - 20)}) {
    EXPECT_FALSE(document::load_brush_images(write_temp("bad.oli", b)));
    ASSERT_EQ(brush_images.list.size(), 2u);
    for (int k = 0; k < 2; ++k) expect_fixture_image(*brush_images.list[std::size_t(k)], k);
    EXPECT_FLOAT_EQ(document::value_of(ParamId::brush_bias), 0.5f);
  }
}
