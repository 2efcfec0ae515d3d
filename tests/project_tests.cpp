#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>

#include "app/file_commands.h"
#include "brush/brush_settings.h"
#include "document/color_model.h"
#include "document/color_settings.h"
#include "document/document_state.h"
#include "document/frame_settings.h"
#include "document/parameters.h"
#include "document/project.h"
#include "document/swatch_grid.h"
#include "gpu/canvas_presets.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "gpu/guide_settings.h"
#include "gpu/simulation_settings.h"
#include "io/png16.h"
#include "io/project_format.h"
#include "layers/canvas_setup.h"
#include "layers/layer.h"
#include "layers/layer_stack.h"
#include "tests/gl_fixture.h"
#include "tests/result_helpers.h"
#include "tests/script_run.h"
#include "tests/temp_dir.h"

namespace {

struct TestLayer {
  io::LayerSettings settings;
  std::vector<float> col, mat;
};

std::vector<TestLayer> random_layers(int count, int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> u(0.0f, 1.5f);
  std::vector<TestLayer> layers(static_cast<std::size_t>(count));
  for (int l = 0; l < count; ++l) {
    TestLayer& t = layers[std::size_t(l)];
    t.settings.hidden = uint8_t(l % 2);
    t.settings.bump = 0.1f * float(l + 1);
    t.settings.opacity = 0.5f;
    t.settings.color[1] = 0.25f;
    t.settings.style = uint8_t(l % 3);
    t.col.resize(std::size_t(w) * h * 4);
    t.mat.resize(std::size_t(w) * h);
    // Painted patches on an empty layer, as a real painting compresses.
    for (std::size_t i = 0; i < t.mat.size(); ++i) {
      if ((i / 7 + l) % 3) continue;
      t.mat[i] = u(rng);
      for (int c = 0; c < 4; ++c) t.col[i * 4 + c] = u(rng);
    }
  }
  return layers;
}

io::ProjectHeader test_header(int w, int h, int layer_count) {
  io::ProjectHeader hd;
  hd.width = float(w);
  hd.height = float(h);
  hd.color[0] = 0.25f;
  hd.color[3] = 1;
  hd.light_pos[2] = 1.5f;
  hd.brush_size = 33;
  for (int i = 0; i < io::stored_presets; ++i) hd.preset_bias[i] = 0.1f * float(i);
  hd.swatches = {{{1, 0, 0, 1, 0, 0, 0, 0}, {0, 1, 0, 1, 0, 1, 0, 20}}, {}, {{0, 0, 1, 1, 2, 0, 40, 0}}};
  hd.guide_subdivisions = 5;
  hd.canvas_preset = 2;
  hd.canvas_presets[2].density = 0.9f;
  hd.layer_count = layer_count;
  return hd;
}

io::Bytes save(const io::ProjectHeader& hd, const std::vector<TestLayer>& layers, std::span<const float> canvas = {},
               unsigned threads = 0) {
  io::MemoryOutput out;
  auto next = [&](int l) {
    const TestLayer& t = layers[std::size_t(l)];
    return io::LayerPixels{t.settings, t.col, t.mat};
  };
  EXPECT_TRUE(io::write_project(out, hd, canvas, next, {}, threads));
  return out.bytes;
}

// The next segment; one the reader refuses reads as the end.
io::Segment next(io::SegmentReader& r, std::size_t max_length = SIZE_MAX) {
  Result<io::Segment> s = r.read_segment(max_length);
  return s ? std::move(*s) : io::Segment{};
}

// The whole project in `file`; a file the reader refuses fails the test and
// reads as no layers.
io::StoredProject read(std::span<const uint8_t> file, const io::ReadLimits& limits = {}) {
  Result<io::StoredProject> p = io::read_project(file, limits);
  EXPECT_TRUE(p) << p.error().message;
  return p ? std::move(*p) : io::StoredProject{};
}

io::Bytes file_bytes(const std::string& path) {
  Result<io::Bytes> b = io::read_file(path);
  EXPECT_TRUE(b) << b.error().message;
  return b ? std::move(*b) : io::Bytes{};
}

int count_segments(const io::Bytes& file) {
  io::SegmentReader r(file);
  int n = 0;
  while (next(r).status == io::SegmentStatus::ok) ++n;
  return n;
}

// The layer's pixels, put together from its stored bands.
TestLayer unpack(const io::StoredProject& p, int l) {
  TestLayer t;
  t.settings = p.layers[std::size_t(l)].settings;
  for (int i = 0; i < io::project_bands; ++i) {
    io::BandPixels b =
        io::unpack_layer_band(p.layers[std::size_t(l)].bands[std::size_t(i)], p.width, io::band_rows(p.height, i));
    t.col.insert(t.col.end(), b.col.begin(), b.col.end());
    t.mat.insert(t.mat.end(), b.mat.begin(), b.mat.end());
  }
  return t;
}

// Replaces `count` bytes at `at` in the file's header block (after both
// unpackings) and writes the file again.
io::Bytes patch_header(const io::Bytes& file, std::size_t at, const void* bytes, std::size_t count) {
  io::SegmentReader r(file);
  io::Bytes block = *io::unpack_bank(next(r).block);
  std::memcpy(block.data() + at, bytes, count);
  io::MemoryOutput out;
  io::write_segment(out, io::pack_bank(block));
  out.bytes.insert(out.bytes.end(), file.begin() + std::ptrdiff_t(r.position()), file.end());
  return out.bytes;
}

constexpr std::size_t width_offset = 22;  // after the magic and the version byte

}  // namespace

