#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/brush_image_frame.h"
#include "app/view.h"
#include "brush/brush_settings.h"
#include "brush/stroke.h"
#include "document/brush_images.h"
#include "document/document_state.h"
#include "gpu/canvas_buffers.h"
#include "gpu/display_settings.h"
#include "layers/layer.h"
#include "tests/gl_fixture.h"
#include "tests/script_run.h"
#include "tests/stroke_helpers.h"
#include "ui/brush_image_panel.h"

namespace {

using document::brush_images;

constexpr int W = 160, H = 90;

vec2d v(float x, float y) {
  return vec2d::Create(x, y);
}

// Clears the canvas rectangle [x0, x1) x [y0, y1) (y down) of a layer buffer.
void fill(const gpu::Buffer& b, int x0, int y0, int x1, int y1, float r, float g, float bl, float a) {
  b.bind_target();
  glEnable(GL_SCISSOR_TEST);
  glScissor(x0, H - y1, x1 - x0, y1 - y0);
  glClearColor(r, g, bl, a);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0, 0, 0, 0);
  glDisable(GL_SCISSOR_TEST);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// An image of w x h whose paint amount is `amount(x, y)` (x from the left,
// y from the top) and whose colour is white.
int add_image(int w, int h, float (*amount)(int x, int y)) {
  std::vector<float> col(std::size_t(w) * h * 4, 1.0f), mat(std::size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) mat[std::size_t(h - 1 - y) * w + x] = amount(x, y);
  return document::add_brush_image("test", document::image_col_buffer(w, h, col.data()),
                                   document::image_mat_buffer(w, h, mat.data()), w, h,
                                   document::default_capture_quad(W, H), 0);
}

class BrushImageTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    document::reset_settings();
    document::reset_brush_images();
    stroke = StrokeState{};
    // No grain, so that the deposit is the image's alone.
    gpu::canvas_settings.show = 0;
  }
  void TearDown() override { document::reset_brush_images(); }
};

}  // namespace

// Red left, blue right, thin paint above and thick below on the canvas: the
// captured image shows them where the quad's corners put them, so a flip or a
// quarter turn of the rectification shows.
TEST_F(BrushImageTest, CaptureRectifiesTheQuadWithoutFlipOrTurn) {
  layer& l = *layers.active;
  fill(l.col, 0, 0, W / 2, H, 1, 0, 0, 1);
  fill(l.col, W / 2, 0, W, H, 0, 0, 1, 1);
  fill(l.mat, 0, 0, W, H / 2, 1, 0, 0, 1);
  fill(l.mat, 0, H / 2, W, H, 3, 0, 0, 1);
  struct Case {
    const char* name;
    std::array<vec2d, 4> quad;  // A, B, C, D
    int w, h;
    // Expected red at the image's left, right, top and bottom (1 red, 0 blue,
    // -1 either), and paint amount at the same four places (0: either).
    int red[4];
    float amount[4];
  };
  const Case cases[] = {
      {"upright", {v(40, 70), v(40, 20), v(120, 20), v(120, 70)}, 80, 50, {1, 0, -1, -1}, {0, 0, 1, 3}},
      // A-B along the canvas's top edge: the picture is the canvas turned a
      // quarter anticlockwise.
      {"turned", {v(40, 20), v(120, 20), v(120, 70), v(40, 70)}, 50, 80, {-1, -1, 0, 1}, {1, 3, 0, 0}},
      // A and D swapped with B and C: upside down.
      {"flipped", {v(40, 20), v(40, 70), v(120, 70), v(120, 20)}, 80, 50, {1, 0, -1, -1}, {0, 0, 3, 1}},
  };
  for (const Case& c : cases) {
    const Result<int> i = document::capture_brush_image(c.quad, false);
    ASSERT_TRUE(i) << c.name << ": " << i.error().message;
    const document::BrushImage& image = *brush_images.list[std::size_t(*i)];
    EXPECT_EQ(image.name, "snap");
    ASSERT_EQ(image.width, c.w) << c.name;
    ASSERT_EQ(image.height, c.h) << c.name;
    const std::vector<float> col = document::read_image_col(image);
    const std::vector<float> mat = document::read_image_mat(image);
    // Picture (x, y from the top) to texel.
    const auto at = [&](int x, int y) { return std::size_t(c.h - 1 - y) * std::size_t(c.w) + std::size_t(x); };
    const int places[4][2] = {{3, c.h / 2}, {c.w - 4, c.h / 2}, {c.w / 2, 3}, {c.w / 2, c.h - 4}};
    for (int p = 0; p < 4; ++p) {
      const std::size_t t = at(places[p][0], places[p][1]);
      if (c.red[p] >= 0) {
        EXPECT_NEAR(col[t * 4], float(c.red[p]), 0.02f) << c.name << " place " << p;
        EXPECT_NEAR(col[t * 4 + 2], float(1 - c.red[p]), 0.02f) << c.name << " place " << p;
      }
      if (c.amount[p] > 0) {
        EXPECT_NEAR(mat[t], c.amount[p], 0.02f) << c.name << " place " << p;
      }
    }
  }
  EXPECT_EQ(brush_images.list.size(), 3u);
}

