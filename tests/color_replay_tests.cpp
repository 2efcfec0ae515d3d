// The colour in the real frame: the colour dials through the parameter model
// colour the next stroke, the swatch grid answers the mouse, a palette saved
// from the current column loads back, and the "LAYER FX" panel reads the
// layer without changing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "app/floating_panels.h"
#include "app/layer_fx.h"
#include "document/color_settings.h"
#include "document/swatch_grid.h"
#include "io/atomic_file.h"
#include "io/palette.h"
#include "io/png_import.h"
#include "tests/script_run.h"
#include "tests/stroke_helpers.h"
#include "tests/temp_dir.h"

namespace {

std::string at(int x, int y) {
  return "mouse " + std::to_string(x) + " " + std::to_string(y) + "\nframe\n";
}

std::string drag_line(int x0, int x1, int y) {
  std::string s = at(x0, y) + "down left\nframe\n";
  for (int i = 1; i <= 8; ++i) s += at(x0 + (x1 - x0) * i / 8, y);
  return s + "up left\nframe 2\n";
}

std::string click(int x, int y, const char* button = "left") {
  return at(x, y) + "down " + button + "\nframe 2\nup " + button + "\nframe 2\n";
}

std::string temp_path(const std::string& name) {
  return test_file("colour_replay_" + name);
}

const std::string setup = "set \"BRUSH:SIZE\" 8\nset \"DRYING\" 0\npen 0.9\n";

}  // namespace

TEST(ColorReplay, ColourDialsColourTheNextStroke) {
  ScriptRun r(160, 90);
  ASSERT_EQ(r.run(setup + "color 0.1 0.1 0.8\n" + drag_line(20, 140, 15) + "set \"COLOR:RED\" 0.9\n" +
                  "set \"COLOR:DRP GAMMA\" 0.5\n" + drag_line(20, 140, 45) + "set \"COLOR:SATURATE\" 0\n" +
                  drag_line(20, 140, 75)),
            "");
  const LayerPixels p = read_layer();
  const auto blue = paint_colour(p, 40, 120, 15), violet = paint_colour(p, 40, 120, 45),
             grey = paint_colour(p, 40, 120, 75);
  EXPECT_GT(blue[2], 3 * blue[0]) << "the first stroke is blue";
  // The red dial turned the red up and left the blue where it was.
  EXPECT_GT(violet[0], 5 * blue[0]);
  EXPECT_NEAR(violet[2] / violet[0], 0.8f / 0.9f, 0.15f);
  EXPECT_LT(violet[1], 0.3f * violet[0]);
  // No saturation: every component at the value, 0.9.
  EXPECT_NEAR(grey[0], grey[1], 0.05f);
  EXPECT_NEAR(grey[1], grey[2], 0.05f);
  EXPECT_GT(grey[0], 0.6f);
}

// At 640 x 480 the grid's grab bar is at (8, 116), its columns start at
// y 128 and the new-column button stands right of the last column.
TEST(ColorReplay, SwatchGridAnswersTheMouseAndKeepsPaintOff) {
  ScriptRun r(640, 480);
  ASSERT_EQ(r.run(setup + "color 0.2 0.5 0.7\n" + click(20, 140)), "");
  ASSERT_EQ(swatch_grid.columns.size(), 1u);
  EXPECT_EQ(swatch_grid.columns[0][0].g, 0.5f);
  // A cell of the new colour beside it, then picking the first one back.
  ASSERT_EQ(r.run("color 0.9 0.8 0.1\n" + click(29, 135, "right") + click(15, 135)), "");
  ASSERT_EQ(swatch_grid.columns[0].size(), 2u);
  EXPECT_EQ(swatch_grid.columns[0][1].r, 0.9f);
  EXPECT_EQ(color_settings.current[2], 0.7f);
  EXPECT_EQ(color_settings.blue, 0.7f) << "the dials follow a pick";
  // A drag begun on the grid paints nothing, even off it.
  ASSERT_EQ(r.run(drag_line(15, 300, 135)), "");
  float most = 0;
  const LayerPixels p = read_layer();
  for (int x = 0; x < 320; ++x) most = std::max(most, p.amount(x, 135));
  EXPECT_EQ(most, 0);
}

// The 96-pixel wheel stands at (8, 12): its disc's right is red, the lower
// half of its ring the value.
TEST(ColorReplay, WheelSetsTheColourWithoutPainting) {
  ScriptRun r(640, 480);
  ASSERT_EQ(r.run(setup + "color 0.1 0.6 0.2\n" + click(88, 60)), "");
  const float* c = color_settings.current;
  EXPECT_GT(c[0], 0.5f) << "red";
  EXPECT_LT(c[1], 0.3f * c[0]);
  EXPECT_NEAR(std::max({c[0], c[1], c[2]}), 0.6f, 0.02f) << "at the colour's value";
  EXPECT_FLOAT_EQ(color_settings.red, c[0]) << "the dials follow";
  // The bottom of the ring: half the value, the same hue.
  const float before = c[1] / c[0];
  ASSERT_EQ(r.run(click(56, 105)), "");
  EXPECT_NEAR(std::max({c[0], c[1], c[2]}), 0.5f, 0.06f);
  EXPECT_NEAR(c[1] / c[0], before, 0.01f);
  const LayerPixels p = read_layer();
  EXPECT_EQ(*std::max_element(p.mat.begin(), p.mat.end()), 0) << "no click painted";
}