TEST(ProjectFormat, BandsGiveTheLeftoverRowsToTheLastBand) {
  const struct { int height, first, last; } cases[] = {{720, 45, 45}, {90, 5, 15}, {31, 1, 16}, {8, 0, 8}, {1, 0, 1}};
  for (const auto& c : cases) {
    int sum = 0;
    for (int i = 0; i < io::project_bands; ++i) {
      EXPECT_EQ(io::band_first_row(c.height, i), sum) << c.height << " band " << i;
      sum += io::band_rows(c.height, i);
    }
    EXPECT_EQ(sum, c.height);
    EXPECT_EQ(io::band_rows(c.height, 0), c.first) << c.height;
    EXPECT_EQ(io::band_rows(c.height, 15), c.last) << c.height;
  }
}

TEST(ProjectFormat, SegmentCountFollowsLayersAndCustomCanvas) {
  const int w = 20, h = 37;
  std::vector<float> canvas(std::size_t(w) * h, 0.5f);
  for (int layers : {1, 3}) {
    io::ProjectHeader hd = test_header(w, h, layers);
    EXPECT_EQ(count_segments(save(hd, random_layers(layers, w, h, 1))), 1 + 17 * layers);
    hd.custom_canvas = 1;
    EXPECT_EQ(count_segments(save(hd, random_layers(layers, w, h, 1), canvas)), 1 + 16 + 17 * layers);
  }
}

TEST(ProjectFormat, RoundTripKeepsEveryFieldAndPixel) {
  const int w = 23, h = 41;  // odd sizes: the last band takes the leftover rows
  io::ProjectHeader hd = test_header(w, h, 3);
  hd.custom_canvas = 1;
  std::vector<float> canvas(std::size_t(w) * h);
  for (std::size_t i = 0; i < canvas.size(); ++i) canvas[i] = float(i % 17) / 16.0f;
  std::vector<TestLayer> layers = random_layers(3, w, h, 2);
  io::Bytes file = save(hd, layers, canvas);

  const io::StoredProject p = read(file);
  ASSERT_EQ(p.layers.size(), 3u);
  EXPECT_FALSE(p.truncated);
  EXPECT_EQ(p.width, w);
  EXPECT_EQ(p.height, h);
  EXPECT_EQ(io::encode_header(p.header), io::encode_header(hd));
  EXPECT_EQ(p.header.swatches.size(), 3u);
  EXPECT_EQ(p.header.swatches[0][1].yi, 1);
  ASSERT_EQ(p.layers.size(), 3u);
  for (int l = 0; l < 3; ++l) {
    TestLayer back = unpack(p, l);
    EXPECT_EQ(io::encode_layer_settings(back.settings), io::encode_layer_settings(layers[std::size_t(l)].settings));
    EXPECT_EQ(back.col, layers[std::size_t(l)].col) << l;
    EXPECT_EQ(back.mat, layers[std::size_t(l)].mat) << l;
  }
  std::vector<float> canvas_back;
  for (int i = 0; i < io::project_bands; ++i) {
    std::vector<float> b = io::unpack_canvas_band(p.canvas_bands[std::size_t(i)], w, io::band_rows(h, i));
    canvas_back.insert(canvas_back.end(), b.begin(), b.end());
  }
  EXPECT_EQ(canvas_back, canvas);
}

TEST(ProjectFormat, LayerSettingsAreThirtyEightBytes) {
  io::LayerSettings s;
  s.hidden = 1;
  s.style = 2;
  s.color[2] = 0.5f;
  io::Bytes b = io::encode_layer_settings(s);
  ASSERT_EQ(b.size(), 38u);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(b[37], 2);
  float blue = 0;
  std::memcpy(&blue, b.data() + 1 + 6 * 4 + 2 * 4, 4);
  EXPECT_EQ(blue, 0.5f);
}

TEST(ProjectFormat, ParallelPackingWritesTheSameBytes) {
  const int w = 64, h = 50;
  io::ProjectHeader hd = test_header(w, h, 2);
  std::vector<TestLayer> layers = random_layers(2, w, h, 3);
  io::Bytes one = save(hd, layers, {}, 1);
  for (unsigned threads : {2u, 3u, 8u}) EXPECT_EQ(save(hd, layers, {}, threads), one) << threads;
}

