#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "gpu/buffer.h"
#include "gpu/guide.h"
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

// A lattice point as the guide's vertex stage puts it, in clip coordinates
// (x, y, w) of a w x h picture: the camera of the guide's settings, turned
// about x, y and z in that order, a perspective of the field of view, and
// the lens bend.
std::array<float, 3> clip_point(const gpu::GuideSettings& g, const float p[3], int w, int h) {
  const float k = 3.14159265f / 180;
  float v[3] = {p[0] + g.guide_offset[0], p[1] + g.guide_offset[1], p[2] + g.guide_offset[2]};
  const auto turn = [&](int a, int b, float deg) {  // turns axis a towards axis b
    const float c = std::cos(deg * k), s = std::sin(deg * k), va = v[a], vb = v[b];
    v[a] = c * va - s * vb;
    v[b] = s * va + c * vb;
  };
  turn(0, 1, g.guide_rotation[2]);
  turn(2, 0, g.guide_rotation[1]);
  turn(1, 2, g.guide_rotation[0]);
  for (int i = 0; i < 3; ++i) v[i] += g.guide_camera[i];
  const float f = 1 / std::tan(0.5f * g.guide_fov * k), aspect = float(w) / float(h);
  float x = f / aspect * v[0], y = f * v[1];
  const float cw = -v[2], cz = cw - 2;
  const float n = std::sqrt(x * x + y * y + cz * cz) / std::fabs(cw);
  x += (x / cw / n * cw - x) * g.guide_distortion;
  y += (y / cw / n * cw - y) * g.guide_distortion;
  return {x, y, cw};
}

// The picture points (y up, as read back) of the straight line from clip
// point a to b, from fraction t0 to t1 of the way, where it lies in front of
// the camera.
std::vector<std::array<float, 2>> line_points(const std::array<float, 3>& a, const std::array<float, 3>& b, float t0,
                                              float t1, int w, int h) {
  std::vector<std::array<float, 2>> out;
  for (int i = 0; i <= 400; ++i) {
    const float t = t0 + (t1 - t0) * float(i) / 400;
    const float x = a[0] + (b[0] - a[0]) * t, y = a[1] + (b[1] - a[1]) * t, cw = a[2] + (b[2] - a[2]) * t;
    if (cw > 1) out.push_back({(1 + x / cw) * 0.5f * float(w), (1 + y / cw) * 0.5f * float(h)});
  }
  return out;
}

// The share of the picture points that lie inside it (with a pixel to spare)
// and are drawn on: a pixel within one of them brighter than the black
// target. `shown` counts those inside.
float lit_share(const std::vector<float>& px, int w, int h, const std::vector<std::array<float, 2>>& points,
                int* shown) {
  int lit = 0;
  *shown = 0;
  for (const auto& [x, y] : points) {
    if (x < 2 || y < 2 || x > float(w - 3) || y > float(h - 3)) continue;
    ++*shown;
    bool on = false;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        on = on || px[(std::size_t(int(y) + dy) * std::size_t(w) + std::size_t(int(x) + dx)) * 4] > 0.02f;
    lit += on;
  }
  return *shown ? float(lit) / float(*shown) : 0;
}

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

