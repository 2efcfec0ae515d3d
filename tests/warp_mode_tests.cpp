#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/warp_mode.h"
#include "gpu/canvas_buffers.h"
#include "gpu/simulation.h"
#include "gpu/simulation_settings.h"
#include "layers/layer.h"
#include "platform/headless_window.h"
#include "platform/null_input.h"
#include "tests/gl_fixture.h"
#include "tests/script_run.h"

namespace {

constexpr int W = 160, H = 90;

// The headless window, counting the frames it presents.
class CountingWindow final : public platform::Window {
 public:
  explicit CountingWindow(std::unique_ptr<platform::Window> inner) : inner_(std::move(inner)) {}
  int presented = 0;

  bool headless() const override { return true; }
  void set_title(const std::string& t) override { inner_->set_title(t); }
  void client_size(int* w, int* h) override { inner_->client_size(w, h); }
  void desktop_size(int* w, int* h) override { inner_->desktop_size(w, h); }
  void place(int x, int y, int w, int h) override { inner_->place(x, y, w, h); }
  void show_cursor(bool show) override { inner_->show_cursor(show); }
  void pump_events() override { inner_->pump_events(); }
  void wait_events() override { inner_->wait_events(); }
  void wait_frame_tick() override { inner_->wait_frame_tick(); }
  void bind_screen() override { inner_->bind_screen(); }
  void present() override {
    ++presented;
    inner_->present();
  }
  platform::Answer confirm(const std::string& c, const std::string& t) override { return inner_->confirm(c, t); }

 private:
  std::unique_ptr<platform::Window> inner_;
};

std::vector<float> layer_colour() {
  return read_texture(layers.active->fbo_col(), W, H, GL_RGBA, 4);
}

void upload(GLuint tex, GLenum format, const std::vector<float>& data) {
  glBindTexture(GL_TEXTURE_2D, tex);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, W, H, format, GL_FLOAT, data.data());
  glBindTexture(GL_TEXTURE_2D, 0);
}

// Colour that changes smoothly across the canvas, and a warp map that fetches
// from 8 pixels to the right, as a brush dragging to the left would make.
void striped_layer_and_shifted_map() {
  std::vector<float> col(size_t(W) * H * 4);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      float* c = &col[(size_t(y) * W + size_t(x)) * 4];
      c[0] = 0.5f + 0.4f * std::sin(0.2f * float(x));
      c[3] = 1;
    }
  upload(layers.active->fbo_col(), GL_RGBA, col);
  std::vector<float> map = read_texture(gpu::canvas_buffers.warp_uv.texture(), W, H, GL_RG, 2);
  for (size_t i = 0; i < map.size(); i += 2) map[i] += 8.0f / W;
  upload(gpu::canvas_buffers.warp_uv.texture(), GL_RG, map);
}

float red_at(const std::vector<float>& c, int x, int y) {
  return c[(size_t(y) * W + size_t(x)) * 4];
}

TEST(WarpMode, ToggledTwiceItMapsOnceAndLeavesInTwentyPresentedStrips) {
  gl_canvas(W, H);
  reset_application_state();
  std::string error;
  CountingWindow window(platform::create_headless_window(W, H, &error));
  platform::NullInput input;
  app.screen_w = W;
  app.screen_h = H;

  toggle_warp_mode(window, input);
  EXPECT_TRUE(modes.warp_mode);
  EXPECT_EQ(window.presented, 0);
  std::vector<float> map = read_texture(gpu::canvas_buffers.warp_uv.texture(), W, H, GL_RG, 2);
  EXPECT_NEAR(map[(size_t(30) * W + 100) * 2], 100.5f / W, 1e-4) << "identity";

  striped_layer_and_shifted_map();
  const std::vector<float> before = layer_colour();
  toggle_warp_mode(window, input);
  EXPECT_FALSE(modes.warp_mode);
  EXPECT_EQ(window.presented, 20);
  const std::vector<float> after = layer_colour();
  for (int x = 0; x < W - 8; x += 5) EXPECT_NEAR(red_at(after, x, 40), red_at(before, x + 8, 40), 0.01) << x;
}

TEST(WarpMode, CommitAppliesTheWarpUndoablyAndStaysInWarpMode) {
  gl_canvas(W, H);
  reset_application_state();
  modes.warp_mode = true;
  gpu::warp_enter(
      {layers.active->fbo_colID(), layers.active->fbo_col(), layers.active->fbo_matID(), layers.active->fbo_mat()});
  striped_layer_and_shifted_map();
  const std::vector<float> before = layer_colour();

  commit_warp();
  EXPECT_TRUE(modes.warp_mode);
  const std::vector<float> after = layer_colour();
  const std::vector<float> undo = read_texture(layers.active->undo_col(), W, H, GL_RGBA, 4);
  std::vector<float> map = read_texture(gpu::canvas_buffers.warp_uv.texture(), W, H, GL_RG, 2);
  for (int x = 0; x < W - 8; x += 5) {
    EXPECT_NEAR(red_at(after, x, 40), red_at(before, x + 8, 40), 0.01) << x;
    EXPECT_EQ(red_at(undo, x, 40), red_at(before, x, 40)) << x;
    EXPECT_NEAR(map[(size_t(40) * W + size_t(x)) * 2], (x + 0.5f) / W, 1e-4) << "map back to identity";
  }
}

TEST(WarpMode, KeysOfTheSimulation) {
  ScriptRun r(W, H);
  ASSERT_EQ(r.run("key down Left Ctrl\nkey press W\nframe\n"), "");
  EXPECT_TRUE(modes.warp_mode);
  ASSERT_EQ(r.run("key down Left Ctrl\nkey press W\nframe\n"), "");
  EXPECT_FALSE(modes.warp_mode);

  ASSERT_EQ(r.run("key press Y\nframe\n"), "");
  EXPECT_EQ(gpu::simulation_settings.substep_mode, 1);
  ASSERT_EQ(r.run("key press D\nframe\n"), "");
  EXPECT_EQ(gpu::simulation_settings.drying, 0);
  std::vector<float> wet = read_texture(gpu::canvas_buffers.wetness.texture(), W, H, GL_RGBA, 4);
  EXPECT_EQ(wet[3], 0.0f) << "the canvas was dried";

  // Ctrl+D stops the flow (which would go on at this fluidity, over paint).
  gpu::simulation_settings.fluidity = 0.5f;
  upload(layers.active->fbo_mat(), GL_RED, std::vector<float>(size_t(W) * H, 1.0f));
  std::vector<float> field(size_t(W) * H * 2, 0.01f);
  upload(gpu::canvas_buffers.velocity[0].texture(), GL_RG, field);
  ASSERT_EQ(r.run("key down Left Ctrl\nkey press D\nframe\n"), "");
  std::vector<float> v = read_texture(gpu::canvas_buffers.velocity[0].texture(), W, H, GL_RG, 2);
  EXPECT_EQ(v[(size_t(45) * W + 80) * 2], 0.0f);
  EXPECT_EQ(gpu::simulation_settings.drying, 0) << "Ctrl+D leaves the drying toggle alone";

  // So does the undo toggle: the flow belongs to the paint that was shown.
  upload(gpu::canvas_buffers.velocity[0].texture(), GL_RG, field);
  ASSERT_EQ(r.run("key down Left Ctrl\nkey press Z\nframe\n"), "");
  v = read_texture(gpu::canvas_buffers.velocity[0].texture(), W, H, GL_RG, 2);
  EXPECT_EQ(v[(size_t(45) * W + 80) * 2], 0.0f);
  EXPECT_TRUE(layers.active->showing_undo());
}

}  // namespace