TEST(ProjectFormat, CorruptFilesAreRefused) {
  const int w = 16, h = 20;
  io::ProjectHeader hd = test_header(w, h, 2);
  io::Bytes good = save(hd, random_layers(2, w, h, 4));
  auto with_float = [&](std::size_t at, float v) { return patch_header(good, at, &v, 4); };
  const std::size_t layer_count_at = io::encode_header(hd).size() - 4;
  auto with_layer_count = [&](int32_t n) { return patch_header(good, layer_count_at, &n, 4); };

  // A band whose stored length says one float more than the band holds.
  io::Bytes lying = good;
  {
    io::SegmentReader r(lying);
    next(r);
    next(r);  // layer 1 settings
    std::span<const uint8_t> band = r.read_packed()->packed;
    std::size_t tail = std::size_t(band.data() - lying.data()) + band.size() - 4;
    uint32_t n = 0;
    std::memcpy(&n, &lying[tail], 4);
    n += 4;
    std::memcpy(&lying[tail], &n, 4);
  }
  io::Bytes wrong_magic = good;
  {
    io::SegmentReader r(good);
    io::Bytes block = *io::unpack_bank(next(r).block);
    block[0] = 'X';
    io::MemoryOutput out;
    io::write_segment(out, io::pack_bank(block));
    out.bytes.insert(out.bytes.end(), good.begin() + std::ptrdiff_t(r.position()), good.end());
    wrong_magic = out.bytes;
  }
  io::Bytes garbage(5000);
  std::mt19937 rng(5);
  for (uint8_t& b : garbage) b = uint8_t(rng());
  io::Bytes bad_style = good;
  {
    // The style byte of layer 1 becomes 7: find its settings segment and rewrite it.
    io::SegmentReader r(good);
    next(r);
    std::size_t start = r.position();
    io::Segment s = next(r);
    s.block[37] = 7;
    io::MemoryOutput out;
    out.bytes.assign(good.begin(), good.begin() + std::ptrdiff_t(start));
    io::write_segment(out, s.block);
    out.bytes.insert(out.bytes.end(), good.begin() + std::ptrdiff_t(r.position()), good.end());
    bad_style = out.bytes;
  }
  const uint8_t version_14 = 14;

  const struct {
    const char* what;
    io::Bytes file;
  } cases[] = {
      {"empty file", {}},
      {"garbage", garbage},
      {"wrong magic", wrong_magic},
      {"old version", patch_header(good, 21, &version_14, 1)},
      {"zero width", with_float(width_offset, 0)},
      {"negative height", with_float(width_offset + 4, -20)},
      {"width NaN", with_float(width_offset, std::nanf(""))},
      {"width beyond the GPU", with_float(width_offset, 1e9f)},
      {"colour infinite", with_float(width_offset + 8, INFINITY)},
      {"no layers", with_layer_count(0)},
      {"negative layer count", with_layer_count(-3)},
      {"more layers than the GPU holds", with_layer_count(2000000)},
      {"swatch columns beyond the header",
       patch_header(good, width_offset + 8 + 16 + 8 + 36 + 4 + 16 + 4, "\xff\xff\xff\x0f", 4)},
      {"band length lies", lying},
      {"layer style out of range", bad_style},
  };
  for (const auto& c : cases) {
    Result<io::StoredProject> p = io::read_project(c.file, {});
    ASSERT_FALSE(p) << c.what;
    EXPECT_FALSE(p.error().message.empty()) << c.what;
  }
}

TEST(ProjectFormat, LayerPixelsBeyondTheGpuAreRefused) {
  const int w = 16, h = 20;
  io::Bytes file = save(test_header(w, h, 2), random_layers(2, w, h, 4));
  io::ReadLimits limits;
  limits.max_layer_pixels = 2 * w * h;
  EXPECT_EQ(read(file, limits).layers.size(), 2u);
  limits.max_layer_pixels = 2 * w * h - 1;
  Result<io::StoredProject> refused = io::read_project(file, limits);
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.error().message.find("GPU"), std::string::npos) << refused.error().message;
}

// A file cut anywhere after its header keeps every band before the cut: the
// layers before it whole, the layer it ends in with its first bands (the rest
// empty).
TEST(ProjectFormat, TruncatedFileKeepsEveryBandBeforeTheCut) {
  const int w = 16, h = 20;
  io::ProjectHeader hd = test_header(w, h, 3);
  std::vector<TestLayer> layers = random_layers(3, w, h, 6);
  io::Bytes file = save(hd, layers);
  // Where each segment ends: header, then per layer its settings and 16 bands.
  std::vector<std::size_t> ends;
  {
    io::SegmentReader r(file);
    while (next(r).status == io::SegmentStatus::ok) ends.push_back(r.position());
  }
  ASSERT_EQ(ends.size(), 1u + 3 * 17);
  for (std::size_t cut = ends[0]; cut < file.size(); cut += 7) {
    const int whole_segments = int(std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin());
    std::vector<int> bands;  // bands read of each layer kept
    for (int l = 0; l < 3; ++l) {
      const int b = std::clamp(whole_segments - 1 - 17 * l - 1, 0, 16);
      if (b > 0) bands.push_back(b);
    }
    Result<io::StoredProject> got = io::read_project(std::span<const uint8_t>(file.data(), cut), {});
    if (bands.empty()) {
      EXPECT_FALSE(got) << cut;
      continue;
    }
    ASSERT_TRUE(got) << cut << ": " << got.error().message;
    const io::StoredProject& p = *got;
    EXPECT_EQ(p.truncated, whole_segments < int(ends.size())) << cut;
    ASSERT_EQ(p.layers.size(), bands.size()) << cut;
    for (std::size_t l = 0; l < bands.size(); ++l) {
      EXPECT_EQ(p.layers[l].bands_read, bands[l]) << cut;
      // The bands read hold the layer's rows; the rest of the layer is empty.
      std::vector<float> want = layers[l].mat;
      if (bands[l] < 16)
        std::fill(want.begin() + std::ptrdiff_t(w) * io::band_first_row(h, bands[l]), want.end(), 0.0f);
      EXPECT_EQ(unpack(p, int(l)).mat, want) << cut << " layer " << l;
    }
  }
  EXPECT_FALSE(io::read_project(file, {})->truncated);
}

