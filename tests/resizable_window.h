#pragma once
// A window for tests that the person at the desktop can resize: it stands in
// front of the headless window and keeps its own client size and screen, and
// it remembers where the program last placed it. And what a window shows.
#include <array>
#include <vector>

#include "platform/gl.h"
#include "platform/screen_buffer.h"
#include "platform/window.h"

class ResizableWindow final : public platform::Window {
 public:
  ResizableWindow(platform::Window& inner, int w, int h) : inner_(inner), w_(w), h_(h) {}

  // The person drags the window's edge.
  void resize(int w, int h) {
    w_ = w;
    h_ = h;
  }
  struct Placement {
    int x = 0, y = 0, outer_w = 0, outer_h = 0;
  };
  Placement placed;  // the last place()
  int placements = 0;

  bool headless() const override { return true; }
  void set_title(const std::string& t) override { inner_.set_title(t); }
  void client_size(int* w, int* h) override {
    *w = w_;
    *h = h_;
  }
  void desktop_size(int* w, int* h) override { inner_.desktop_size(w, h); }
  void place(int x, int y, int outer_w, int outer_h) override {
    placed = {x, y, outer_w, outer_h};
    ++placements;
  }
  void set_client_size(int w, int h) override { resize(w, h); }
  void show_cursor(bool) override {}
  void pump_events() override {}
  void wait_events() override {}
  void wait_frame_tick() override {}
  void bind_screen() override { screen_.bind(w_, h_); }
  void present() override { inner_.present(); }
  bool keeps_screen() const override { return true; }
  platform::Answer confirm(const std::string& c, const std::string& t) override { return inner_.confirm(c, t); }

 private:
  platform::Window& inner_;
  int w_, h_;
  platform::ScreenBuffer screen_;
};

// The mean colour of the window's pixels [x0, x1) x [y0, y1) (y down) of a
// window h pixels high.
inline std::array<float, 3> window_mean(platform::Window& window, int x0, int y0, int x1, int y1, int h) {
  std::vector<unsigned char> px(std::size_t(x1 - x0) * std::size_t(y1 - y0) * 4);
  window.bind_screen();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x0, h - y1, x1 - x0, y1 - y0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  std::array<float, 3> sum{};
  for (std::size_t i = 0; i < px.size(); i += 4)
    for (int c = 0; c < 3; ++c) sum[std::size_t(c)] += px[i + std::size_t(c)] / 255.0f;
  for (float& v : sum) v /= float(px.size() / 4);
  return sum;
}
