#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "gpu/geometry.h"
#include "io/png16.h"
#include "layers/layer.h"
#include "platform/clipboard.h"
#include "tests/gl_fixture.h"
#include "tests/script_run.h"
#include "tests/temp_dir.h"

namespace {

constexpr int W = 160, H = 90;

// A picture file of w x h whose pixel (x, y, top row first) is `at(x, y)`.
std::string picture(const std::string& name, int w, int h, int channels,
                    const std::function<std::array<float, 4>(int, int)>& at) {
  std::vector<float> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::array<float, 4> c = at(x, y);
      px.insert(px.end(), c.begin(), c.begin() + channels);
    }
  const std::string path = test_file(name);
  EXPECT_TRUE(io::png16_write(path, px, w, h, channels).ok());
  return path;
}

std::vector<float> amount() {
  return read_texture(layers.active->fbo_mat(), gpu::geometry.width, gpu::geometry.height, GL_RED, 1);
}
// Colour of the active layer at (x, y), y counted from the top.
std::array<float, 4> colour_at(int x, int y) {
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  const std::vector<float> c = read_texture(layers.active->fbo_col(), w, h, GL_RGBA, 4);
  const std::size_t i = (std::size_t(h - 1 - y) * w + x) * 4;
  return {c[i], c[i + 1], c[i + 2], c[i + 3]};
}

const std::string ctrl_v = "key down Left Ctrl\nkey press V\nframe\nkey up Left Ctrl\nframe\n";

}  // namespace

// A picture without alpha lays paint everywhere; transparent parts of one
// with alpha lay none.
TEST(Paste, OpaquePicturesPaintFullyAndHolesNot) {
  ScriptRun r(W, H);
  const std::string rgb = picture("paste_rgb.png", 40, 30, 3, [](int, int) {
    return std::array{0.9f, 0.1f, 0.1f, 1.0f};
  });
  ASSERT_EQ(r.run("clipboard " + rgb + "\nanswer no\nmouse 80 45\nframe\n" + ctrl_v), "");
  const std::vector<float> full = amount();
  EXPECT_EQ(*std::min_element(full.begin(), full.end()), 1.0f);

  const std::string holes = picture("paste_holes.png", W, H, 4, [](int x, int) {
    return std::array{0.1f, 0.2f, 0.9f, x < W / 2 ? 0.0f : 1.0f};
  });
  ASSERT_EQ(r.run("clipboard " + holes + "\nanswer no\n" + ctrl_v), "");
  const std::vector<float> m = amount();
  EXPECT_EQ(m[10 * W + 20], 0.0f);
  EXPECT_GT(m[10 * W + 120], 0.5f);
}

// No keeps the canvas and centres the picture, cut where it overflows; Yes
// makes the canvas the picture's size; Cancel changes nothing; Ctrl+Z shows
// the layer as it was.
TEST(Paste, AnswersDecideTheCanvas) {
  // Left half red, right half blue, 200 x 100: centred on 160 x 90 the
  // boundary lands at x = 80 and 20 columns are cut on each side.
  const std::string wide = picture("paste_wide.png", 200, 100, 3, [](int x, int) {
    return x < 100 ? std::array{1.0f, 0.0f, 0.0f, 1.0f} : std::array{0.0f, 0.0f, 1.0f, 1.0f};
  });
  {
    ScriptRun r(W, H);
    ASSERT_EQ(r.run("clipboard " + wide + "\nanswer no\nmouse 80 45\nframe\n" + ctrl_v), "");
    EXPECT_EQ(gpu::geometry.width, W);
    EXPECT_GT(colour_at(79, 45)[0], 0.9f);
    EXPECT_GT(colour_at(80, 45)[2], 0.9f);
    EXPECT_GT(colour_at(0, 0)[0], 0.9f);
    ASSERT_EQ(r.run("key down Left Ctrl\nkey press Z\nframe\n"), "");
    EXPECT_TRUE(layers.active->showing_undo());
    const std::vector<float> before =
        read_texture(layers.active->undo_mat(), gpu::geometry.width, gpu::geometry.height, GL_RED, 1);
    EXPECT_EQ(*std::max_element(before.begin(), before.end()), 0.0f);
  }
  {
    ScriptRun r(W, H);
    ASSERT_EQ(r.run("clipboard " + wide + "\nanswer yes\nmouse 80 45\nframe\n" + ctrl_v), "");
    EXPECT_EQ(gpu::geometry.width, 200);
    EXPECT_EQ(gpu::geometry.height, 100);
  }
  {
    ScriptRun r(W, H);
    ASSERT_EQ(r.run("clipboard " + wide + "\nanswer cancel\nmouse 80 45\nframe\n" + ctrl_v), "");
    EXPECT_EQ(gpu::geometry.width, W);
    const std::vector<float> m = amount();
    EXPECT_EQ(*std::max_element(m.begin(), m.end()), 0.0f);
  }
}

// Yes with a picture no canvas can take changes nothing.
TEST(Paste, YesRefusesSizesTheCanvasCannotTake) {
  ScriptRun r(W, H);
  platform::ClipboardImage huge;
  huge.width = 9000;
  huge.height = 4;
  huge.channels = 3;
  huge.pixels.assign(std::size_t(9000) * 4 * 3, 200);
  r.dialogs.set_clipboard(huge);
  ASSERT_EQ(r.run("answer yes\nmouse 80 45\nframe\n" + ctrl_v), "");
  EXPECT_EQ(gpu::geometry.width, W);
  const std::vector<float> m = amount();
  EXPECT_EQ(*std::max_element(m.begin(), m.end()), 0.0f);
}

