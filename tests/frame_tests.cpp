#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/frame_state.h"
#include "app/navigation.h"
#include "app/startup.h"
#include "app/text.h"
#include "app/view.h"
#include "brush/brush_settings.h"
#include "document/color_settings.h"
#include "gpu/buffer.h"
#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "io/png_import.h"
#include "layers/layer.h"
#include "platform/embedded.h"
#include "tests/gl_fixture.h"
#include "tests/script_run.h"

namespace {

std::string moves(float x0, float x1, float y, int steps) {
  std::string s;
  for (int i = 1; i <= steps; ++i)
    s += "mouse " + std::to_string(x0 + (x1 - x0) * float(i) / float(steps)) + " " + std::to_string(y) + "\nframe\n";
  return s;
}

}  // namespace

// At "MOUSE SPEED" 1 the stroke position is the pointer, in canvas pixels
// (client pixels at zoom 1, canvas centred in a client area of its size).
TEST(FrameTest, FullMouseSpeedFollowsThePointer) {
  ScriptRun r;
  std::vector<float> xs;
  const std::string err =
      r.run("set \"MOUSE SPEED\" 1\nmouse 20 30\ndown left\nframe\n" + moves(20, 140, 30, 12), [&](int) {
        xs.push_back(frame_state.stroke_pos.x);
        EXPECT_NEAR(frame_state.stroke_pos.y, 30, 1e-3);
      });
  ASSERT_EQ(err, "");
  ASSERT_EQ(xs.size(), 13u);
  for (size_t i = 0; i < xs.size(); ++i) EXPECT_NEAR(xs[i], 20 + 10 * float(i), 1e-3) << "frame " << i;
}

// At 0.5 the smoothed pointer lags a jump, then overshoots it, then settles,
// without ever jumping as far as the pointer did; releasing snaps it. The
// pointer rests first, so that no hover motion carries into the stroke.
TEST(FrameTest, HalfMouseSpeedLagsOvershootsAndSnapsOnRelease) {
  ScriptRun r;
  std::vector<float> xs;
  const std::string err = r.run(
      "set \"MOUSE SPEED\" 0.5\nmouse 40 45\nframe 30\ndown left\nframe\nmouse 100 45\nframe 40\nmouse 60 "
      "45\nup left\nframe\n",
      [&](int f) {
        if (f >= 30) xs.push_back(frame_state.stroke_pos.x);
      });
  ASSERT_EQ(err, "");
  ASSERT_EQ(xs.size(), 42u);
  EXPECT_NEAR(xs[0], 40, 1e-3);
  EXPECT_GT(xs[1], 40);
  EXPECT_LT(xs[1], 100);  // lags
  float peak = 0, biggest_step = 0;
  for (size_t i = 1; i < 41; ++i) {
    peak = std::max(peak, xs[i]);
    biggest_step = std::max(biggest_step, std::fabs(xs[i] - xs[i - 1]));
  }
  EXPECT_GT(peak, 100.5f);             // overshoots
  EXPECT_LT(biggest_step, 60 * 0.5f);  // smoothly
  EXPECT_NEAR(xs[40], 100, 0.5);       // settles
  EXPECT_NEAR(xs[41], 60, 1e-3);       // released: the smoothed pointer is the pointer
}

// Dragging with Shift+Ctrl+Alt turns the view; then a horizontal mouse
// movement moves the stroke along the canvas's rotated axis. Home turns back.
TEST(FrameTest, RotatedViewMapsMouseOntoTheRotatedAxis) {
  ScriptRun r;
  float angle = 0;
  vec2d start, end;
  const std::string err = r.run(
      "key down Left Shift\nkey down Left Ctrl\nkey down Left Alt\n"
      "mouse 120 45\ndown left\nframe\nmouse 80 85\nframe\nup left\nframe\n"
      "key up Left Shift\nkey up Left Ctrl\nkey up Left Alt\nmouse 50 45\nframe\n"
      "down left\nframe\n" +
          moves(50, 110, 45, 6) + "up left\nframe\n",
      [&](int f) {
        if (f == 2) angle = view.angle;
        if (f == 4) start = frame_state.stroke_pos;
        if (f == 10) end = frame_state.stroke_pos;
      });
  ASSERT_EQ(err, "");
  EXPECT_NEAR(std::fabs(angle), 90, 0.5);
  const vec2d d = end.subv(start);
  EXPECT_NEAR(std::fabs(d.y), 60, 0.5) << d.x << ", " << d.y;
  EXPECT_NEAR(d.x, 0, 0.5);

  ASSERT_EQ(r.run("key press Home\nframe\n"), "");
  EXPECT_EQ(view.angle, 0);
}

