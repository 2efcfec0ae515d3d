#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "gpu/guide_settings.h"
#include "io/png_import.h"
#include "layers/layer.h"
#include "tests/gl_fixture.h"
#include "tests/script_run.h"
#include "tests/temp_dir.h"

namespace {

constexpr int W = 320, H = 180;

// The window as the `screenshot` command writes it.
io::Pixmap shot(ScriptRun& r, const std::string& script) {
  const std::string path = test_file("guide_shot.png");
  // A run starts with the pointer unknown: place it where the others had it.
  EXPECT_EQ(r.run("mouse 160 90\n" + script + "screenshot " + path + "\n"), "");
  std::ifstream f(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  Result<io::Pixmap> p = io::TPixmapLoaderPNG::LoadPixmap(bytes);
  EXPECT_TRUE(p.ok());
  io::Pixmap out = p ? std::move(*p) : io::Pixmap{};
  out.pixels = out.rgba();
  return out;
}

// Where two shots differ by more than a rounding step, one flag a pixel.
std::vector<bool> differs(const io::Pixmap& a, const io::Pixmap& b) {
  std::vector<bool> d(std::size_t(W) * H, false);
  if (a.pixels.size() != b.pixels.size() || a.pixels.size() != d.size() * 4) return d;
  for (std::size_t i = 0; i < d.size(); ++i)
    for (int c = 0; c < 3; ++c) d[i] = d[i] || std::abs(int(a.pixels[i * 4 + c]) - int(b.pixels[i * 4 + c])) > 2;
  return d;
}

// Line pixels of `d` with no line pixel at their mirror image about the
// vertical centre line (rasterising may put a slanted line's mirror one
// pixel aside).
int unmirrored(const std::vector<bool>& d) {
  int n = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      if (!d[y * W + x]) continue;
      bool mirrored = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int mx = W - 1 - x + dx, my = y + dy;
          mirrored = mirrored || (mx >= 0 && mx < W && my >= 0 && my < H && d[my * W + mx]);
        }
      n += !mirrored;
    }
  return n;
}

int count(const std::vector<bool>& d) {
  int n = 0;
  for (bool b : d) n += b;
  return n;
}

// A flat paper with the pointer in the middle, so only the guide differs.
// Tab puts the status text aside.
const std::string start = "set \"CANVAS:SHOW\" 0\nmouse 160 90\nkey press Tab\nframe 2\n";
const std::string show = "key press G\nframe\n";
const std::string edit = "key down Left Ctrl\nkey press G\nframe\nkey up Left Ctrl\nframe\n";

}  // namespace

// Shown with G, hidden for as long as S is held, back the same on release.
TEST(Guide, ShownAndHiddenWhileSIsHeld) {
  ScriptRun r(W, H);
  const io::Pixmap bare = shot(r, start);
  const io::Pixmap shown = shot(r, show);
  const io::Pixmap held = shot(r, "key down S\nframe\n");
  const io::Pixmap back = shot(r, "key up S\nframe\n");
  EXPECT_GT(count(differs(bare, shown)), W * H / 50);
  EXPECT_EQ(count(differs(bare, held)), 0);
  EXPECT_EQ(count(differs(shown, back)), 0);
}

// On the axis with no turn and no sway the picture is its own mirror image
// about the vertical centre line.
TEST(Guide, OnAxisCameraIsMirrorSymmetric) {
  ScriptRun r(W, H);
  const io::Pixmap bare = shot(r, start);
  const std::vector<bool> lines = differs(bare, shot(r, show));
  ASSERT_GT(count(lines), 0);
  EXPECT_LT(unmirrored(lines), count(lines) / 20);
  // Turned about y the lattice leans to one side.
  gpu::guide_settings.guide_rotation[1] = 20;
  const std::vector<bool> turned = differs(bare, shot(r, "frame\n"));
  EXPECT_GT(unmirrored(turned), count(turned) / 4) << count(turned);
}

// More cells per cube edge draw more line pixels; the wheel stops at 1 and 64.
TEST(Guide, SubdivisionsAddLinesWithinTheirLimits) {
  ScriptRun r(W, H);
  const io::Pixmap bare = shot(r, start);
  const int two = count(differs(bare, shot(r, show)));
  const int eight = count(differs(bare, shot(r, edit + "wheel 6\nframe\n")));
  EXPECT_EQ(gpu::guide_settings.guide_subdivisions, 8);
  EXPECT_GT(eight, two + two / 4);
  ASSERT_EQ(r.run("wheel 500\nframe\n"), "");
  EXPECT_EQ(gpu::guide_settings.guide_subdivisions, gpu::guide_subdivisions_max);
  ASSERT_EQ(r.run("wheel -500\nframe\n"), "");
  EXPECT_EQ(gpu::guide_settings.guide_subdivisions, 1);
  ASSERT_EQ(r.run("key down Left Ctrl\nwheel 30\nframe\n"), "");
  EXPECT_EQ(gpu::guide_settings.guide_fov, gpu::guide_fov_max);
  ASSERT_EQ(r.run("key down Left Ctrl\nwheel -30\nframe\nkey up Left Ctrl\nframe\n"), "");
  EXPECT_EQ(gpu::guide_settings.guide_fov, gpu::guide_fov_min);
}