// An odd width (rows not a multiple of 4 bytes) pastes unskewed: a
// vertical line stays vertical.
TEST(Paste, OddWidthPastesUnskewed) {
  ScriptRun r(W, H);
  const std::string odd = picture("paste_odd.png", 33, 21, 3, [](int x, int) {
    return x == 10 ? std::array{1.0f, 1.0f, 1.0f, 1.0f} : std::array{0.0f, 0.0f, 0.0f, 1.0f};
  });
  ASSERT_EQ(r.run("clipboard " + odd + "\nanswer no\nmouse 80 45\nframe\n" + ctrl_v), "");
  // Centred: the picture's column 10 is canvas column 63 + 10.
  const int left = (W - 33) / 2, top = (H - 21) / 2;
  for (int y = top; y < top + 21; ++y) {
    EXPECT_GT(colour_at(left + 10, y)[0], 0.9f) << y;
    EXPECT_LT(colour_at(left + 9, y)[0], 0.1f) << y;
    EXPECT_LT(colour_at(left + 11, y)[0], 0.1f) << y;
  }
}

// Rows are packed from whatever stride the clipboard hands over; sizes that
// do not fit together are refused.
TEST(Paste, PackedImageHonoursTheStride) {
  // 3 x 2 RGB in rows of 12 bytes: 9 bytes of pixels and 3 of padding.
  const std::vector<uint8_t> rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  std::optional<platform::ClipboardImage> p = platform::packed_image(rows.data(), rows.size(), 3, 2, 12, 3);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
  struct Bad {
    std::size_t size;
    int w, h, stride, channels;
    const char* why;
  } bad[] = {
      {rows.size() - 1, 3, 2, 12, 3, "buffer shorter than its rows"},
      {rows.size(), 3, 2, 8, 3, "stride shorter than a row"},
      {rows.size(), 3, 2, 12, 2, "two channels"},
      {rows.size(), 0, 2, 12, 3, "no width"},
      {rows.size(), 3, -1, 12, 3, "negative height"},
      {rows.size(), 100000, 1, 300000, 3, "wider than any canvas"},
  };
  for (const Bad& b : bad)
    EXPECT_FALSE(platform::packed_image(rows.data(), b.size, b.w, b.h, b.stride, b.channels)) << b.why;
}

// Yes keeps every layer's picture centred on the new canvas; the paste's
// snapshot covers the stroke that follows, so Ctrl+Z shows the layer before
// the paste; the window keeps the file's name in its title.
TEST(Paste, YesKeepsThePictureCentredAndUndoesToBeforeThePaste) {
  constexpr int w = 64, h = 40;
  ScriptRun r(w, h);
  // A 16 x 10 red block centred on the first layer, by a paste with No.
  const std::string block = picture("paste_block.png", 16, 10, 3, [](int, int) {
    return std::array{1.0f, 0.0f, 0.0f, 1.0f};
  });
  const std::string green = picture("paste_green.png", 32, 20, 3, [](int, int) {
    return std::array{0.0f, 1.0f, 0.0f, 1.0f};
  });
  const std::string olp = test_file("paste_named.olp");
  ASSERT_EQ(r.run("clipboard " + block + "\nanswer no\nmouse 32 20\nframe\n" + ctrl_v + "save " + olp + "\nframe\n"),
            "");
  EXPECT_GT(colour_at(24, 15)[0], 0.9f);
  // The question's text is its caption; unanswered it is cancelled.
  testing::internal::CaptureStderr();
  ASSERT_EQ(r.run(ctrl_v), "");
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("\"Change Resolution...\" Change Resolution...: no answer given"), std::string::npos) << log;
  const std::string title = app.title;
  EXPECT_NE(title.find(olp), std::string::npos) << title;

  // On a second layer, a 32 x 20 picture with Yes: the canvas halves and the
  // block, 16 pixels left and 10 up, is still in its middle.
  ASSERT_EQ(r.run("key press F9\nframe\nclipboard " + green + "\nanswer yes\n" + ctrl_v), "");
  ASSERT_EQ(gpu::geometry.width, 32);
  ASSERT_EQ(gpu::geometry.height, 20);
  EXPECT_EQ(app.title, title);
  layer* second = layers.active;
  layers.active = layers.list[0].get();
  for (auto [x, y] : {std::pair{8, 5}, {23, 5}, {8, 14}, {23, 14}})
    EXPECT_GT(colour_at(x, y)[0], 0.9f) << x << "," << y;
  for (auto [x, y] : {std::pair{7, 5}, {24, 5}, {8, 4}, {8, 15}}) EXPECT_EQ(colour_at(x, y)[3], 0.0f) << x << "," << y;
  layers.active = second;
  EXPECT_GT(colour_at(16, 10)[1], 0.9f);

  // A stroke on the pasted picture, then Ctrl+Z: the layer as it was before
  // the paste, empty.
  ASSERT_EQ(r.run("set \"BRUSH:SIZE\" 4\nmouse 6 10\ndown left\nframe\nmouse 26 10\nframe 2\nup left\nframe\n"
                  "key down Left Ctrl\nkey press Z\nframe\nkey up Left Ctrl\nframe\n"),
            "");
  ASSERT_TRUE(layers.active->showing_undo());
  const std::vector<float> before = read_texture(layers.active->undo_mat(), 32, 20, GL_RED, 1);
  EXPECT_EQ(*std::max_element(before.begin(), before.end()), 0.0f);
}