TEST_F(BrushImageTest, CaptureSizeFollowsTheQuadAndRefusesCollapsedOnes) {
  struct Case {
    std::array<vec2d, 4> quad;
    bool ok;
    int w, h;
  };
  const float inf = std::numeric_limits<float>::infinity();
  const Case cases[] = {
      {{v(0, 10), v(0, 0), v(20, 0), v(20, 10)}, true, 20, 10},
      {{v(5, 5), v(5, 5), v(5, 5), v(5, 5)}, false, 0, 0},                   // collapsed to a point
      {{v(0, 0), v(10, 0), v(20, 0), v(30, 0)}, false, 0, 0},                // on one line
      {{v(0, 10), v(0, 0), v(20, 10), v(20, 0)}, false, 0, 0},               // crossed: no area
      {{v(0, 0.5f), v(0, 0), v(400, 0), v(400, 0.5f)}, true, 400, 1},        // thinner than a pixel
      {{v(0, 9000), v(0, 0), v(9000, 0), v(9000, 9000)}, true, 2048, 2048},  // past the limit
      {{v(0, inf), v(0, 0), v(20, 0), v(20, 10)}, false, 0, 0},              // not finite
  };
  for (const Case& c : cases) {
    const auto r = document::capture_size(c.quad);
    ASSERT_EQ(bool(r), c.ok) << c.quad[0].x << "," << c.quad[0].y;
    if (c.ok) {
      EXPECT_EQ((*r)[0], c.w) << c.quad[2].x;
      EXPECT_EQ((*r)[1], c.h) << c.quad[2].x;
    }
  }
  EXPECT_FALSE(document::capture_brush_image(cases[1].quad, false));
  EXPECT_TRUE(brush_images.list.empty());
}

// With "use" on, a standing dab lays the image's paint pattern: paint on the
// image's left half only; with "use" off, the plain dab paints both halves.
// The bristle brush through an image without paint lays nothing.
TEST_F(BrushImageTest, StrokeWithUseLaysTheImagesPaintPattern) {
  struct Case {
    int key;  // brush type key
    float (*amount)(int, int);
    bool use;
    bool left, right;  // paint expected left and right of the brush centre
  };
  const auto left_half = [](int x, int) { return x < 8 ? 1.0f : 0.0f; };
  const auto none = [](int, int) { return 0.0f; };
  const Case cases[] = {
      {1, left_half, true, true, false},
      {1, left_half, false, true, true},
      {9, none, true, false, false},
      {9, none, false, true, true},
  };
  for (const Case& c : cases) {
    gl_canvas(W, H);
    document::reset_brush_images();
    stroke = StrokeState{};
    select_brush_type_by_key(c.key);
    add_image(16, 16, c.amount);
    brush_images.options.use = c.use ? 1 : 0;
    Drag d{80, 45, 80, 45, 3};
    d.size = 40;
    d.brush_images = true;
    drag(d);
    const LayerPixels p = read_layer();
    float left = 0, right = 0;
    for (int y = 35; y <= 55; ++y) {
      for (int x = 64; x <= 74; ++x) left = std::max(left, p.amount(x, y));
      for (int x = 86; x <= 96; ++x) right = std::max(right, p.amount(x, y));
    }
    const std::string what = "key " + std::to_string(c.key) + (c.use ? " use" : " plain");
    EXPECT_EQ(left > 0.05f, c.left) << what << " left " << left;
    EXPECT_EQ(right > 0.05f, c.right) << what << " right " << right;
  }
}