// Whole projects through the GPU: the layer stack and the settings.
namespace {

struct Painting {
  int w = 0, h = 0;
  std::vector<std::vector<float>> col, mat;
  std::vector<io::LayerSettings> settings;
};

// Paints every layer with seeded values that RGBA16F holds exactly.
void paint_layers(unsigned seed) {
  std::mt19937 rng(seed);
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  for (auto& l : layers.list) {
    std::vector<float> col(std::size_t(w) * h * 4), mat(std::size_t(w) * h);
    for (float& v : col) v = float(rng() % 600) / 256.0f;
    for (float& v : mat) v = float(rng() % 100000) / 7919.0f;
    glBindTexture(GL_TEXTURE_2D, l->fbo_col());
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGBA, GL_FLOAT, col.data());
    glBindTexture(GL_TEXTURE_2D, l->fbo_mat());
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RED, GL_FLOAT, mat.data());
    glBindTexture(GL_TEXTURE_2D, 0);
  }
}

Painting snapshot() {
  Painting p;
  p.w = gpu::geometry.width;
  p.h = gpu::geometry.height;
  for (auto& l : layers.list) {
    p.col.push_back(read_texture(l->fbo_col(), p.w, p.h, GL_RGBA, 4));
    p.mat.push_back(read_texture(l->fbo_mat(), p.w, p.h, GL_RED, 1));
    io::LayerSettings s;
    s.hidden = l->hidden, s.style = l->style;
    s.bump = l->bump, s.glossiness = l->glossiness, s.diffusion = l->diffusion, s.metallic = l->metallic;
    s.opacity = l->opacity, s.visibility = l->visibility;
    std::copy_n(l->color, 3, s.color);
    p.settings.push_back(s);
  }
  return p;
}

void expect_same(const Painting& a, const Painting& b, const char* what) {
  EXPECT_EQ(a.w, b.w) << what;
  EXPECT_EQ(a.h, b.h) << what;
  ASSERT_EQ(a.col.size(), b.col.size()) << what;
  for (std::size_t i = 0; i < a.col.size(); ++i) {
    EXPECT_TRUE(a.col[i] == b.col[i]) << what << ": layer " << i << " colour";
    EXPECT_TRUE(a.mat[i] == b.mat[i]) << what << ": layer " << i << " paint amount";
    EXPECT_EQ(io::encode_layer_settings(a.settings[i]), io::encode_layer_settings(b.settings[i])) << what;
  }
}

// Puts every setting back as the program starts, so that later tests start as it does.
class SettingsGuard {
 public:
  ~SettingsGuard() { document::reset_settings(); }
};

std::string temp_path(const std::string& name) {
  return test_file("project_tests_" + name);
}

void set(const char* label, float v) {
  Result<const document::Parameter*> p = document::find_parameter(label);
  ASSERT_TRUE(succeeded(p));
  ASSERT_TRUE(succeeded(document::set_parameter(**p, v))) << label;
}

}  // namespace

