#include "platform/headless_window.h"

#include <cstdio>

#include "platform/gl.h"
#include "platform/headless_gl.h"

namespace platform {
namespace {

class HeadlessWindow final : public Window {
 public:
  HeadlessWindow(int w, int h) : w_(w), h_(h) {
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
  }
  ~HeadlessWindow() override {
    glDeleteFramebuffers(1, &fbo_);
    glDeleteRenderbuffers(1, &colour_);
  }

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
  void bind_screen() override {
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glViewport(0, 0, w_, h_);
  }
  void present() override { glFlush(); }
  bool keeps_screen() const override { return true; }
  Answer confirm(const std::string& caption, const std::string& text) override {
    std::fprintf(stderr, "ollan: \"%s\" %s: answered Cancel (no display)\n", caption.c_str(), text.c_str());
    return Answer::cancel;
  }

 private:
  int w_, h_;
  GLuint fbo_ = 0, colour_ = 0;
};

}  // namespace

std::unique_ptr<Window> create_headless_window(int client_w, int client_h, std::string* error) {
  if (!headless_gl_init(error)) return nullptr;
  return std::make_unique<HeadlessWindow>(client_w, client_h);
}

}  // namespace platform