// A mouse stroke presses harder the faster it moves, decays by 5 % a frame
// while it moves more than a pixel, holds while standing still and drops to
// 0 on release.
TEST(FrameTest, MouseStrokePressureFades) {
  ScriptRun r;
  std::vector<float> p;
  const std::string err = r.run("mouse 10 45\nframe\ndown left\nframe\n" + moves(10, 70, 45, 3) +
                                    moves(70, 90, 45, 10) + "frame 5\nup left\nframe\n",
                                [&](int f) {
                                  if (f > 0) p.push_back(frame_state.stroke_pressure);
                                });
  ASSERT_EQ(err, "");
  ASSERT_EQ(p.size(), 20u);
  EXPECT_EQ(p[0], 0);
  EXPECT_GT(p[3], 0.5f);  // 20 px a frame on a 160 px canvas: quickly pressed
  for (size_t i = 4; i < 14; ++i) {
    EXPECT_LT(p[i], p[i - 1]) << "frame " << i;
    EXPECT_NEAR(p[i], p[i - 1] * 0.95f + (2.0f / 160) / 0.5f, 1e-4) << "frame " << i;
  }
  for (size_t i = 14; i < 19; ++i) EXPECT_EQ(p[i], p[13]) << "frame " << i;
  EXPECT_EQ(p[19], 0);
}

// The wheel zooms about the pointer down to 0.25 and no further; the canvas
// point under the pointer stays put.
TEST(FrameTest, WheelZoomClampsAndKeepsThePointPut) {
  ScriptRun r;
  std::vector<float> zooms;
  vec2d under_pointer;
  float drift = 0;
  std::string script = "mouse 30 20\nframe\n";
  for (int i = 0; i < 12; ++i) script += "wheel -1\nframe\n";
  for (int i = 0; i < 3; ++i) script += "wheel 2\nframe\n";
  const std::string err = r.run(script, [&](int f) {
    zooms.push_back(view.zoom);
    if (f == 0) under_pointer = frame_state.rotated_pos;
    drift = std::max(drift, under_pointer.subv(frame_state.rotated_pos).length());
  });
  ASSERT_EQ(err, "");
  for (float z : zooms) EXPECT_GE(z, wheel_zoom_min);
  EXPECT_FLOAT_EQ(zooms[12], wheel_zoom_min);
  EXPECT_NEAR(zooms[13], wheel_zoom_min * 1.25f, 1e-5);
  EXPECT_LT(drift, 0.01f);
}

// The Alt+Ctrl drag zooms about the press point within 0.125 .. 40, also
// when the drag goes past the point where the formula would turn negative.
TEST(FrameTest, DragZoomStaysWithinItsLimits) {
  struct Case {
    float to_x, to_y;
    float expect;
  } cases[] = {{80, 45, 1},
               {-2000, 2000, drag_zoom_min},
               {500, -500, drag_zoom_max},
               {230, -55, drag_zoom_max},
               {120, 45, 1.25f}};
  for (const Case& c : cases) {
    ScriptRun r;
    std::vector<float> zooms;
    std::vector<vec2d> corners;
    // The pointer then stands still for a while with the button held: the
    // zoom and the canvas stay where the drag put them.
    const std::string err = r.run("key down Left Ctrl\nkey down Left Alt\nmouse 80 45\ndown left\nframe\nmouse " +
                                      std::to_string(c.to_x) + " " + std::to_string(c.to_y) + "\nframe 12\n",
                                  [&](int f) {
                                    if (f == 0) return;
                                    zooms.push_back(view.zoom);
                                    corners.push_back(view.top_left);
                                  });
    ASSERT_EQ(err, "");
    ASSERT_EQ(zooms.size(), 12u);
    for (size_t i = 0; i < zooms.size(); ++i) {
      EXPECT_NEAR(zooms[i], c.expect, 1e-4) << c.to_x << ", " << c.to_y << " frame " << i;
      EXPECT_LT(corners[i].subv(corners[0]).length(), 1e-3f) << c.to_x << ", " << c.to_y << " frame " << i;
    }
  }
}