TEST_F(GlTest, ProjectSaveAndLoadKeepEveryPixelAndSetting) {
  SettingsGuard keep;
  add_layer();
  add_layer();
  paint_layers(7);
  layers.list[1]->style = 2;
  layers.list[1]->bump = 0.7f;
  layers.list[2]->hidden = 1;
  layers.list[2]->color[1] = 0.3f;
  document::set_color(0.1f, 0.6f, 0.9f);
  set("FLUIDITY", 0.4f);
  set("BRUSH:SIZE", 42);
  set("MOUSE SPEED", 0.3f);
  gpu::display_settings.light_pos[0] = 0.8f;
  gpu::display_settings.mirror_mode = 4;
  gpu::guide_settings.guide_subdivisions = 6;
  gpu::guide_settings.guide_camera[2] = -120;
  gpu::canvas_settings.density = 0.33f;
  swatch_grid.columns = {{colors{0.5f, 0.5f, 0, 1, 0, 0, 0, 0}}, {colors{1, 0, 1, 1, 0, 0, 0, 0}}};
  brush_settings.preset_bristles[3] = 0.123f;
  const Painting saved = snapshot();
  const io::ProjectHeader saved_header = document::gather_project_header();

  const std::string path = temp_path("round.olp");
  Result<void> saved_file = document::save_project(path, {});
  ASSERT_TRUE(saved_file) << saved_file.error().message;

  // Something else entirely, then the project again.
  const float grey[3] = {0.5f, 0.5f, 0.5f};
  create_canvas(100, 50, grey, 100, 50);
  document::set_color(0, 0, 0);
  set("FLUIDITY", 1);
  set("BRUSH:SIZE", 5);
  gpu::guide_settings = {};
  gpu::canvas_settings.density = 0.9f;
  swatch_grid.columns.clear();
  brush_settings.preset_bristles[9] = 0.77f;  // not stored: keeps its value
  brush_settings.preset_bristles[3] = 0;

  int progress_calls = 0;
  float last = 0;
  Result<std::string> loaded = document::load_project(path, 160, 90, [&](const char* caption, float f) {
    EXPECT_STREQ(caption, "Loading project...");
    ++progress_calls, last = f;
  });
  ASSERT_TRUE(loaded) << loaded.error().message;
  EXPECT_EQ(*loaded, "");
  expect_same(snapshot(), saved, "after loading");
  EXPECT_EQ(progress_calls, 3 * 16);
  EXPECT_EQ(last, 1.0f);
  EXPECT_EQ(layers.active, layers.list.back().get());
  EXPECT_EQ(layers.active_number, 3);
  EXPECT_EQ(brush_settings.preset_bristles[9], 0.77f);
  EXPECT_EQ(io::encode_header(document::gather_project_header()), io::encode_header(saved_header));
  EXPECT_EQ(gpu::guide_settings.guide_subdivisions, 6);
  EXPECT_EQ(gpu::canvas_settings.density, 0.33f);
  EXPECT_EQ(swatch_grid.columns.size(), 2u);
  EXPECT_EQ(color_settings.current[1], 0.6f);
  std::filesystem::remove(path);
}

TEST_F(GlTest, ProjectThatCannotBeLoadedChangesNothing) {
  SettingsGuard keep;
  add_layer();
  paint_layers(8);
  const std::string path = temp_path("bad.olp");
  Result<void> saved = document::save_project(path, {});
  ASSERT_TRUE(saved) << saved.error().message;
  const io::Bytes file = file_bytes(path);

  // Segment ends, to cut the file inside the second layer.
  std::vector<std::size_t> ends;
  {
    io::SegmentReader r(file);
    while (next(r).status == io::SegmentStatus::ok) ends.push_back(r.position());
  }
  ASSERT_EQ(ends.size(), 1u + 2 * 17);
  io::Bytes damaged = file;
  damaged[ends[20] - 30] ^= 0x40;  // inside a band of the second layer

  paint_layers(9);
  set("FLUIDITY", 0.25f);
  const Painting before = snapshot();
  const struct {
    const char* what;
    io::Bytes bytes;
  } cases[] = {{"damaged band", damaged},
               {"garbage", io::Bytes(3000, 0x3c)},
               {"empty", {}},
               {"cut inside the first band", io::Bytes(file.begin(), file.begin() + std::ptrdiff_t(ends[2] - 5))}};
  for (const auto& c : cases) {
    const std::string bad = temp_path("bad_case.olp");
    {
      io::AtomicFile f(bad);
      f.write(c.bytes.data(), c.bytes.size());
      ASSERT_TRUE(f.commit());
    }
    Result<std::string> loaded = document::load_project(bad, 160, 90, {});
    ASSERT_FALSE(loaded) << c.what;
    EXPECT_FALSE(loaded.error().message.empty()) << c.what;
    expect_same(snapshot(), before, c.what);
    EXPECT_EQ(document::value_of(document::ParamId::fluidity), 0.25f) << c.what;
    std::filesystem::remove(bad);
  }
  EXPECT_FALSE(document::load_project(temp_path("missing.olp"), 160, 90, {}));
  expect_same(snapshot(), before, "missing file");

  // Cut after the seventh band of the second layer: the first layer loads
  // whole, the second with its first seven bands and empty above them.
  const io::StoredProject whole = read(file);
  const std::string cut = temp_path("cut.olp");
  {
    io::AtomicFile f(cut);
    f.write(file.data(), ends[25] + 3);
    ASSERT_TRUE(f.commit());
  }
  Result<std::string> note = document::load_project(cut, 160, 90, {});
  ASSERT_TRUE(note) << note.error().message;
  EXPECT_EQ(*note, "the file ends in layer 2 of 2, after 7 of its 16 bands");
  ASSERT_EQ(layers.list.size(), 2u);
  EXPECT_EQ(layers.active, layers.list[1].get());
  Painting after = snapshot();
  EXPECT_TRUE(after.mat[0] == unpack(whole, 0).mat);
  std::vector<float> second = unpack(whole, 1).mat;
  const std::size_t read_rows = std::size_t(io::band_first_row(whole.height, 7)) * std::size_t(whole.width);
  ASSERT_GT(std::count_if(second.begin(), second.begin() + std::ptrdiff_t(read_rows), [](float m) { return m > 0; }),
            0);
  ASSERT_GT(std::count_if(second.begin() + std::ptrdiff_t(read_rows), second.end(), [](float m) { return m > 0; }), 0);
  std::fill(second.begin() + std::ptrdiff_t(read_rows), second.end(), 0.0f);
  EXPECT_TRUE(after.mat[1] == second);
  std::filesystem::remove(cut);
  std::filesystem::remove(path);
}

