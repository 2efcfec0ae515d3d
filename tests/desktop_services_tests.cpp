#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/paste.h"
#include "app/recorder.h"
#include "app/window_modes.h"
#include "document/color_model.h"
#include "document/color_settings.h"
#include "document/parameters.h"
#include "platform/null_input.h"
#include "platform/script_input.h"
#include "tests/script_run.h"
#include "tests/temp_dir.h"

// A paste is recorded as the picture, saved beside the recording, and a
// `clipboard` line naming it; a desktop pick as a `color` line. The script
// reads back and the saved picture holds the clipboard's pixels.
TEST(DesktopServices, RecorderKeepsPastesAndPicks) {
  const std::string path = test_file("desktop_services_rec.txt");
  std::string error;
  Recorder rec(160, 90, 1);
  ASSERT_TRUE(rec.open(path, &error)) << error;
  platform::QueuedDialogs inner;
  platform::ClipboardImage image;
  image.width = 3;
  image.height = 2;
  image.channels = 3;
  image.pixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};
  inner.set_clipboard(image);
  RecordingDialogs dialogs(inner, rec);
  rec.begin_frame(10, 10);
  ASSERT_TRUE(dialogs.clipboard_image());
  rec.colour(0.5f, 0.25f, 1);
  rec.end_frame();
  const std::string text = rec.text();
  EXPECT_NE(text.find("clipboard \"" + path + ".paste1.png\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("color 0.5 0.25 1\n"), std::string::npos) << text;
  EXPECT_TRUE(platform::ScriptInput::parse(text, "recording", nullptr, &error)) << error;
  Result<platform::ClipboardImage> back = clipboard_picture(path + ".paste1.png");
  ASSERT_TRUE(back.ok());
  EXPECT_EQ(back->channels, 3);
  EXPECT_EQ(back->pixels, image.pixels);
  ASSERT_TRUE(rec.finish(&error)) << error;
}

// A desktop pixel becomes the current colour with its saturation; pure
// black, which has no hue, leaves the saturation dial as it was instead of
// dividing by zero.
TEST(DesktopServices, DesktopPickSetsColourAndSaturation) {
  struct Case {
    uint8_t r, g, b;
    float saturation;
  } cases[] = {{255, 0, 0, 1}, {0, 0, 0, 1}, {128, 128, 128, 0}, {255, 255, 0, 1}, {200, 100, 100, 0.70710678f}};
  color_settings.current[3] = 0.5f;
  for (const Case& c : cases) {
    pick_screen_colour(c.r, c.g, c.b);
    EXPECT_EQ(color_settings.current[3], 0.5f) << "the alpha stays";
    EXPECT_NEAR(color_settings.current[0], c.r / 255.0f, 1e-6f);
    EXPECT_NEAR(color_settings.current[2], c.b / 255.0f, 1e-6f);
    EXPECT_NEAR(document::value_of(document::ParamId::color_saturate), c.saturation, 1e-5f) << int(c.r);
  }
}

namespace {

// The desktop as a picker sees it: every pixel is the same colour.
class OneColourDesktop final : public platform::Dialogs {
 public:
  platform::Answer confirm(const std::string&, const std::string&, platform::BoxButtons) override {
    return platform::Answer::cancel;
  }
  std::optional<std::string> open_file(const std::string&, const std::string&) override { return std::nullopt; }
  std::optional<std::string> save_file(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::array<uint8_t, 3>> desktop_colour() override { return std::array<uint8_t, 3>{255, 0, 0}; }
};

}  // namespace

// Only Alt alone picks from the desktop: with Shift or Ctrl as well the keys
// are the view's, and the colour stays.
TEST(DesktopServices, OnlyAltAlonePicksFromTheDesktop) {
  ScriptRun r;
  OneColourDesktop desktop;
  platform::NullInput input;
  KeyContext k{input, desktop, r.window(), 160, 90};
  app.pointer_outside = true;
  for (unsigned char mods : {4, 5, 6, 7, 0}) {
    document::set_color(0, 0.5f, 1);
    app.modifier_keys = mods;
    desktop_pick(k);
    const bool picked = color_settings.current[0] == 1.0f && color_settings.current[2] == 0.0f;
    EXPECT_EQ(picked, mods == 4) << "modifiers " << int(mods);
  }
  app.pointer_outside = false;
  app.modifier_keys = 4;
  desktop_pick(k);
  EXPECT_EQ(color_settings.current[0], 0.0f) << "the pointer over the window picks nothing";
}