// Without a button the smoothing keeps running on the pointer's moves, though
// the smoothed pointer stays on the pointer.
TEST(FrameTest, SmoothingRunsWithNoButtonHeld) {
  ScriptRun r;
  float speed = 0;
  vec2d gap;
  const std::string err = r.run("set \"MOUSE SPEED\" 0.5\nmouse 20 45\nframe\n" + moves(20, 100, 45, 8), [&](int) {
    speed = frame_state.smooth_velocity.length();
    gap = frame_state.smoothed.subv(frame_state.rotated);
  });
  ASSERT_EQ(err, "");
  EXPECT_GT(speed, 1.0f);
  EXPECT_EQ(gap.length(), 0.0f);
}

namespace {

// A window that only remembers whether the system cursor is shown.
class CursorWindow final : public platform::Window {
 public:
  bool cursor_shown = false;
  int cursor_calls = 0;

  bool headless() const override { return true; }
  void set_title(const std::string&) override {}
  void client_size(int* w, int* h) override { *w = *h = 0; }
  void desktop_size(int* w, int* h) override { *w = *h = 0; }
  void place(int, int, int, int) override {}
  void show_cursor(bool show) override {
    cursor_shown = show;
    ++cursor_calls;
  }
  void pump_events() override {}
  void wait_events() override {}
  void wait_frame_tick() override {}
  void bind_screen() override {}
  void present() override {}
  platform::Answer confirm(const std::string&, const std::string&) override { return platform::Answer::cancel; }
};

}  // namespace

// Coming back to the application starts the pointer afresh: no movement from
// where it was left to where it is now. The system cursor shows while another
// application is active and hides again over the window.
TEST(FrameTest, SuspendShowsTheCursorAndResumeResetsThePointer) {
  ScriptRun r;
  CursorWindow w;
  ASSERT_EQ(r.run("mouse 20 45\nframe 2\n"), "");
  handle_event({platform::WindowEventType::suspend}, w);
  EXPECT_TRUE(w.cursor_shown);
  EXPECT_FALSE(app.app_active);
  handle_event({platform::WindowEventType::resume}, w);
  EXPECT_FALSE(w.cursor_shown);
  EXPECT_EQ(w.cursor_calls, 2);
  vec2d moved{1, 1};
  ASSERT_EQ(r.run("mouse 120 60\nframe\n", [&](int) { moved = frame_state.movement; }), "");
  EXPECT_EQ(moved.length(), 0.0f);
  EXPECT_NEAR(frame_state.stroke_pos.x, 120, 1e-3);
}

// Shift smudges, Ctrl erases, Shift+Ctrl swaps paint and average, the right
// button smudges and the pen's eraser end erases; each turns its own mode back
// to paint.
TEST(FrameTest, ModifiersGiveTheToolModes) {
  struct Case {
    const char* input;
    int expect;
  } cases[] = {
      {"", 0},
      {"key down Left Shift\n", 1},
      {"key down Right Ctrl\n", 2},
      {"key down Left Shift\nkey down Left Ctrl\n", 3},
      {"down right\n", 1},
      {"pen 0.5 eraser\n", 2},
      {"key down Left Shift\nkey down Left Alt\n", 0},  // Shift is not alone
  };
  for (const Case& c : cases) {
    ScriptRun r;
    ASSERT_EQ(r.run(std::string("mouse 50 50\n") + c.input + "frame\n"), "");
    EXPECT_EQ(frame_state.tool_mode, c.expect) << c.input;
  }
  // The same rules from the other brush modes.
  const struct {
    unsigned char brush, mods;
    bool right;
    int expect;
  } modes_table[] = {{1, 1, false, 0}, {1, 0, true, 0},  {2, 2, false, 0}, {1, 3, false, 2},
                     {3, 3, false, 0}, {2, 1, false, 1}, {3, 0, false, 3}};
  for (const auto& m : modes_table) {
    FrameState f;
    f.brush_mode = m.brush;
    update_tool_mode(f, m.mods, m.right);
    EXPECT_EQ(f.tool_mode, m.expect) << int(m.brush) << " " << int(m.mods) << " " << m.right;
  }
}