// The four edges of the cube that run to the horizon are dashed on their own:
// no straight line joins the far end of an edge along z to the near end of
// the edge along x beside it. Seen turned by 225 (or 135) degrees and tilted
// 30 down through the bent lens, such a line would cut straight across the
// curve of the far lines; there the picture stays dark, while the cube's
// own edges are drawn where they are expected.
TEST(Guide, VanishingEdgesAreNotJoinedToEachOther) {
  gl_canvas(W, H);
  gpu::Buffer target = gpu::Buffer::create(W, H, GL_RGBA16F, GL_RGBA, GL_CLAMP_TO_EDGE);
  for (const float turn : {225.0f, 135.0f}) {
    gpu::GuideSettings g;
    g.guide_shown = 1;
    g.guide_alpha = 1;
    g.guide_rotation[0] = 30;
    g.guide_rotation[1] = turn;
    target.bind_target();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    gpu::draw_guide(g, W, H);
    glFinish();
    const std::vector<float> px = read_texture(target.texture(), W, H, GL_RGBA, 4);
    int joints_seen = 0;
    for (const float m : {-200.0f, 200.0f})
      for (const float o : {-200.0f, 200.0f}) {
        const std::string where =
            std::to_string(int(m)) + " " + std::to_string(int(o)) + " turned " + std::to_string(int(turn));
        // The cube edge along z at (m, o), through the vertices it is drawn with.
        std::vector<std::array<float, 2>> vertices;
        for (int i = 0; i <= 80; ++i) {
          const float p[3] = {m, o, -200 + 5 * float(i)};
          const std::array<float, 3> c = clip_point(g, p, W, H);
          if (c[2] > 1) vertices.push_back({(1 + c[0] / c[2]) * 0.5f * W, (1 + c[1] / c[2]) * 0.5f * H});
        }
        int shown = 0;
        const float edge = lit_share(px, W, H, vertices, &shown);
        if (shown > 20) {
          EXPECT_GT(edge, 0.95f) << "cube edge " << where;
        }
        // The straight line from the z-edge's last point to the x-edge's first,
        // away from its ends where the far lines meet.
        const float far_end[3] = {m, o, 100000}, near_start[3] = {-100000, o, m};
        const std::vector<std::array<float, 2>> points =
            line_points(clip_point(g, far_end, W, H), clip_point(g, near_start, W, H), 0.1f, 0.9f, W, H);
        const float joint = lit_share(px, W, H, points, &shown);
        if (shown < 30) continue;
        ++joints_seen;
        EXPECT_LT(joint, 0.3f) << "edges joined at " << where;
      }
    EXPECT_GT(joints_seen, 0) << "turned " << turn;
  }
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// A guide drag follows the smoothed pointer, as a stroke does: with "MOUSE
// SPEED" low, the camera lags behind a quick move and then catches up with
// the whole of it.
TEST(Guide, DragsFollowTheSmoothedPointer) {
  ScriptRun r(160, 90);  // small: the camera moves every frame, so every frame is drawn
  ASSERT_EQ(r.run("mouse 80 45\nkey press Tab\nframe\n" + show + edit), "");
  std::vector<float> camera_x;
  ASSERT_EQ(r.run("mouse 80 45\nset \"MOUSE SPEED\" 0.2\nkey down Left Shift\ndown left\nframe\nmouse 140 45\n"
                  "frame 80\nup left\nkey up Left Shift\nframe\n",
                  [&](int) { camera_x.push_back(gpu::guide_settings.guide_camera[0]); }),
            "");
  ASSERT_GT(camera_x.size(), 80u);
  const float x0 = camera_x[0];
  EXPECT_GT(camera_x[1], x0);
  EXPECT_LT(camera_x[1], x0 + 12) << "the pointer moved 60 pixels at once";
  EXPECT_NEAR(camera_x[80], x0 + 60, 1);
}

// The wheel's modifiers are "with": Shift with anything bends the lens,
// Ctrl without Shift widens the view, the rest counts the cells.
TEST(Guide, WheelModifiersAreWith) {
  const struct {
    int modifiers;  // Shift 1, Ctrl 2, Alt 4
    float distortion, fov;
    int subdivisions;
  } cases[] = {
      {1, 0.85f, 90, 2},  {3, 0.85f, 90, 2},  {5, 0.85f, 90, 2}, {7, 0.85f, 90, 2},
      {2, 0.75f, 100, 2}, {6, 0.75f, 100, 2}, {0, 0.75f, 90, 3}, {4, 0.75f, 90, 3},
  };
  for (const auto& c : cases) {
    ScriptRun r(W, H);
    std::string down, up;
    for (const auto& [bit, key] : {std::pair{1, "Left Shift"}, std::pair{2, "Left Ctrl"}, std::pair{4, "Left Alt"}})
      if (c.modifiers & bit) {
        down += std::string("key down ") + key + "\n";
        up += std::string("key up ") + key + "\n";
      }
    ASSERT_EQ(r.run(start + show + edit + down + "frame\nwheel 1\nframe\n" + up + "frame\n"), "");
    const gpu::GuideSettings& g = gpu::guide_settings;
    EXPECT_NEAR(g.guide_distortion, c.distortion, 1e-5f) << "modifiers " << c.modifiers;
    EXPECT_EQ(g.guide_fov, c.fov) << "modifiers " << c.modifiers;
    EXPECT_EQ(g.guide_subdivisions, c.subdivisions) << "modifiers " << c.modifiers;
  }
}
