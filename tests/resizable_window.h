#pragma once
// A window for tests that the person at the desktop can resize: it stands in
// front of the headless window and keeps its own client size and screen, and
// it remembers where the program last placed it.
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