// The same script with the same seed paints the same picture twice.
TEST(FrameTest, ReplayIsRepeatable) {
  const std::string script =
      "seed 7\nset \"FLUIDITY\" 0.4\nmouse 30 30\ndown left\nframe\n" + moves(30, 130, 60, 8) + "up left\nframe 3\n";
  std::vector<std::vector<float>> pictures;
  for (int i = 0; i < 2; ++i) {
    ScriptRun r;
    ASSERT_EQ(r.run(script), "");
    pictures.push_back(read_texture(layers.active->fbo_col(), 160, 90, GL_RGBA, 4));
    const std::vector<float> mat = read_texture(layers.active->fbo_mat(), 160, 90, GL_RED, 1);
    pictures.back().insert(pictures.back().end(), mat.begin(), mat.end());
  }
  EXPECT_EQ(pictures[0], pictures[1]);
  // and the stroke did paint something
  const std::vector<float>& p = pictures[0];
  float most_paint = 0;
  for (size_t i = 160 * 90 * 4; i < p.size(); ++i) most_paint = std::max(most_paint, p[i]);
  EXPECT_GT(most_paint, 0.0f);
}

namespace {

// Coverage (alpha) of text drawn in white into a 160 x 90 target, top row first.
std::vector<float> text_coverage(const std::string& text, float x, float y, float scale) {
  gl_canvas(160, 90);
  if (!app.font.id()) {
    const EmbeddedFile* f = find_embedded("font.png");
    Result<io::Pixmap> image =
        f ? io::TPixmapLoaderPNG::LoadPixmap({f->data, f->size}) : Error{"font.png is not embedded"};
    EXPECT_TRUE(image) << image.error().message;
    if (!image) return {};
    const std::vector<uint8_t> rgba = image->rgba();
    app.font = gpu::Texture::from_pixels(rgba.data(), image->width, image->height, GL_RGBA8, GL_CLAMP_TO_BORDER);
  }
  glClearColor(0, 0, 0, 0);
  gpu::Buffer target = gpu::Buffer::create(160, 90, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  target.bind_target();
  gpu::set_projection(160, 90);
  glUseProgram(0);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, 1);
  draw_text(text, x, y, scale);
  const std::vector<float> rgba = read_texture(target.texture(), 160, 90, GL_RGBA, 4);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  std::vector<float> alpha(160 * 90);
  for (int row = 0; row < 90; ++row)
    for (int col = 0; col < 160; ++col) alpha[size_t(row) * 160 + col] = rgba[(size_t(89 - row) * 160 + col) * 4 + 3];
  return alpha;
}

// Inked pixels inside and outside the box [x0, x1) x [y0, y1).
std::pair<int, int> ink(const std::vector<float>& a, int x0, int y0, int x1, int y1) {
  int in = 0, out = 0;
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 160; ++x)
      if (a[size_t(y) * 160 + x] > 0.02f) (x >= x0 && x < x1 && y >= y0 && y < y1 ? in : out) += 1;
  return {in, out};
}

}  // namespace

// Each glyph is a cell of the font strip drawn 8 x scale wide and twice as
// high; a space draws nothing and a line feed starts the next line below.
TEST(FrameTest, TextDrawsGlyphCells) {
  struct Case {
    const char* text;
    float x, y, scale;
    int box[4];  // where all the ink must be
    int min_ink;
  } cases[] = {
      {"A", 10, 10, 1, {10, 10, 18, 26}, 10},
      {"A", 40, 20, 2, {40, 20, 56, 52}, 40},
      {" ", 10, 10, 1, {0, 0, 0, 0}, 0},
      {" W", 10, 10, 1, {18, 10, 26, 26}, 10},
      {"I\nI", 100, 30, 1, {100, 30, 108, 62}, 10},
  };
  for (const Case& c : cases) {
    const std::vector<float> a = text_coverage(c.text, c.x, c.y, c.scale);
    auto [in, out] = ink(a, c.box[0], c.box[1], c.box[2], c.box[3]);
    EXPECT_EQ(out, 0) << c.text;
    EXPECT_GE(in, c.min_ink) << c.text;
  }
  // The second line's glyph sits 2 x 8 pixels below the first.
  const std::vector<float> two = text_coverage("I\nI", 100, 30, 1);
  EXPECT_GT(ink(two, 100, 30, 108, 46).first, 5);
  EXPECT_GT(ink(two, 100, 46, 108, 62).first, 5);
}