// The sway repeats every 36 frames and is seen in between.
TEST(Guide, SwayHasAPeriodOf36Frames) {
  ScriptRun r(W, H);
  const io::Pixmap first =
      shot(r, start + show + "key down Left Shift\nkey press G\nframe\nkey up Left Shift\nframe\n");
  const io::Pixmap period = shot(r, "frame 36\n");
  const io::Pixmap quarter = shot(r, "frame 9\n");
  EXPECT_EQ(count(differs(first, period)), 0);
  EXPECT_GT(count(differs(first, quarter)), 0);
}

// While the guide is edited a drag moves the guide and paints nothing; the
// shift-drag moves the camera.
TEST(Guide, DragsEditTheGuideAndNeverPaint) {
  ScriptRun r(W, H);
  ASSERT_EQ(
      r.run(start + show + edit + "down left\nframe\nmouse 200 100\nframe 3\nmouse 260 120\nframe 3\nup left\nframe\n"),
      "");
  EXPECT_NE(gpu::guide_settings.guide_alpha, -0.5f);
  const std::vector<float> m = read_texture(layers.active->fbo_mat(), W, H, GL_RED, 1);
  EXPECT_EQ(*std::max_element(m.begin(), m.end()), 0.0f);
  ASSERT_EQ(r.run("key down Left Shift\ndown left\nframe\nmouse 100 100\nframe 3\nup left\nkey up Left Shift\nframe\n"),
            "");
  EXPECT_LT(gpu::guide_settings.guide_camera[0], 0);
  ASSERT_EQ(r.run("key down Left Shift\nkey down Left Alt\ndown left\nframe\nmouse 200 100\nframe 2\nup left\n"
                  "key up Left Alt\nkey up Left Shift\nframe\n"),
            "");
  EXPECT_GT(gpu::guide_settings.guide_offset[0], 0);
  ASSERT_EQ(r.run("key press Home\nframe\n"), "");
  EXPECT_EQ(gpu::guide_settings.guide_offset[0], 0);
}

// Values from a file or anywhere else are brought into what the guide draws
// with: a hostile subdivision count, a degenerate field of view, NaN.
TEST(Guide, ClampKeepsEveryValueDrawable) {
  struct Case {
    int subdivisions;
    float fov, alpha, camera_z;
    int want_subdivisions;
    float want_fov, want_alpha, want_camera_z;
  } cases[] = {
      {std::numeric_limits<int>::max(), 180, 3, -300, 64, 170, 1, -300},
      {0, 0, -3, 5, 1, 10, -1, 5},
      {-7, std::nanf(""), std::nanf(""), std::numeric_limits<float>::infinity(), 1, 90, -0.5f, -300},
      {2, 90, -0.5f, -300, 2, 90, -0.5f, -300},
  };
  for (const Case& c : cases) {
    gpu::GuideSettings g;
    g.guide_subdivisions = c.subdivisions;
    g.guide_fov = c.fov;
    g.guide_alpha = c.alpha;
    g.guide_camera[2] = c.camera_z;
    gpu::clamp_guide(g);
    EXPECT_EQ(g.guide_subdivisions, c.want_subdivisions);
    EXPECT_EQ(g.guide_fov, c.want_fov);
    EXPECT_EQ(g.guide_alpha, c.want_alpha);
    EXPECT_EQ(g.guide_camera[2], c.want_camera_z);
  }
}

// Exports leave the guide out: it helps the eye and is not in the painting.
TEST(Guide, ExportsLeaveTheGuideOut) {
  ScriptRun r(W, H);
  const std::string bare = test_file("guide_bare.png"), shown = test_file("guide_shown.png");
  ASSERT_EQ(r.run(start + "export " + bare + "\n" + show + "frame\nexport " + shown + "\n"), "");
  auto bytes = [](const std::string& p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  };
  EXPECT_FALSE(bytes(bare).empty());
  EXPECT_EQ(bytes(bare), bytes(shown));
}
