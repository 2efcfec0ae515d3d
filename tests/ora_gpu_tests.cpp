#include <gtest/gtest.h>

#include <filesystem>

#include "document/ora_file.h"
#include "gpu/geometry.h"
#include "io/atomic_file.h"
#include "io/ora.h"
#include "layers/layer.h"
#include "layers/layer_display.h"
#include "layers/layer_stack.h"
#include "tests/gl_fixture.h"
#include "tests/layer_paint.h"
#include "tests/result_helpers.h"
#include "tests/temp_dir.h"

namespace {

std::string temp_file(const std::string& name) {
  return test_file("ora_" + name);
}

}  // namespace

// The painting saved as OpenRaster and loaded back: one layer per layer, in
// stack order, with its visibility, opacity and blend style, the colour where
// the paint was and the paint amount following the saved coverage.
TEST_F(GlTest, OraSaveAndLoadKeepTheLayers) {
  layer& bottom = *layers.active;
  fill_rect(bottom.col, 0, 0, 160, 90, {0, 0, 0, 0});
  fill_rect(bottom.mat, 0, 0, 160, 90, {0, 0, 0, 0});
  fill_rect(bottom.col, 10, 10, 50, 40, {0.9f, 0.1f, 0.1f, 1});
  fill_rect(bottom.mat, 10, 10, 50, 40, {1, 0, 0, 1});
  add_layer();
  layer& top = *layers.active;
  fill_rect(top.col, 0, 0, 160, 90, {0, 0, 0, 0});
  fill_rect(top.mat, 0, 0, 160, 90, {0, 0, 0, 0});
  fill_rect(top.col, 100, 50, 150, 80, {0.1f, 0.1f, 0.9f, 1});
  fill_rect(top.mat, 100, 50, 150, 80, {1, 0, 0, 1});
  top.opacity = 0.25f;
  top.style = 2;
  top.hidden = 1;
  display_layers({});

  const std::string path = temp_file("layers.ora");
  ASSERT_TRUE(succeeded(document::save_ora(path)));
  Result<std::vector<uint8_t>> bytes = io::read_file(path);
  ASSERT_TRUE(succeeded(bytes));
  Result<io::OraImage> read = io::read_ora(*bytes, {});
  ASSERT_TRUE(succeeded(read));
  const io::OraImage& image = *read;
  ASSERT_EQ(image.layers.size(), 2u);
  EXPECT_EQ(image.layers[0].name, "Layer 2");  // top first
  EXPECT_FALSE(image.layers[0].visible);
  // The saved layer picture is lit at full opacity; its opacity goes to stack.xml.
  const io::Pixmap& saved = image.layers[0].picture;
  const uint8_t* blue = &saved.pixels[std::size_t(60 * 160 + 120) * 4];
  EXPECT_GT(blue[2], blue[0] + 50);
  EXPECT_GT(blue[3], 250);
  EXPECT_EQ(saved.pixels[std::size_t(20 * 160 + 20) * 4 + 3], 0);  // the bottom layer's paint is not on it

  // Loading replaces the painting: paint something else first.
  fill_rect(layers.active->mat, 0, 0, 160, 90, {2, 0, 0, 1});
  ASSERT_TRUE(succeeded(document::load_ora(path, 160, 90)));
  ASSERT_EQ(layers.list.size(), 2u);
  EXPECT_EQ(layers.active, layers.list[1].get());
  const layer& b = *layers.list[0];
  const layer& t = *layers.list[1];
  EXPECT_EQ(b.hidden, 0);
  EXPECT_EQ(t.hidden, 1);
  EXPECT_EQ(t.opacity, 0.25f);
  EXPECT_EQ(t.style, 2);
  const Picture bc = read_picture(b.col);
  const std::vector<float> bm = read_red(b.fbo_mat(), 160, 90), tm = read_red(t.fbo_mat(), 160, 90);
  EXPECT_GT(bc.at(30, 25)[0], bc.at(30, 25)[2] + 0.2f);  // red where it was painted, not upside down
  EXPECT_NEAR(bm[25 * 160 + 30], 1.0f, 0.01f);
  EXPECT_EQ(bm[70 * 160 + 120], 0.0f);
  EXPECT_NEAR(tm[70 * 160 + 120], 1.0f, 0.01f);
  EXPECT_EQ(tm[25 * 160 + 30], 0.0f);
  std::filesystem::remove(path);
}

TEST_F(GlTest, OraThatCannotBeLoadedChangesNothing) {
  layer& l = *layers.active;
  fill_rect(l.mat, 0, 0, 160, 90, {0.5f, 0, 0, 1});
  const std::size_t before = layers.list.size();
  const std::string path = temp_file("broken.ora");
  {
    io::AtomicFile f(path);
    ASSERT_TRUE(f.write("PK\3\4 not really", 16));
    ASSERT_TRUE(f.commit());
  }
  Result<void> broken = document::load_ora(path, 160, 90);
  ASSERT_FALSE(broken);
  EXPECT_FALSE(broken.error().message.empty());
  EXPECT_FALSE(document::load_ora(temp_file("missing.ora"), 160, 90));
  EXPECT_EQ(layers.list.size(), before);
  EXPECT_EQ(layers.active, &l);
  EXPECT_EQ(gpu::geometry.width, 160);
  EXPECT_NEAR(read_red(l.fbo_mat(), 160, 90)[45 * 160 + 80], 0.5f, 1e-3f);
  std::filesystem::remove(path);
}