// Space held: dragging right grows the brush and paints nothing, and the
// stroke position stays where the gesture began; Shift+A turns the fixed angle.
TEST(FrameTest, SpaceAndShiftADragsAdjustTheBrush) {
  ScriptRun r;
  float size_before = 0, size_after = 0;
  vec2d held;
  bool painted = false;
  const std::string err = r.run("mouse 40 45\nframe\nkey down Space\nframe\ndown left\nframe\n" +
                                    moves(40, 100, 45, 6) + "up left\nkey up Space\nframe\n",
                                [&](int f) {
                                  if (f == 1) size_before = brush_settings.size;
                                  if (f == 2) held = frame_state.stroke_pos;
                                  if (f >= 2 && f <= 8) {
                                    painted = painted || frame_state.painting;
                                    EXPECT_NEAR(frame_state.stroke_pos.x, held.x, 1e-4) << f;
                                  }
                                  if (f == 8) size_after = brush_settings.size;
                                });
  ASSERT_EQ(err, "");
  EXPECT_FALSE(painted);
  EXPECT_GT(size_after, size_before * 1.5f);
  const std::vector<float> mat = read_texture(layers.active->fbo_mat(), 160, 90, GL_RED, 1);
  EXPECT_EQ(*std::max_element(mat.begin(), mat.end()), 0.0f);

  ScriptRun r2;
  float angle = 0;
  ASSERT_EQ(r2.run("mouse 40 45\nframe\nkey down Left Shift\nkey down A\nframe\ndown left\nframe\n" +
                       moves(40, 80, 45, 4) + "up left\nkey up A\nkey up Left Shift\nframe\n",
                   [&](int) { angle = frame_state.fixed_angle_deg; }),
            "");
  EXPECT_TRUE(frame_state.fixed_angle);
  EXPECT_GT(angle, 180);
}

// Keys of the frame, each checked on what it drives.
TEST(FrameTest, KeysActOnTheirTargets) {
  struct Case {
    const char* script;
    std::function<bool()> holds;
    const char* what;
  } cases[] = {
      {"key press Keypad +\nframe\n", [] { return view.zoom == 2; }, "numpad + doubles the zoom"},
      {"key press Keypad -\nframe\nkey press Keypad -\nframe\n", [] { return view.zoom == 0.25f; },
       "numpad - halves it"},
      {"key press Keypad +\nframe\nkey press Home\nframe\n", [] { return view.zoom == 1 && view.top_left.x == 0; },
       "Home resets and centres"},
      {"key down =\nframe 3\n", [] { return std::fabs(view.spin - 0.3f) < 1e-5f && view.angle > 0; },
       "= spins the view"},
      {"key press W\nframe\n", [] { return brush_settings.pen_size == 0; }, "W: pressure drives size"},
      {"key press E\nframe\n", [] { return brush_settings.pen_opacity == 1; }, "E: pressure drives opacity"},
      {"key press 3\nframe\nkey press 0\nframe\n", [] { return brush_settings.brush_type == 9; }, "0 is type 9"},
      {"key press ]\nframe\nkey press ]\nframe\n", [] { return brush_settings.size > 15 * 1.2f; }, "] grows"},
      {"key press [\nframe\n", [] { return brush_settings.size < 15; }, "[ shrinks"},
      {"key press F6\nframe\nkey press F7\nframe\nkey press F6\nframe\n",
       [] { return gpu::display_settings.mirror_mode == 8; }, "F6, F7, F6 leave the horizontal-axis mirror"},
      {"key down Left Shift\nkey press D\nframe\n", [] { return gpu::display_settings.dither == 0; },
       "Shift+D: dither"},
      {"key press F9\nframe\n", [] { return layers.list.size() == 2 && layers.active_number == 2; }, "F9 adds"},
      {"key press F9\nframe\nkey press F10\nframe\n", [] { return layers.active_number == 1; }, "F10 selects below"},
      {"key press F9\nframe\nkey press F10\nframe\nkey press F11\nframe\n", [] { return layers.active_number == 2; },
       "F11 selects above"},
      {"key press F12\nframe\n", [] { return layers.active->hidden == 1; }, "F12 hides"},
      {"key down Left Shift\nkey press Right\nframe\n", [] { return gpu::display_settings.light_pos[0] > 0.5f; },
       "Shift+Right moves the light"},
      {"key down Left Ctrl\nkey press Up\nframe\n", [] { return layers.active->glossiness > 0.5f; },
       "Ctrl+Up: glossier"},
      {"color 0.9 0.8 0.7\nframe\nkey press X\nframe\n", [] { return color_settings.current[0] == 0.25f; },
       "X swaps the colours"},
  };
  for (const Case& c : cases) {
    ScriptRun r;
    ASSERT_EQ(r.run(std::string("mouse 80 45\nframe\n") + c.script), "") << c.what;
    EXPECT_TRUE(c.holds()) << c.what;
  }
}