// The default bristle brush and the bristle brush through a brush image
// (white, paint 1 everywhere) catch the canvas grain alike: a stroke across
// a ridged canvas lays less than across a smooth one, by as much either way. The ridges are a triangle wave across the
// stroke, so the rising and falling slopes the two programs look at are alike.
TEST_F(BrushImageTest, GrainCatchesAlikeWithAndWithoutAnImage) {
  const auto mean_amount = [](bool image, bool ridged) {
    gl_canvas(W, H);
    document::reset_brush_images();
    stroke = StrokeState{};
    brush_settings.bristles = 0.2f;
    std::vector<float> height(std::size_t(W) * H, 0.0f);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) height[std::size_t(y) * W + x] = ridged ? 0.02f * float(std::abs(x % 8 - 4)) : 0;
    glBindTexture(GL_TEXTURE_2D, gpu::canvas_buffers.canvas_height.texture());
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, W, H, GL_RED, GL_FLOAT, height.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    add_image(16, 16, [](int, int) { return 1.0f; });
    brush_images.options.use = image ? 1 : 0;
    Drag d{20, 45, 140, 45, 16};
    d.pressure = 0.3f;
    d.grain = true;
    d.brush_images = true;
    drag(d);
    const LayerPixels p = read_layer();
    double sum = 0;
    for (int y = 40; y <= 50; ++y)
      for (int x = 48; x < 112; ++x) sum += p.amount(x, y);
    return sum / (11.0 * 64.0);
  };
  const double smooth = mean_amount(false, false);
  ASSERT_GT(smooth, 0.05);
  // What the ridges keep off the canvas, without and with the image.
  const double plain = smooth - mean_amount(false, true), through_image = smooth - mean_amount(true, true);
  EXPECT_GT(through_image, 0.1 * smooth) << "the grain catches the brush";
  EXPECT_NEAR(plain, through_image, 0.25 * through_image) << "smooth canvas " << smooth;
}

// Stroke after stroke the image choice follows the mode; random never takes
// the same image twice running with three or more, and an image removed
// between strokes is never chosen again.
TEST_F(BrushImageTest, StrokesChooseAmongTheImagesInTheList) {
  select_brush_type_by_key(1);
  for (int i = 0; i < 4; ++i) add_image(4, 4, [](int, int) { return 1.0f; });
  brush_images.options.use = 1;
  const GLuint removed = brush_images.list[1]->mat.texture();
  const auto run_strokes = [&](int mode, int strokes, std::vector<GLuint>* chosen) {
    brush_settings.image_mode = mode;
    for (int s = 0; s < strokes; ++s) {
      Drag d{20, 45, 30, 45, 1};
      d.size = 6;
      d.brush_images = true;
      drag(d);
      ASSERT_GE(brush_images.current, 0);
      chosen->push_back(brush_images.list[std::size_t(brush_images.current)]->mat.texture());
    }
  };
  std::vector<GLuint> random;
  run_strokes(2, 40, &random);
  for (std::size_t i = 1; i < random.size(); ++i) EXPECT_NE(random[i], random[i - 1]) << "stroke " << i;
  EXPECT_GE(std::set<GLuint>(random.begin(), random.end()).size(), 3u);

  document::remove_brush_image(1);
  ASSERT_EQ(brush_images.list.size(), 3u);
  for (int mode : {0, 1, 2, 3}) {
    std::vector<GLuint> chosen;
    run_strokes(mode, 12, &chosen);
    for (GLuint t : chosen) EXPECT_NE(t, removed) << "mode " << mode;
    if (mode == 0) {
      EXPECT_EQ(std::set<GLuint>(chosen.begin(), chosen.end()).size(), 3u);
    }
  }
  document::clear_brush_images();
  brush_settings.image_mode = 2;
  Drag d{20, 45, 30, 45, 1};
  d.brush_images = true;
  drag(d);
  EXPECT_EQ(stroke.image, -1);
  EXPECT_EQ(brush_images.current, -1);
}

