#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "document/parameters.h"
#include "io/settings_format.h"
#include "tests/block_builder.h"
#include "tests/result_helpers.h"

namespace {

// A settings block with every field a different value: field k holds k + 0.5
// (floats), k % 2 (flags) or k (ints). `version` 1 stores the brush extras.
struct SettingsBlock {
  BlockBuilder b;
  float next = 0.5f;
  void floats(int n) {
    for (int i = 0; i < n; ++i, next += 1) b.f32(next);
  }
  io::Bytes make(uint8_t version, int32_t subdivisions = 7) {
    b.text("Ollan Rizazuv version").u8(version);
    floats(2 + 4 + 2 + 9 + 1 + 4 + 1 + 1);  // canvas .. brush size
    if (version == 1) {
      floats(3);
      b.u8(1).u8(0).u8(1);
    }
    floats(27 + 1);  // preset tables, mouse speed
    b.u8(1).u8(0);   // mirror mode, high quality
    floats(5 + 3);   // fluids, guide fov .. alpha
    b.i32(subdivisions);
    floats(9);
    b.u8(0);  // canvas shown
    floats(5);
    b.u8(1);  // drying
    return b.bytes;
  }
};

}  // namespace

TEST(SettingsFile, EveryFieldReadsInOrderAndWritesBack) {
  io::Bytes block = SettingsBlock().make(1);
  EXPECT_EQ(block.size(), 341u);
  Result<io::SettingsFile> r = io::read_settings(segment_file(block, true));
  ASSERT_TRUE(succeeded(r));
  const io::SettingsFile& s = *r;
  EXPECT_EQ(s.version, 1);
  EXPECT_EQ(s.width, 0.5f);
  EXPECT_EQ(s.height, 1.5f);
  EXPECT_EQ(s.color[3], 5.5f);
  EXPECT_EQ(s.display_gamma, 6.5f);
  EXPECT_EQ(s.midpoint, 7.5f);
  EXPECT_EQ(s.light_col[0], 8.5f);
  EXPECT_EQ(s.light_pos[0], 11.5f);
  EXPECT_EQ(s.ambient_col[2], 16.5f);
  EXPECT_EQ(s.light_setting, 17.5f);
  EXPECT_EQ(s.paper[3], 21.5f);
  EXPECT_EQ(s.new_layer_bump, 22.5f);
  EXPECT_EQ(s.brush_size, 23.5f);
  EXPECT_TRUE(s.has_brush_extras);
  EXPECT_EQ(s.brush_min_size, 24.5f);
  EXPECT_EQ(s.brush_build_up, 26.5f);
  EXPECT_EQ(s.pen_size, 1);
  EXPECT_EQ(s.pen_opacity, 0);
  EXPECT_EQ(s.r_key_toggle, 1);
  EXPECT_EQ(s.preset_bristle_size[0], 27.5f);
  EXPECT_EQ(s.preset_bias[8], 53.5f);
  EXPECT_EQ(s.mouse_speed, 54.5f);
  EXPECT_EQ(s.mirror_mode, 1);
  EXPECT_EQ(s.high_quality, 0);
  EXPECT_EQ(s.smudge_chroma, 55.5f);
  EXPECT_EQ(s.drying_speed, 59.5f);
  EXPECT_EQ(s.guide_fov, 60.5f);
  EXPECT_EQ(s.guide_alpha, 62.5f);
  EXPECT_EQ(s.guide_subdivisions, 7);
  EXPECT_EQ(s.guide_offset[0], 63.5f);
  EXPECT_EQ(s.guide_rotation[2], 71.5f);
  EXPECT_EQ(s.canvas_show, 0);
  EXPECT_EQ(s.canvas_strength, 72.5f);
  EXPECT_EQ(s.canvas_stretch, 76.5f);
  EXPECT_EQ(s.drying, 1);
  // The writer gives back the very bytes, so every field survives a round trip.
  EXPECT_EQ(io::encode_settings(s), block);
  io::MemoryOutput out;
  ASSERT_TRUE(io::write_settings(out, s));
  Result<io::SettingsFile> again = io::read_settings(out.bytes);
  ASSERT_TRUE(succeeded(again));
  EXPECT_EQ(io::encode_settings(*again), block);
}

TEST(SettingsFile, OtherVersionsSkipTheBrushExtras) {
  Result<io::SettingsFile> r = io::read_settings(segment_file(SettingsBlock().make(0), true));
  ASSERT_TRUE(succeeded(r));
  EXPECT_FALSE(r->has_brush_extras);
  EXPECT_EQ(r->brush_size, 23.5f);
  EXPECT_EQ(r->preset_bristle_size[0], 24.5f);
  EXPECT_EQ(r->drying, 1);
  for (const io::SettingValue& v : io::settings_values(*r)) EXPECT_NE(v.label, "BRUSH:MIN SIZE");
}

TEST(SettingsFile, ValuesNameControlsOfTheParameterModel) {
  Result<io::SettingsFile> r = io::read_settings(segment_file(SettingsBlock().make(1), true));
  ASSERT_TRUE(succeeded(r));
  const std::vector<io::SettingValue> values = io::settings_values(*r);
  ASSERT_EQ(values.size(), 21u);
  for (const io::SettingValue& v : values) EXPECT_TRUE(succeeded(document::find_parameter(v.label))) << v.label;
  auto value = [&](std::string_view label) {
    for (const io::SettingValue& v : values)
      if (v.label == label) return v.value;
    return -1.0;
  };
  EXPECT_EQ(value("BRUSH:SIZE"), 23.5);
  EXPECT_EQ(value("PEN:SIZE [w]"), 1);
  EXPECT_EQ(value("CANVAS:SHOW"), 0);
  EXPECT_EQ(value("CANVAS:STRETCH"), 76.5);
  EXPECT_EQ(value("DRYING"), 1);
}

TEST(SettingsFile, BadFilesAreRefused) {
  struct Case {
    const char* name;
    io::Bytes file;
    const char* message;
  };
  io::Bytes block = SettingsBlock().make(1);
  io::Bytes bad_magic = block;
  bad_magic[0] = 'o';
  io::Bytes short_block(block.begin(), block.end() - 1);
  io::Bytes nan_block = block;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::memcpy(nan_block.data() + 22 + 4 * 6, &nan, 4);  // the display gamma
  io::Bytes cut_file = segment_file(block, true);
  cut_file.resize(cut_file.size() / 2);
  const Case cases[] = {
      {"empty", {}, "not an Ollan settings file"},
      {"bad magic", segment_file(bad_magic, true), "not an Ollan settings file"},
      {"packed once only", segment_file(block, false), "not an Ollan settings file"},
      {"cut file", cut_file, "not an Ollan settings file"},
      {"block one byte short", segment_file(short_block, true), "ends early"},
      {"not finite", segment_file(nan_block, true), "not finite"},
      {"no subdivisions", segment_file(SettingsBlock().make(1, 0), true), "0 guide subdivisions"},
      {"huge subdivisions", segment_file(SettingsBlock().make(1, 1 << 30), true), "guide subdivisions"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Result<io::SettingsFile> r = io::read_settings(c.file);
    ASSERT_FALSE(r);
    EXPECT_NE(message_of(r).find(c.message), std::string::npos) << message_of(r);
  }
}