TEST(ColorReplay, SavedGimpPaletteLoadsBackTheSameColours) {
  ScriptRun r(160, 90);
  const std::string in = temp_path("in.gpl"), out = temp_path("out.gpl");
  {
    io::AtomicFile f(in);
    const std::string text =
        "GIMP Palette\nName: test\nColumns: 4\n# a comment\n255 0 0\tRed\n  0 128 255 Sky\n"
        " 10  20  30\n";
    ASSERT_TRUE(f.write(text.data(), text.size()));
    ASSERT_TRUE(f.commit());
  }
  ASSERT_EQ(r.run("load " + in + "\nframe\nsave " + out + "\nframe\n"), "");
  Result<std::vector<uint8_t>> bytes = io::read_file(out);
  ASSERT_TRUE(bytes) << bytes.error().message;
  Result<io::Palette> written = io::read_gimp_palette(*bytes);
  ASSERT_TRUE(written) << written.error().message;
  const std::vector<io::PaletteColor> want = {{1, 0, 0}, {0, 128 / 255.0f, 1}, {10 / 255.0f, 20 / 255.0f, 30 / 255.0f}};
  EXPECT_EQ(written->colors, want);
  EXPECT_EQ(written->name, "colour_replay_out");
  ASSERT_EQ(r.run("load " + out + "\nframe\n"), "");
  ASSERT_EQ(swatch_grid.columns.size(), 2u);
  for (std::size_t i = 0; i < want.size(); ++i) {
    const colors& a = swatch_grid.columns[0][i];
    const colors& b = swatch_grid.columns[1][i];
    EXPECT_EQ(a.r, b.r);
    EXPECT_EQ(a.g, b.g);
    EXPECT_EQ(a.b, b.b);
    EXPECT_EQ(a.xi, b.xi);
  }
  // With no column there is nothing to save, and no file appears.
  const std::string none = temp_path("none.gpl");
  swatch_grid.columns.clear();
  ASSERT_EQ(r.run("save " + none + "\nframe\n"), "");
  EXPECT_FALSE(std::filesystem::exists(none));
  for (const std::string& f : {in, out}) std::filesystem::remove(f);
}

// At 640 x 480 the 480 x 280 panel is kept inside the window at (160, 200).
TEST(ColorReplay, LayerFxPanelReadsTheLayerAndChangesNothing) {
  ScriptRun r(640, 480);
  const std::string open = "key down Left Shift\nkey press H\nframe\nkey up Left Shift\nframe\n";
  ASSERT_EQ(r.run(open), "");
  ASSERT_TRUE(layer_fx.panel);
  ASSERT_TRUE(gui.is_open(*layer_fx.panel));
  EXPECT_EQ(layer_fx.histogram.max, 0) << "an empty layer";
  EXPECT_EQ(layer_fx.histogram.min_value[3], 10);

  ASSERT_EQ(r.run(setup + "color 0.9 0.3 0.1\n" + drag_line(200, 400, 170) + "key press H\nframe\n"), "");
  EXPECT_GT(layer_fx.histogram.max, 0) << "H reads the layer again";
  EXPECT_GT(layer_fx.histogram.max_value[0], 0.5f);
  EXPECT_LT(layer_fx.histogram.min_value[0], layer_fx.histogram.max_value[0]);

  const LayerPixels before = read_layer();
  // "R", the slider's track at a third, "auto", then "reset" and "apply".
  ASSERT_EQ(r.run(click(616, 322)), "");
  EXPECT_EQ(layer_fx.fx.channels, 0);
  ASSERT_EQ(r.run(click(160 + 10 + 10 + 133, 420)), "");
  EXPECT_LT(layer_fx.fx.histozoom, 0.7f) << "the slider zooms out";
  ASSERT_EQ(r.run(click(530, 453)), "");
  EXPECT_NEAR(layer_fx.fx.histozoom, std::clamp(1 / layer_fx.histogram.max_value[0], 1 / 3.0f, 1.0f), 1e-6f);
  ASSERT_EQ(r.run(click(416, 420) + click(468, 453)), "");
  EXPECT_EQ(layer_fx.fx.histozoom, 1);
  EXPECT_EQ(layer_fx.fx.channels, 3);
  ASSERT_EQ(r.run(click(592, 453)), "");
  const LayerPixels after = read_layer();
  EXPECT_EQ(after.mat, before.mat) << "no button writes to the layer";
  EXPECT_EQ(after.col, before.col);

  // What the window shows: the histograms' bright columns over the darkened
  // picture, where the paint's luminance is.
  const std::string shot = temp_path("fx.png");
  ASSERT_EQ(r.run("screenshot " + shot + "\n"), "");
  Result<std::vector<uint8_t>> png = io::read_file(shot);
  ASSERT_TRUE(png);
  Result<io::Pixmap> pic = io::TPixmapLoaderPNG::LoadPixmap(*png);
  ASSERT_TRUE(pic) << pic.error().message;
  auto brightness = [&](int x, int y) {
    const uint8_t* px =
        &pic->pixels[(std::size_t(y) * std::size_t(pic->width) + std::size_t(x)) * std::size_t(pic->channels)];
    return px[0] + px[1] + px[2];
  };
  // Between the markers' triangles: the markers are two lines, the
  // histograms many.
  int background = 0;
  for (int y = 282; y < 390; ++y) background = std::max(background, brightness(575, y));
  int lit_columns = 0;
  for (int x = 182; x < 580; ++x) {
    int most = 0;
    for (int y = 282; y < 390; ++y) most = std::max(most, brightness(x, y));
    lit_columns += most > background + 60;
  }
  EXPECT_GT(lit_columns, 12) << "background " << background;
  EXPECT_LT(lit_columns, 200) << "columns stand where the values are, not everywhere";
  std::filesystem::remove(shot);

  ASSERT_EQ(r.run(open), "");
  EXPECT_FALSE(gui.is_open(*layer_fx.panel)) << "Shift+H closes it again";
}