// The strip has one entry per image, "img N" at 80 N, showing that image's
// thumbnail; after a removal no entry shows a texture that is gone.
TEST_F(BrushImageTest, StripFollowsTheImageList) {
  ui::GuiContext g;
  const ui::GuiImages images = ui::make_gui_images();
  ui::build_brush_image_panels(g, images);
  ui::update_brush_image_panels(g, true, 1280);
  EXPECT_TRUE(ui::strip_entries(g).empty());
  const auto square = [](int, int) { return 1.0f; };
  for (int i = 0; i < 3; ++i) add_image(8, 8, square);
  ui::update_brush_image_panels(g, true, 1280);
  std::vector<ui::StripEntry> e = ui::strip_entries(g);
  ASSERT_EQ(e.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(e[std::size_t(i)].name, "img " + std::to_string(i));
    EXPECT_EQ(e[std::size_t(i)].x, 80.0f * float(i));
    EXPECT_EQ(e[std::size_t(i)].thumbnail, brush_images.list[std::size_t(i)]->thumbnail.texture());
  }
  brush_images.current = 2;
  document::remove_brush_image(0);
  EXPECT_EQ(brush_images.current, 1) << "the current image stays the same picture";
  // As before drawing, after a file replaced the images.
  ui::refresh_brush_image_panels(g);
  e = ui::strip_entries(g);
  ASSERT_EQ(e.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(e[i].thumbnail, brush_images.list[i]->thumbnail.texture());
  document::clear_brush_images();
  ui::update_brush_image_panels(g, true, 1280);
  EXPECT_TRUE(ui::strip_entries(g).empty());
  ui::release_brush_image_panels();
}

// The panel's controls through the pointer pass: each option flips, ">>"
// steps the choice mode round, a strip entry becomes the current image, "i"
// starts a capture and then takes it, and Ctrl+click on an entry places its
// image into the quad for "i" to lay.
TEST_F(BrushImageTest, PanelControlsReachTheBrushImages) {
  platform::QueuedDialogs dialogs;
  ui::GuiContext g;
  const ui::GuiImages images = ui::make_gui_images();
  ui::build_brush_image_panels(g, images);
  for (int i = 0; i < 2; ++i) add_image(8, 8, [](int, int) { return 1.0f; });
  ui::update_brush_image_panels(g, true, 1280);
  // The panel stands at the bottom left, above the status line.
  const float top = 720 - 24 - 120;
  const auto click = [&](float x, float y) {
    for (const bool left : {false, true, false}) {
      ui::PointerInput in;
      in.pos = v(x, y);
      in.left = left;
      in.screen_w = 1280;
      in.screen_h = 720;
      ui::pointer_pass(g, in);
      serve_brush_image_requests(dialogs);
    }
  };
  const document::BrushImageOptions& o = brush_images.options;
  click(28, top + 81);  // "use"
  EXPECT_EQ(o.use, 1);
  click(17, top + 110);  // "col"
  EXPECT_EQ(o.colour, 0);
  click(67, top + 81);  // "p"
  EXPECT_EQ(o.perspective, 1);
  click(84, top + 110);  // the unnamed switch
  EXPECT_EQ(o.grain, 1);
  click(28, top + 81);
  EXPECT_EQ(o.use, 0);
  EXPECT_EQ(brush_settings.image_mode, 3);
  for (const int mode : {0, 1, 2, 3}) {
    click(50, top + 110);  // ">>"
    EXPECT_EQ(brush_settings.image_mode, mode);
  }
  EXPECT_EQ(brush_images.current, 0);
  click(100 + 80 + 40, top + 80);  // the second entry of the strip
  EXPECT_EQ(brush_images.current, 1);
  modes.capture_mode = 0;
  click(88, top + 81);  // "i"
  EXPECT_EQ(modes.capture_mode, 2);
  capture_step();
  EXPECT_EQ(modes.capture_mode, 1);
  click(88, top + 81);
  capture_step();
  EXPECT_EQ(modes.capture_mode, 0);
  EXPECT_EQ(brush_images.list.size(), 3u);

  // Ctrl+click on an entry while the quad is shown places that image into
  // it, and "i" lays it there.
  EXPECT_EQ(read_layer().amount(80, 45), 0.0f);
  modes.capture_mode = 1;
  app.modifier_keys = 2;
  click(100 + 40, top + 80);
  app.modifier_keys = 0;
  capture_step();
  EXPECT_EQ(brush_images.current, 0);
  EXPECT_EQ(modes.capture_mode, 1) << "placed, not laid yet";
  EXPECT_TRUE(placement_preview());
  EXPECT_EQ(read_layer().amount(80, 45), 0.0f);
  click(88, top + 81);
  capture_step();
  EXPECT_EQ(modes.capture_mode, 0);
  EXPECT_EQ(brush_images.list.size(), 3u) << "no snap";
  EXPECT_NEAR(read_layer().amount(80, 45), 1.0f, 0.01f);

  // Shift+click removes the image once the user agrees, and the strip follows.
  const GLuint second = brush_images.list[1]->thumbnail.texture();
  app.modifier_keys = 1;
  dialogs.queue_answer(platform::Answer::cancel);
  click(100 + 80 + 40, top + 80);
  EXPECT_EQ(brush_images.list.size(), 3u);
  dialogs.queue_answer(platform::Answer::ok);
  click(100 + 80 + 40, top + 80);
  app.modifier_keys = 0;
  ASSERT_EQ(brush_images.list.size(), 2u);
  ui::refresh_brush_image_panels(g);
  for (const ui::StripEntry& e : ui::strip_entries(g)) EXPECT_NE(e.thumbnail, second);
  ui::release_brush_image_panels();
}

// While a capture is in progress a press on a corner drags it (and keeps the
// stroke off the canvas); a press elsewhere, or a stroke passing over a
// corner, leaves the quad alone. The corners are drawn where they are.
TEST_F(BrushImageTest, CaptureCornersAreDraggedAndDrawn) {
  const ViewState saved = view;
  view = ViewState{};
  view.top_left = v(0, 0);
  view.bottom_right = v(W, H);
  set_capture_quad({v(40, 70), v(40, 20), v(120, 20), v(120, 70)});
  modes.capture_mode = 0;
  EXPECT_FALSE(drag_capture_handles(v(40, 20), true, true)) << "no capture in progress";
  modes.capture_mode = 1;
  EXPECT_FALSE(drag_capture_handles(v(80, 45), true, true)) << "a press away from the corners";
  EXPECT_FALSE(drag_capture_handles(v(40, 20), true, false)) << "a stroke passing over a corner";
  (void)drag_capture_handles(v(40, 20), false, false);
  EXPECT_TRUE(drag_capture_handles(v(42, 22), true, true));
  EXPECT_TRUE(drag_capture_handles(v(32, 12), true, false));
  EXPECT_FALSE(drag_capture_handles(v(32, 12), false, false));
  const std::array<vec2d, 4> q = capture_quad();
  EXPECT_FLOAT_EQ(q[1].x, 30);
  EXPECT_FLOAT_EQ(q[1].y, 10);
  EXPECT_FLOAT_EQ(q[0].x, 40);

  gpu::Buffer screen = gpu::Buffer::create(W, H, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  const auto draw = [&] {
    screen.bind_target();
    glClear(GL_COLOR_BUFFER_BIT);
    draw_capture_quad(W, H);
    glFinish();
    const std::vector<float> px = read_texture(screen.texture(), W, H, GL_RGBA, 4);
    return [px](int x, int y) { return px[(std::size_t(H - 1 - y) * W + std::size_t(x)) * 4]; };
  };
  const auto shown = draw();
  EXPECT_GT(shown(30, 10), 0.3f) << "the dragged corner";
  EXPECT_GT(shown(120, 70), 0.3f) << "a corner";
  // Its marker is a disc of radius 12 around it.
  for (const auto& [x, y] : {std::pair{130, 70}, std::pair{127, 77}, std::pair{120, 80}, std::pair{124, 74}})
    EXPECT_NEAR(shown(x, y), 0.5f, 0.05f) << "within 12 of the corner at " << x << ", " << y;
  for (const auto& [x, y] : {std::pair{133, 70}, std::pair{129, 79}, std::pair{120, 83}})
    EXPECT_EQ(shown(x, y), 0.0f) << "beyond 12 of the corner at " << x << ", " << y;
  EXPECT_GT(std::max(shown(80, 69), shown(80, 70)), 0.3f) << "the edge from D to A";
  EXPECT_EQ(shown(80, 45), 0.0f) << "inside the quad";
  modes.capture_mode = 0;
  EXPECT_EQ(draw()(30, 10), 0.0f) << "no capture in progress";
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  view = saved;
}

// An image laid back into the quad it was taken from comes out where it was;
// into the quad mirrored it comes out mirrored. Paint outside the quad stays.
TEST_F(BrushImageTest, ImageLaidIntoTheQuadKeepsItsOrientation) {
  layer& l = *layers.active;
  fill(l.col, 0, 0, W / 2, H, 1, 0, 0, 1);
  fill(l.col, W / 2, 0, W, H, 0, 0, 1, 1);
  fill(l.mat, 0, 0, W, H, 2, 0, 0, 1);
  const std::array<vec2d, 4> upright = {v(40, 70), v(40, 20), v(120, 20), v(120, 70)};
  ASSERT_TRUE(document::capture_brush_image(upright, false));
  struct Case {
    const char* name;
    std::array<vec2d, 4> quad;
    float red_left;
  };
  const Case cases[] = {
      {"same quad", upright, 1},
      {"mirrored", {v(120, 70), v(120, 20), v(40, 20), v(40, 70)}, 0},
  };
  for (const Case& c : cases) {
    fill(l.col, 0, 0, W, H, 0, 1, 0, 1);
    fill(l.mat, 0, 0, W, H, 0, 0, 0, 1);
    ASSERT_TRUE(document::apply_brush_image(0, c.quad)) << c.name;
    const LayerPixels p = read_layer();
    EXPECT_NEAR(p.colour(50, 45)[0], c.red_left, 0.02f) << c.name;
    EXPECT_NEAR(p.colour(110, 45)[0], 1 - c.red_left, 0.02f) << c.name;
    EXPECT_NEAR(p.amount(80, 45), 2, 0.02f) << c.name;
    EXPECT_EQ(p.colour(10, 45)[1], 1.0f) << c.name << ": outside the quad";
    EXPECT_EQ(p.amount(150, 80), 0.0f) << c.name << ": outside the quad";
    EXPECT_EQ(read_layer(true).colour(50, 45)[1], 1.0f) << c.name << ": the undo copy keeps the paint before";
  }
  EXPECT_FALSE(document::apply_brush_image(1, upright)) << "no such image";
  EXPECT_FALSE(document::apply_brush_image(0, {v(5, 5), v(5, 5), v(5, 5), v(5, 5)}));
}

// With "col" on the image's own colour lands (red from a red image under a
// blue paint colour), with the canvas grain shown or not, from the bristle
// brush and from a dab; with "col" off the paint colour lands through the
// image's paint amount.
TEST_F(BrushImageTest, ImageColourLandsWhenColIsOn) {
  struct Case {
    int key;
    bool grain, colour;
  };
  const Case cases[] = {{9, false, true},  {9, true, true},  {1, false, true}, {1, true, true},
                        {9, false, false}, {9, true, false}, {1, false, false}};
  for (const Case& c : cases) {
    gl_canvas(W, H);
    document::reset_brush_images();
    stroke = StrokeState{};
    select_brush_type_by_key(c.key);
    std::vector<float> col(16 * 16 * 4), mat(16 * 16, 1.0f);
    for (std::size_t i = 0; i < col.size(); i += 4) col[i] = col[i + 3] = 1;  // red
    document::add_brush_image("red", document::image_col_buffer(16, 16, col.data()),
                              document::image_mat_buffer(16, 16, mat.data()), 16, 16,
                              document::default_capture_quad(W, H), 0);
    brush_images.options.use = 1;
    brush_images.options.colour = c.colour ? 1 : 0;
    Drag d{80, 45, 80, 45, 3};
    d.size = 30;
    d.brush_images = true;
    d.grain = c.grain;
    drag(d);
    const LayerPixels p = read_layer();
    float red = 0, blue = 0;
    for (int y = 40; y <= 50; ++y)
      for (int x = 75; x <= 85; ++x)
        if (p.amount(x, y) > 0.05f) {
          red = std::max(red, p.colour(x, y)[0] - p.colour(x, y)[2]);
          blue = std::max(blue, p.colour(x, y)[2] - p.colour(x, y)[0]);
        }
    const std::string what = "key " + std::to_string(c.key) + (c.grain ? " grain" : "") + (c.colour ? " col" : "");
    if (c.colour) {
      EXPECT_GT(red, 0.3f) << what;
      EXPECT_LT(blue, 0.05f) << what;
    } else {
      EXPECT_GT(blue, 0.3f) << what;
    }
  }
}

namespace {

std::vector<float> paint_picture() {
  glFinish();
  return read_texture(gpu::canvas_buffers.paint_image.texture(), W, H, GL_RGBA, 4);
}

// The largest difference of any channel between two pictures inside the
// canvas rectangle [x0, x1) x [y0, y1) (y down).
float max_diff(const std::vector<float>& a, const std::vector<float>& b, int x0, int y0, int x1, int y1) {
  float d = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      for (int c = 0; c < 3; ++c) {
        const std::size_t i = (std::size_t(H - 1 - y) * W + std::size_t(x)) * 4 + std::size_t(c);
        d = std::max(d, std::fabs(a[i] - b[i]));
      }
  return d;
}

const std::string shift_i = "key down Left Shift\nkey press I\nframe\nkey up Left Shift\nframe\n";

}  // namespace

// While an image is placed into the capture quad (Shift+I) it shows on the
// active layer inside the quad and follows the quad's corners, and the layer
// keeps its paint; Shift+I again lays it, and the picture is the one the
// placement showed. Leaving the capture (Escape) instead keeps the layer and
// the picture as they were.
TEST(BrushImagePlacement, ShownWhilePlacedThenLaidAsShown) {
  for (const bool lay : {true, false}) {
    ScriptRun r(W, H);
    document::reset_brush_images();
    add_image(16, 16, [](int, int) { return 1.5f; });
    ASSERT_EQ(r.run("mouse 80 85\nframe\nkey press I\nframe\n"), "");
    ASSERT_EQ(modes.capture_mode, 1);
    set_capture_quad({v(20, 70), v(20, 20), v(70, 20), v(70, 70)});
    ASSERT_EQ(r.run("frame\n"), "");
    const std::vector<float> bare = paint_picture();

    ASSERT_EQ(r.run(shift_i), "");
    const std::vector<float> placed = paint_picture();
    EXPECT_GT(max_diff(placed, bare, 40, 40, 50, 50), 0.05f) << "the image shows in the quad";
    EXPECT_LT(max_diff(placed, bare, 100, 0, W, H), 1e-4f) << "and nowhere else";
    EXPECT_EQ(read_layer().amount(45, 45), 0.0f) << "not laid yet";

    set_capture_quad({v(90, 70), v(90, 20), v(140, 20), v(140, 70)});
    ASSERT_EQ(r.run("frame\n"), "");
    const std::vector<float> moved = paint_picture();
    EXPECT_LT(max_diff(moved, bare, 0, 0, 80, H), 1e-4f) << "gone from where the quad was";
    EXPECT_GT(max_diff(moved, bare, 110, 40, 120, 50), 0.05f) << "shown where it is";
    ASSERT_EQ(modes.capture_mode, 1);

    if (lay) {
      ASSERT_EQ(r.run(shift_i), "");
      EXPECT_EQ(modes.capture_mode, 0);
      EXPECT_NEAR(read_layer().amount(115, 45), 1.5f, 0.01f);
      EXPECT_EQ(read_layer().amount(45, 45), 0.0f);
      EXPECT_LT(max_diff(paint_picture(), moved, 0, 0, W, H), 0.01f) << "laid as it was shown";
    } else {
      modes.capture_mode = 0;  // what Escape does
      ASSERT_EQ(r.run("frame\n"), "");
      const LayerPixels p = read_layer();
      EXPECT_EQ(*std::max_element(p.mat.begin(), p.mat.end()), 0.0f);
      EXPECT_LT(max_diff(paint_picture(), bare, 0, 0, W, H), 1e-4f);
    }
  }
  document::reset_brush_images();
}

// Each button of the "LAYER FX" panel lays a placement shown, as the I key
// does; with the capture quad shown and nothing placed they lay nothing.
TEST(BrushImagePlacement, LayerFxButtonsLayThePlacementShown) {
  // At 480 x 300 the 480 x 280 panel is kept inside the window at (0, 20);
  // its buttons stand on y = 273.
  const auto click = [](int x, int y) {
    const std::string at = "mouse " + std::to_string(x) + " " + std::to_string(y) + "\n";
    return at + "frame\ndown left\nframe\nup left\nframe\n";
  };
  const std::string open_fx = "key down Left Shift\nkey press H\nframe\nkey up Left Shift\nframe\n";
  ScriptRun r(480, 300);
  document::reset_brush_images();
  add_image(16, 16, [](int, int) { return 1.0f; });
  const auto amount_at_centre = [] {
    return read_texture(layers.active->fbo_mat(), 480, 300, GL_RED, 1)[std::size_t(150) * 480 + 240];
  };
  ASSERT_EQ(r.run("mouse 470 5\nframe\n" + open_fx), "");
  for (const int button_x : {308, 370, 432}) {
    ASSERT_EQ(r.run("key press Delete\nframe\nkey press I\nframe\n" + click(button_x, 273)), "");
    EXPECT_EQ(modes.capture_mode, 1) << "nothing placed to lay, button at " << button_x;
    EXPECT_EQ(amount_at_centre(), 0.0f);
    ASSERT_EQ(r.run(shift_i), "");
    EXPECT_EQ(modes.capture_mode, 1) << "placed, not laid";
    EXPECT_EQ(amount_at_centre(), 0.0f);
    ASSERT_EQ(r.run(click(button_x, 273)), "");
    EXPECT_EQ(modes.capture_mode, 0) << "button at " << button_x;
    EXPECT_NEAR(amount_at_centre(), 1.0f, 0.01f) << "laid in the quad, button at " << button_x;
  }
  document::reset_brush_images();
}