TEST_F(GlTest, FailedSaveLeavesThePreviousFile) {
  const std::string path = temp_path("keep.olp");
  Result<void> saved = document::save_project(path, {});
  ASSERT_TRUE(saved) << saved.error().message;
  const io::Bytes before = file_bytes(path);
  add_layer();
  // A folder that does not exist cannot take the temporary file.
  Result<void> no_folder = document::save_project(temp_path("no_such_folder/x.olp"), {});
  ASSERT_FALSE(no_folder);
  EXPECT_FALSE(no_folder.error().message.empty());
  // A directory where the file should be: the rename fails, nothing is left behind.
  const std::string dir = temp_path("a_directory.olp");
  std::filesystem::create_directories(dir);
  EXPECT_FALSE(document::save_project(dir, {}));
  EXPECT_TRUE(std::filesystem::is_directory(dir));
  for (const auto& e : std::filesystem::directory_iterator(test_dir()))
    EXPECT_EQ(e.path().filename().string().find(".ollan-tmp-"), std::string::npos);
  std::filesystem::remove_all(dir);
  EXPECT_EQ(file_bytes(path), before);
  std::filesystem::remove(path);
}

// The save and load commands as a person drives them: keys, dialogs and questions.
TEST(ProjectCommands, ScriptedSaveLoadAndExportKeys) {
  SettingsGuard keep;
  ScriptRun run;
  file_commands = {};
  const std::string dir = temp_path("commands");
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string olp = dir + "/a.olp", png = dir + "/pic.png", garbage = dir + "/garbage.olp";
  {
    io::AtomicFile f(garbage);
    f.write("<SEGMENT>\r\n<SIZE>\r\n99\r\n</SIZE>\r\nnothing", 40);
    ASSERT_TRUE(f.commit());
  }
  std::string error = run.run(
      "mouse 40 40\ndown left\nframe\nmouse 100 60\nframe 4\nup left\nframe\n"
      "save " +
      olp + "\n" + "key press F9\nframe 2\n");
  ASSERT_EQ(error, "");
  ASSERT_EQ(layers.list.size(), 2u);
  const io::Bytes saved = file_bytes(olp);
  EXPECT_EQ(count_segments(saved), 1 + 17);
  EXPECT_EQ(file_commands.current_name, olp);

  // S with a known name and no modifier asks before overwriting: Cancel
  // keeps the file. (Ctrl+S always opens the dialog.)
  error = run.run("answer cancel\nkey press S\nframe 2\n");
  ASSERT_EQ(error, "");
  EXPECT_EQ(file_bytes(olp), saved);
  error = run.run("answer ok\nkey press S\nframe 2\n");
  ASSERT_EQ(error, "");
  EXPECT_EQ(count_segments(file_bytes(olp)), 1 + 2 * 17);

  // Ctrl+Shift+S: the colour/height pair, nothing under the chosen name.
  error = run.run("choose " + png +
                  "\nkey down Left Ctrl\nkey down Left Shift\nkey press S\nframe\n"
                  "key up Left Shift\nkey up Left Ctrl\nframe\n");
  ASSERT_EQ(error, "");
  EXPECT_FALSE(std::filesystem::exists(png));
  EXPECT_TRUE(std::filesystem::exists(dir + "/pic_col.png"));
  EXPECT_TRUE(std::filesystem::exists(dir + "/pic_mat.png"));

  // O with a damaged file: the replay goes on and the painting stays.
  error = run.run("choose " + garbage + "\nkey press O\nframe 2\n");
  ASSERT_EQ(error, "");
  EXPECT_EQ(layers.list.size(), 2u);

  // Loading brings back the two layers of the last save over a new single layer.
  create_canvas(160, 90, std::array<float, 3>{1, 1, 1}.data(), 160, 90);
  ASSERT_EQ(layers.list.size(), 1u);
  error = run.run("load " + olp + "\nframe\n");
  ASSERT_EQ(error, "");
  EXPECT_EQ(layers.list.size(), 2u);
  error = run.run("choose\nkey press O\nframe\n");  // a cancelled dialog does nothing
  ASSERT_EQ(error, "");
  EXPECT_EQ(file_commands.current_name, olp);
  std::filesystem::remove_all(dir);
}

// The last extension alone picks the kind.
TEST(ProjectCommands, NameDispatchTakesTheLastExtension) {
  ScriptRun run;
  file_commands = {};
  const std::string dir = temp_path("dispatch");
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  // Ending in ".png": a PNG export, whatever comes before.
  const std::string both = dir + "/x.olp.png";
  ASSERT_EQ(run.run("frame\nsave " + both + "\nframe\n"), "");
  io::Bytes b = file_bytes(both);
  ASSERT_GE(b.size(), 8u);
  EXPECT_EQ(std::memcmp(b.data(), "\x89PNG", 4), 0);
  const std::string both2 = dir + "/y.png.olp";
  ASSERT_EQ(run.run("save " + both2 + "\nframe\n"), "");
  b = file_bytes(both2);
  ASSERT_GE(b.size(), 8u);
  EXPECT_NE(std::memcmp(b.data(), "\x89PNG", 4), 0);
  EXPECT_TRUE(succeeded(io::read_project(b, {})));
  std::filesystem::remove_all(dir);
}

