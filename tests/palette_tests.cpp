// Palettes written here byte by byte from the formats' descriptions, so that
// a reader and our writer cannot share a mistake.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "io/palette.h"
#include "tests/result_helpers.h"

namespace {

using Bytes = std::vector<uint8_t>;
using io::PaletteColor;

Bytes bytes_of(std::string_view s) {
  return Bytes(s.begin(), s.end());
}

// Colour i of a test palette: distinct components that stay within 0..255.
int component(int i, int channel) {
  return (i * 37 + channel * 91 + 5) % 256;
}

PaletteColor expected(int i) {
  return {component(i, 0) / 255.0f, component(i, 1) / 255.0f, component(i, 2) / 255.0f};
}

void put16(Bytes& b, std::size_t at, unsigned v) {
  b[at] = uint8_t(v), b[at + 1] = uint8_t(v >> 8);
}
void put32(Bytes& b, std::size_t at, unsigned v) {
  for (int k = 0; k < 4; ++k) b[at + k] = uint8_t(v >> (8 * k));
}

// A RIFF palette stating `stated` entries and holding `present`.
Bytes riff(unsigned stated, int present) {
  Bytes b(24 + 4 * std::size_t(present));
  std::memcpy(b.data(), "RIFF", 4);
  put32(b, 4, unsigned(b.size() - 8));
  std::memcpy(b.data() + 8, "PAL data", 8);
  put32(b, 16, unsigned(4 + 4 * stated));
  put16(b, 20, 0x0300);
  put16(b, 22, stated);
  for (int i = 0; i < present; ++i)
    for (int c = 0; c < 3; ++c) b[24 + 4 * i + c] = uint8_t(component(i, c));
  return b;
}

std::string jasc(int stated, int present, const char* eol) {
  std::string s = std::string("JASC-PAL") + eol + "0100" + eol + std::to_string(stated) + eol;
  for (int i = 0; i < present; ++i)
    s += std::to_string(component(i, 0)) + " " + std::to_string(component(i, 1)) + " " +
         std::to_string(component(i, 2)) + eol;
  return s;
}

void expect_colors(const io::Palette& p, int count) {
  ASSERT_EQ(p.colors.size(), std::size_t(count));
  // In the file's order, every one divided by 255, the first included.
  for (int i = 0; i < count; ++i) EXPECT_EQ(p.colors[std::size_t(i)], expected(i)) << "colour " << i;
}

}  // namespace

