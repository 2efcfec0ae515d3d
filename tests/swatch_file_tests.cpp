#include <gtest/gtest.h>

#include <limits>

#include "io/swatch_format.h"
#include "tests/block_builder.h"
#include "tests/result_helpers.h"

namespace {

// Three columns of 2, 0 and 3 cells, every field distinct, grid indices
// included; as the layout describes, packed once.
io::SwatchColumns sample() {
  io::SwatchColumns columns(3);
  const int counts[3] = {2, 0, 3};
  float v = 0.125f;
  for (int c = 0; c < 3; ++c)
    for (int k = 0; k < counts[c]; ++k) {
      io::SwatchCell cell{v, v + 1, v + 2, v + 3, k % 2 + c, k / 2 - c, v + 4, v + 5};
      columns[std::size_t(c)].push_back(cell);
      v += 8;
    }
  return columns;
}

io::Bytes block_of(const io::SwatchColumns& columns, std::string_view magic = "Ollan color swatches",
                   uint8_t version = 1) {
  BlockBuilder b;
  b.text(magic).u8(version).i32(int32_t(columns.size()));
  for (const auto& column : columns) {
    b.i32(int32_t(column.size()));
    for (const io::SwatchCell& c : column) b.f32(c.r).f32(c.g).f32(c.b).f32(c.a).i32(c.xi).i32(c.yi).f32(c.x).f32(c.y);
  }
  return b.bytes;
}

bool same(const io::SwatchColumns& a, const io::SwatchColumns& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t c = 0; c < a.size(); ++c) {
    if (a[c].size() != b[c].size()) return false;
    for (std::size_t k = 0; k < a[c].size(); ++k) {
      const io::SwatchCell &x = a[c][k], &y = b[c][k];
      if (x.r != y.r || x.g != y.g || x.b != y.b || x.a != y.a || x.xi != y.xi || x.yi != y.yi || x.x != y.x ||
          x.y != y.y)
        return false;
    }
  }
  return true;
}

}  // namespace

TEST(SwatchFile, GridReadsCellByCellAndWritesBack) {
  const io::Bytes block = block_of(sample());
  Result<io::SwatchColumns> r = io::read_swatches(segment_file(block, false));
  ASSERT_TRUE(succeeded(r));
  EXPECT_TRUE(same(*r, sample()));
  EXPECT_EQ(io::encode_swatches(*r), block);
  io::MemoryOutput out;
  ASSERT_TRUE(io::write_swatches(out, *r));
  Result<io::SwatchColumns> again = io::read_swatches(out.bytes);
  ASSERT_TRUE(succeeded(again));
  EXPECT_TRUE(same(*again, sample()));
  // An empty grid is a valid file too.
  Result<io::SwatchColumns> none = io::read_swatches(segment_file(block_of({}), false));
  ASSERT_TRUE(succeeded(none));
  EXPECT_TRUE(none->empty());
}

TEST(SwatchFile, BadFilesAreRefused) {
  struct Case {
    const char* name;
    io::Bytes file;
    const char* message;
  };
  const io::Bytes good = block_of(sample());
  auto patched = [&](std::size_t at, int32_t v) {
    io::Bytes b = good;
    std::memcpy(b.data() + at, &v, 4);
    return segment_file(b, false);
  };
  io::Bytes cut = segment_file(good, false);
  cut.resize(cut.size() - 40);
  io::Bytes nan = good;
  const float not_a_number = std::numeric_limits<float>::quiet_NaN();
  std::memcpy(nan.data() + 29, &not_a_number, 4);
  io::Bytes short_block(good.begin(), good.end() - 4);
  const Case cases[] = {
      {"empty", {}, "not an Ollan swatch file"},
      {"bad magic", segment_file(block_of(sample(), "Ollan colour swatche"), false), "not an Ollan swatch file"},
      {"version 2", segment_file(block_of(sample(), "Ollan color swatches", 2), false), "version 2"},
      {"huge column count", patched(21, 0x7fffffff), "column count 2147483647"},
      {"negative column count", patched(21, -1), "column count -1"},
      {"huge cell count", patched(25, 1 << 28), "swatch column 1 claims 268435456 cells"},
      {"block ends in the last cell", segment_file(short_block, false), "swatch column 3 claims 3 cells"},
      {"cut file", cut, "ends early"},
      {"not finite", segment_file(nan, false), "not finite"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Result<io::SwatchColumns> r = io::read_swatches(c.file);
    ASSERT_FALSE(r);
    EXPECT_NE(message_of(r).find(c.message), std::string::npos) << message_of(r);
  }
}