// Versions 15 and 16 differ in two places: no swatch grid before 16, and only
// "CANVAS:SHOW" and the five canvas dials where 17 keeps the canvas presets.
TEST(ProjectFormat, OlderVersionsReadThroughTheirGates) {
  const int w = 16, h = 20;
  io::ProjectHeader hd = test_header(w, h, 1);
  hd.swatches = {{{1, 0, 0, 1, 0, 0, 0, 0}}};
  std::vector<TestLayer> layers = random_layers(1, w, h, 9);
  const io::Bytes v17 = save(hd, layers);
  const io::Bytes block17 = io::encode_header(hd);
  // Offsets in the version-17 block.
  const std::size_t swatches_at = width_offset + 8 + 16 + 8 + 36 + 4 + 16 + 4;
  const std::size_t swatches_size = 4 + 4 + 32;
  const std::size_t canvas_at = block17.size() - 4 - 73;  // show, count, current, 3 x 22, flag
  const float dials[5] = {0.9f, 0.8f, 0.7f, 0.6f, 0.5f};

  for (uint8_t version : {uint8_t(15), uint8_t(16)}) {
    io::Bytes block(block17.begin(), block17.begin() + std::ptrdiff_t(canvas_at));
    block.push_back(0);  // "CANVAS:SHOW" off
    const auto* d = reinterpret_cast<const uint8_t*>(dials);
    block.insert(block.end(), d, d + sizeof dials);
    block.insert(block.end(), block17.end() - 4, block17.end());  // layer count
    if (version < 16)
      block.erase(block.begin() + std::ptrdiff_t(swatches_at),
                  block.begin() + std::ptrdiff_t(swatches_at + swatches_size));
    block[21] = version;
    io::MemoryOutput out;
    io::write_segment(out, io::pack_bank(block));
    io::SegmentReader r(v17);
    next(r);
    out.bytes.insert(out.bytes.end(), v17.begin() + std::ptrdiff_t(r.position()), v17.end());

    Result<io::StoredProject> got = io::read_project(out.bytes, {});
    ASSERT_TRUE(got) << int(version) << ": " << got.error().message;
    const io::StoredProject& p = *got;
    EXPECT_EQ(p.header.version, version);
    EXPECT_EQ(p.header.swatches.size(), version >= 16 ? 1u : 0u);
    EXPECT_EQ(p.header.brush_size, hd.brush_size) << int(version);
    EXPECT_EQ(p.header.guide_subdivisions, hd.guide_subdivisions) << int(version);
    EXPECT_EQ(p.header.canvas_show, 0);
    const io::CanvasPreset& c = p.header.canvas_presets[p.header.canvas_preset];
    EXPECT_EQ(c.strength, 0.9f);
    EXPECT_EQ(c.stretch, 0.5f);
    ASSERT_EQ(p.layers.size(), 1u);
    EXPECT_EQ(unpack(p, 0).mat, layers[0].mat);
  }
}

TEST(ProjectCommands, PictureImportAsksAboutTheResolution) {
  ScriptRun run;
  file_commands = {};
  const std::string pic = temp_path("import.png");
  std::vector<float> rgb(8 * 6 * 3, 0.75f);
  Result<void> written = io::png16_write(pic, rgb, 8, 6, 3);
  ASSERT_TRUE(written) << written.error().message;
  const Painting before = snapshot();

  ASSERT_EQ(run.run("answer cancel\nload " + pic + "\nframe\n"), "");
  expect_same(snapshot(), before, "cancelled");

  ASSERT_EQ(run.run("answer no\nload " + pic + "\nframe\n"), "");
  EXPECT_EQ(gpu::geometry.width, 160);
  std::vector<float> mat = read_texture(layers.active->fbo_mat(), 160, 90, GL_RED, 1);
  // A picture without alpha: full paint everywhere; its colour in the centre only.
  EXPECT_TRUE(std::all_of(mat.begin(), mat.end(), [](float m) { return m == 1.0f; }));
  std::vector<float> col = read_texture(layers.active->fbo_col(), 160, 90, GL_RGBA, 4);
  EXPECT_NEAR(col[std::size_t(45 * 160 + 80) * 4], 0.75f, 0.01);
  EXPECT_EQ(col[std::size_t(5 * 160 + 5) * 4 + 3], 0.0f);

  ASSERT_EQ(run.run("answer yes\nload " + pic + "\nframe\n"), "");
  EXPECT_EQ(gpu::geometry.width, 8);
  EXPECT_EQ(gpu::geometry.height, 6);
  EXPECT_EQ(file_commands.current_name, pic);
  std::filesystem::remove(pic);
}