TEST(Palette, WellFormedPalettesReadInOrder) {
  struct Case {
    const char* name;
    Bytes bytes;
    int colors;
  };
  const Case cases[] = {
      {"RIFF 16", riff(16, 16), 16},
      {"RIFF 17", riff(17, 17), 17},
      {"JASC 16 CR LF", bytes_of(jasc(16, 16, "\r\n")), 16},
      {"JASC 17 CR LF", bytes_of(jasc(17, 17, "\r\n")), 17},
      {"JASC 17 LF", bytes_of(jasc(17, 17, "\n")), 17},
      {"JASC without a last line end", bytes_of(jasc(3, 3, "\r\n").substr(0, jasc(3, 3, "\r\n").size() - 2)), 3},
      {"JASC count below the lines", bytes_of(jasc(2, 5, "\n")), 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Result<io::Palette> p = io::read_palette(c.bytes);
    ASSERT_TRUE(succeeded(p));
    expect_colors(*p, c.colors);
  }
}

TEST(Palette, FirstColourIsDividedLikeTheRest) {
  Result<io::Palette> p = io::read_jasc_palette(bytes_of("JASC-PAL\r\n0100\r\n2\r\n255 255 255\r\n255 0 0\r\n"));
  ASSERT_TRUE(succeeded(p));
  EXPECT_EQ(p->colors[0], (PaletteColor{1, 1, 1}));
  EXPECT_EQ(p->colors[1], (PaletteColor{1, 0, 0}));
}

TEST(Palette, CountsThatLieReadOnlyWhatIsThere) {
  // The stated count is beyond the entries: the reader takes the ones present.
  Result<io::Palette> r = io::read_riff_palette(riff(65535, 5));
  ASSERT_TRUE(succeeded(r));
  expect_colors(*r, 5);
  Bytes torn = riff(6, 6);
  torn.resize(torn.size() - 2);  // the last entry is cut in half
  r = io::read_riff_palette(torn);
  ASSERT_TRUE(succeeded(r));
  expect_colors(*r, 5);
  Result<io::Palette> j = io::read_jasc_palette(bytes_of(jasc(1000000, 4, "\r\n")));
  ASSERT_TRUE(succeeded(j));
  expect_colors(*j, 4);
}

TEST(Palette, JascLinesAreClampedOrSkipped) {
  const std::string text =
      "JASC-PAL\n0100\n6\n"
      "300 -4 128\n"  // clamped
      "1 2\n"         // short: skipped
      "\n"            // blank: skipped
      "x y z\n"       // no numbers: skipped
      "99999999999999999999 0 255 extra\n"
      "10 20 30\n";
  Result<io::Palette> p = io::read_jasc_palette(bytes_of(text));
  ASSERT_TRUE(succeeded(p));
  ASSERT_EQ(p->colors.size(), 3u);
  EXPECT_EQ(p->colors[0], (PaletteColor{1, 0, 128 / 255.0f}));
  EXPECT_EQ(p->colors[1], (PaletteColor{1, 0, 1}));
  EXPECT_EQ(p->colors[2], (PaletteColor{10 / 255.0f, 20 / 255.0f, 30 / 255.0f}));
}

TEST(Palette, HostileOrEmptyPalettesAreRefused) {
  struct Case {
    const char* name;
    Bytes bytes;
    const char* message;
  };
  Bytes riff_short = riff(4, 4);
  riff_short.resize(23);
  Bytes wave = riff(4, 4);
  std::memcpy(wave.data() + 8, "WAVE", 4);
  const Case cases[] = {
      {"empty file", {}, "not a palette"},
      {"other file", bytes_of("\x89PNG\r\n\x1a\n"), "not a palette"},
      {"RIFF of no palette", wave, "holds no palette"},
      {"RIFF cut before the count", riff_short, "ends before its entry count"},
      {"RIFF count 0", riff(0, 3), "holds no colours"},
      {"RIFF count, no entries", riff(16, 0), "holds no colours"},
      {"JASC count 0", bytes_of(jasc(0, 3, "\r\n")), "holds no colours"},
      {"JASC no count line", bytes_of("JASC-PAL\r\n0100\r\n"), "states no colour count"},
      {"JASC negative count", bytes_of("JASC-PAL\n0100\n-3\n1 2 3\n"), "states no colour count"},
      {"JASC only short lines", bytes_of("JASC-PAL\n0100\n2\n1 2\n3\n"), "holds no colours"},
      {"GIMP no colours", bytes_of("GIMP Palette\nName: nothing\n# a comment\n"), "holds no colours"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Result<io::Palette> p = io::read_palette(c.bytes);
    ASSERT_FALSE(p);
    EXPECT_NE(message_of(p).find(c.message), std::string::npos) << message_of(p);
  }
}

TEST(Palette, TooManyColoursAreRefused) {
  std::string text = "GIMP Palette\n";
  for (std::size_t i = 0; i <= io::max_palette_colors; ++i) text += "1 2 3\n";
  Result<io::Palette> p = io::read_gimp_palette(bytes_of(text));
  ASSERT_FALSE(p);
  EXPECT_NE(message_of(p).find("more than 65536"), std::string::npos);
}

TEST(Palette, GimpPalettesWithNamesAndComments) {
  const std::string text =
      "GIMP Palette\r\n"
      "Name: Earth tones\r\n"
      "Columns: 4\r\n"
      "#\r\n"
      "# made by hand\r\n"
      "  0   0   0\tBlack\r\n"
      "255 128   7\tOrange ochre\r\n"
      "\r\n"
      " 12  34  56\r\n"
      "300 -1  20 Out of range\r\n";
  Result<io::Palette> p = io::read_palette(bytes_of(text));
  ASSERT_TRUE(succeeded(p));
  EXPECT_EQ(p->name, "Earth tones");
  ASSERT_EQ(p->colors.size(), 4u);
  EXPECT_EQ(p->colors[0], (PaletteColor{0, 0, 0}));
  EXPECT_EQ(p->colors[1], (PaletteColor{1, 128 / 255.0f, 7 / 255.0f}));
  EXPECT_EQ(p->colors[2], (PaletteColor{12 / 255.0f, 34 / 255.0f, 56 / 255.0f}));
  EXPECT_EQ(p->colors[3], (PaletteColor{1, 0, 20 / 255.0f}));
}

TEST(Palette, SavedGimpPaletteReadsBackTheSame) {
  io::Palette saved;
  saved.name = "Column\nwith a line break";
  for (int i = 0; i < 21; ++i) saved.colors.push_back(expected(i));
  // Values between steps and outside 0..1 come back as the nearest step.
  saved.colors.push_back({0.5f, -3.0f, 7.0f});
  io::MemoryOutput out;
  ASSERT_TRUE(io::write_gimp_palette(out, saved));
  Result<io::Palette> back = io::read_palette(out.bytes);
  ASSERT_TRUE(succeeded(back));
  EXPECT_EQ(back->name, "Column with a line break");
  ASSERT_EQ(back->colors.size(), saved.colors.size());
  for (int i = 0; i < 21; ++i) EXPECT_EQ(back->colors[std::size_t(i)], expected(i)) << "colour " << i;
  EXPECT_EQ(back->colors.back(), (PaletteColor{128 / 255.0f, 0, 1}));
}
