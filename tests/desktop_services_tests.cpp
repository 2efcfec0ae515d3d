#include <gtest/gtest.h>

#include <string>

#include "app/paste.h"
#include "app/recorder.h"
#include "app/window_modes.h"
#include "document/color_settings.h"
#include "document/parameters.h"
#include "platform/script_input.h"
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