// Every header field at the byte offset the file layout gives it, so that a
// field moved in both the writer and the reader cannot pass unnoticed.
TEST(ProjectFormat, HeaderFieldsSitAtTheirLayoutOffsets) {
  io::ProjectHeader h;
  float next = 1.5f;  // every float field a value of its own
  auto fill = [&](float* v, int n) {
    for (int i = 0; i < n; ++i) v[i] = next++;
  };
  fill(&h.width, 1), fill(&h.height, 1), fill(h.color, 4), fill(&h.display_gamma, 1), fill(&h.midpoint, 1);
  fill(h.light_col, 3), fill(h.light_pos, 3), fill(h.ambient_col, 3), fill(&h.light_setting, 1), fill(h.paper, 4);
  fill(&h.new_layer_bump, 1);
  h.swatches = {{io::SwatchCell{}}};
  io::SwatchCell& cell = h.swatches[0][0];
  fill(&cell.r, 1), fill(&cell.g, 1), fill(&cell.b, 1), fill(&cell.a, 1);
  cell.xi = 71, cell.yi = 72;
  fill(&cell.x, 1), fill(&cell.y, 1);
  fill(&h.brush_size, 1), fill(h.preset_bristle_size, 9), fill(h.preset_bristles, 9), fill(h.preset_bias, 9);
  fill(&h.mouse_speed, 1);
  h.mirror_mode = 8, h.high_quality = 0;
  fill(&h.smudge_chroma, 1), fill(&h.fluidity, 1), fill(&h.fluid_sharpness, 1), fill(&h.fluid_smudge, 1);
  fill(&h.drying_speed, 1), fill(&h.guide_fov, 1), fill(&h.guide_distortion, 1), fill(&h.guide_alpha, 1);
  h.guide_subdivisions = 73;
  fill(h.guide_offset, 3), fill(h.guide_camera, 3), fill(h.guide_rotation, 3);
  h.canvas_show = 1, h.canvas_preset = 2;
  for (int i = 0; i < 3; ++i) {
    io::CanvasPreset& p = h.canvas_presets[i];
    p.mode = uint8_t(10 + i), p.inverted = uint8_t(20 + i);
    fill(&p.strength, 1), fill(&p.size, 1), fill(&p.bias, 1), fill(&p.density, 1), fill(&p.stretch, 1);
  }
  h.custom_canvas = 1, h.layer_count = 74;

  const io::Bytes b = io::encode_header(h);
  ASSERT_EQ(b.size(), 421u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 21), "Ollan Rizazuv version");
  auto f32 = [&](size_t at) {
    float v;
    std::memcpy(&v, &b[at], 4);
    return v;
  };
  auto i32 = [&](size_t at) {
    int32_t v;
    std::memcpy(&v, &b[at], 4);
    return v;
  };
  // Float fields in file order: offset of the first, count, first value.
  const struct {
    size_t at;
    int count;
    float first;
    const char* name;
  } floats[] = {
      {22, 2, 1.5f, "canvas size"},
      {30, 4, 3.5f, "colour"},
      {46, 1, 7.5f, "display gamma"},
      {50, 1, 8.5f, "wheel midpoint"},
      {54, 9, 9.5f, "light, ambient"},
      {90, 1, 18.5f, "light setting"},
      {94, 4, 19.5f, "paper"},
      {110, 1, 23.5f, "new-layer bump"},
      {122, 4, 24.5f, "swatch rgba"},
      {146, 2, 28.5f, "swatch x, y"},
      {154, 1, 30.5f, "brush size"},
      {158, 27, 31.5f, "presets"},
      {266, 1, 58.5f, "mouse speed"},
      {272, 5, 59.5f, "fluid dials"},
      {292, 3, 64.5f, "guide fov .. alpha"},
      {308, 9, 67.5f, "guide vectors"},
      {352, 5, 76.5f, "canvas preset 0"},
      {374, 5, 81.5f, "canvas preset 1"},
      {396, 5, 86.5f, "canvas preset 2"},
  };
  for (const auto& f : floats)
    for (int i = 0; i < f.count; ++i) EXPECT_EQ(f32(f.at + 4 * size_t(i)), f.first + float(i)) << f.name << " " << i;
  const struct {
    size_t at;
    int value;
    const char* name;
  } ints[] = {{114, 1, "swatch columns"}, {118, 1, "cells"},        {138, 71, "xi"},         {142, 72, "yi"},
              {304, 73, "subdivisions"},  {345, 3, "preset count"}, {417, 74, "layer count"}};
  for (const auto& i : ints) EXPECT_EQ(i32(i.at), i.value) << i.name;
  const struct {
    size_t at;
    int value;
    const char* name;
  } bytes[] = {{21, 17, "version"},
               {270, 8, "mirror mode"},
               {271, 0, "high quality"},
               {344, 1, "canvas shown"},
               {349, 2, "current preset"},
               {350, 10, "preset 0 mode"},
               {351, 20, "preset 0 inverted"},
               {372, 11, "preset 1 mode"},
               {394, 12, "preset 2 mode"},
               {395, 22, "preset 2 inverted"},
               {416, 1, "custom canvas"}};
  for (const auto& y : bytes) EXPECT_EQ(int(b[y.at]), y.value) << y.name;
}
