// Palettes through the load command, as a person loads one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/file_commands.h"
#include "document/document_state.h"
#include "document/swatch_grid.h"
#include "tests/script_run.h"
#include "tests/temp_dir.h"

namespace {

std::string temp_file(const std::string& name, const std::string& bytes) {
  const std::string path = test_file("palette_tests_" + name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// A RIFF palette of `n` colours, colour i being (i, 255 - i, 7).
std::string riff(int n) {
  std::string b = "RIFF";
  auto u32 = [&](unsigned v) {
    for (int k = 0; k < 4; ++k) b += char(v >> (8 * k));
  };
  u32(unsigned(16 + 4 * n));
  b += "PAL data";
  u32(unsigned(4 + 4 * n));
  b += '\0', b += '\3', b += char(n), b += char(n >> 8);
  for (int i = 0; i < n; ++i) b += char(i), b += char(255 - i), b += char(7), b += '\0';
  return b;
}

}  // namespace

TEST(PaletteImport, LoadAddsOneColumnSixteenCellsARow) {
  ScriptRun run;
  file_commands = {};
  const std::size_t before = swatch_grid.columns.size();
  const std::string path = temp_file("colours.PAL", riff(17));
  ASSERT_EQ(run.run("load " + path + "\nframe\n"), "");
  ASSERT_EQ(swatch_grid.columns.size(), before + 1);
  EXPECT_EQ(swatch_grid.current_column, int(before));
  const std::vector<colors>& column = swatch_grid.columns.back();
  ASSERT_EQ(column.size(), 17u);
  for (int i = 0; i < 17; ++i) {
    const colors& c = column[std::size_t(i)];
    EXPECT_EQ(c.r, float(i) / 255) << i;
    EXPECT_EQ(c.g, float(255 - i) / 255) << i;
    EXPECT_EQ(c.a, 1);
    EXPECT_EQ(c.xi, i % 16) << i;
    EXPECT_EQ(c.yi, i / 16) << i;
  }

  // A GIMP palette too; the name's case does not matter.
  const std::string gpl = temp_file("earth.GpL", "GIMP Palette\nName: earth\n#\n255 0 0\tred\n0 0 255\tblue\n");
  ASSERT_EQ(run.run("load " + gpl + "\nframe\n"), "");
  ASSERT_EQ(swatch_grid.columns.size(), before + 2);
  ASSERT_EQ(swatch_grid.columns.back().size(), 2u);
  EXPECT_EQ(swatch_grid.columns.back()[1].b, 1);

  // An empty or foreign palette, and a name with ".pal" before its last
  // extension, add nothing.
  const std::string empty = temp_file("empty.pal", riff(0));
  const std::string wave = temp_file("wave.pal", "RIFF\x10\0\0\0WAVEfmt ");
  const std::string project = temp_file("colours.pal.olp", riff(3));
  for (const std::string& p : {empty, wave, project}) {
    ASSERT_EQ(run.run("load " + p + "\nframe\n"), "");
    EXPECT_EQ(swatch_grid.columns.size(), before + 2) << p;
  }
  for (const std::string& p : {path, gpl, empty, wave, project}) std::filesystem::remove(p);
  document::reset_settings();
}

// Loading a JASC palette prints the number of lines, the stated count and
// each colour read to standard output; RIFF and GIMP palettes print nothing.
TEST(PaletteImport, JascImportPrintsWhatItRead) {
  ScriptRun run;
  const std::string jasc = temp_file("print.pal", "JASC-PAL\r\n0100\r\n3\r\n255 0 0\r\n0 128 300\r\nno colour\r\n");
  testing::internal::CaptureStdout();
  ASSERT_EQ(run.run("load " + jasc + "\nframe\n"), "");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "parlen: 6\n3\npos:0 r:255g:0b:0\npos:1 r:0g:128b:255\n");
  ASSERT_EQ(swatch_grid.columns.back().size(), 2u);

  const std::string riff_file = temp_file("quiet.pal", riff(2));
  testing::internal::CaptureStdout();
  ASSERT_EQ(run.run("load " + riff_file + "\nframe\n"), "");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  document::reset_settings();
}