// Delete clears the active layer and keeps the paint in its undo copy, so
// left Ctrl+Z shows it again.
TEST(FrameTest, DeleteClearsAndCtrlZShowsWhatWasThere) {
  ScriptRun r;
  ASSERT_EQ(r.run("mouse 30 40\nframe\ndown left\nframe\n" + moves(30, 120, 45, 6) + "up left\nframe\n"), "");
  auto most_paint = [](GLuint tex) {
    const std::vector<float> m = read_texture(tex, 160, 90, GL_RED, 1);
    return *std::max_element(m.begin(), m.end());
  };
  ASSERT_GT(most_paint(layers.active->fbo_mat()), 0);
  ASSERT_EQ(r.run("key press Delete\nframe\n"), "");
  EXPECT_EQ(most_paint(layers.active->fbo_mat()), 0);
  EXPECT_GT(most_paint(layers.active->undo_mat()), 0);
  ASSERT_EQ(r.run("key down Left Ctrl\nkey press Z\nframe\n"), "");
  EXPECT_TRUE(layers.active->showing_undo());
}

// Alt+click picks the displayed colour under the pointer: blue from a blue
// stroke, a grey from the bare canvas.
TEST(FrameTest, AltClickPicksTheDisplayedColour) {
  ScriptRun r;
  ASSERT_EQ(r.run("set \"BRUSH:SIZE\" 20\ncolor 0.05 0.1 0.9\nmouse 20 20\nframe\ndown left\nframe\n" +
                  moves(20, 140, 20, 12) +
                  "up left\nframe\n"
                  "key down Left Alt\nmouse 80 20\nframe\ndown left\nframe\nup left\nframe\n"),
            "");
  const float* blue = color_settings.current;
  EXPECT_GT(blue[2], blue[0] + 0.2f) << blue[0] << " " << blue[1] << " " << blue[2];
  ASSERT_EQ(r.run("key down Left Alt\nmouse 80 69\nframe\ndown left\nframe\nup left\nframe\n"), "");
  const float* grey = color_settings.current;
  EXPECT_NEAR(grey[0], grey[2], 0.15f) << grey[0] << " " << grey[1] << " " << grey[2];
  EXPECT_GT(grey[0], 0.3f);
}

// With a live pen the stroke pressure glides to the pen's pressure, passing
// it by a few percent at most; "PEN:SIZE [w]" makes the radius grow with pressure up to
// "BRUSH:SIZE", and "PEN:OPACITY [e]" fades strokes pressed lightly.
TEST(FrameTest, PenPressureDrivesSizeAndOpacity) {
  struct Case {
    float pen;
    float radius_min, radius_max;
    float opacity;
  } cases[] = {{1.0f, 29.5f, 30.0f, 1.0f}, {0.5f, 1.5f, 3.5f, 0.375f}, {0.1f, 1.0f, 1.01f, 0.0f}};
  float last_radius = 1e9f;
  for (const Case& c : cases) {
    ScriptRun r;
    std::vector<float> p;
    ASSERT_EQ(r.run("set \"BRUSH:SIZE\" 30\nset \"PEN:OPACITY [e]\" 1\nmouse 40 40\nframe\npen " +
                        std::to_string(c.pen) + "\ndown left\nframe 40\nup left\npen off\nframe\n",
                    [&](int f) {
                      if (f >= 1 && f <= 40) p.push_back(frame_state.stroke_pressure);
                      if (f == 40) {
                        EXPECT_GE(frame_state.radius, c.radius_min) << c.pen;
                        EXPECT_LE(frame_state.radius, c.radius_max) << c.pen;
                        EXPECT_NEAR(frame_state.opacity_factor, c.opacity, 0.01f) << c.pen;
                        last_radius = std::min(last_radius, frame_state.radius);
                      }
                    }),
              "");
    ASSERT_EQ(p.size(), 40u);
    for (size_t i = 1; i < p.size(); ++i) {
      EXPECT_LE(p[i], std::min(1.0f, c.pen * 1.06f)) << c.pen << " frame " << i;  // a slight overshoot at most
      EXPECT_GT(p[i], 0) << c.pen << " frame " << i;
    }
    EXPECT_NEAR(p.back(), c.pen, 0.01f);
    EXPECT_EQ(frame_state.stroke_pressure, 0) << "released";
  }
}
