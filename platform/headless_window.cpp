#include "platform/headless_window.h"

#include <cstdio>

#include "platform/gl.h"
#include "platform/headless_gl.h"
#include "platform/screen_buffer.h"

namespace platform {
namespace {

class HeadlessWindow final : public Window {
 public:
  HeadlessWindow(int w, int h) : w_(w), h_(h) {}

  bool headless() const override { return true; }
  void set_title(const std::string&) override {}
  void client_size(int* w, int* h) override {
    *w = w_;
    *h = h_;
  }
  void desktop_size(int* w, int* h) override {
    *w = 1920;
    *h = 1080;
  }
  void place(int, int, int, int) override {}
  void show_cursor(bool) override {}
  void pump_events() override {}
  void wait_events() override {}
  void wait_frame_tick() override {}
  void bind_screen() override { screen_.bind(w_, h_); }
  void present() override { glFlush(); }
  bool keeps_screen() const override { return true; }
  Answer confirm(const std::string& caption, const std::string& text) override {
    std::fprintf(stderr, "ollan: \"%s\" %s: answered Cancel (no display)\n", caption.c_str(), text.c_str());
    return Answer::cancel;
  }

 private:
  int w_, h_;
  ScreenBuffer screen_;
};

}  // namespace

std::unique_ptr<Window> create_headless_window(int client_w, int client_h, std::string* error) {
  if (!headless_gl_init(error)) return nullptr;
  return std::make_unique<HeadlessWindow>(client_w, client_h);
}

}  // namespace platform
