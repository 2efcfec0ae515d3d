#include "platform/live/sdl_window.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include "platform/gl.h"
#include "platform/live/gtk_clipboard.h"
#include "platform/live/gtk_dialogs.h"
#include "platform/screen_buffer.h"

namespace platform {
namespace {

constexpr Uint32 frame_period_ms = 1000 / 60;  // 16 ms, about 62.5 ticks a second

std::atomic<Uint32> timer_ticks{0};
Uint32 tick_event = 0;

Uint32 on_timer(Uint32 interval, void*) {
  timer_ticks.fetch_add(1);
  SDL_Event e{};
  e.type = tick_event;
  SDL_PushEvent(&e);
  return interval;
}

class LiveWindow;

// Confirmations through SDL's message boxes.
class LiveDialogs final : public Dialogs {
 public:
  explicit LiveDialogs(LiveWindow& w) : window_(w) {}
  Answer confirm(const std::string& caption, const std::string& text, BoxButtons buttons) override;
  std::optional<std::string> open_file(const std::string& title, const std::string& filters) override {
    return gtk_open_file(title, filters);
  }
  std::optional<std::string> save_file(const std::string& title, const std::string& filters,
                                       const std::string& suggested) override {
    return gtk_save_file(title, filters, suggested);
  }
  std::optional<ClipboardImage> clipboard_image() override { return gtk_clipboard_image(); }
  std::optional<std::array<uint8_t, 3>> desktop_colour() override;
  // SDL passes the address as one argument to the handler: no shell reads it.
  void open_url(const std::string& url) override {
    if (SDL_OpenURL(url.c_str()) != 0) std::fprintf(stderr, "ollan: cannot open %s: %s\n", url.c_str(), SDL_GetError());
  }

 private:
  LiveWindow& window_;
};

class LiveWindow final : public SdlWindow {
 public:
  LiveWindow() : dialogs_(*this) {}
  ~LiveWindow() override {
    if (timer_) SDL_RemoveTimer(timer_);
    if (context_) {
      screen_.release();
      SDL_GL_DeleteContext(context_);
    }
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
  }

  bool open(const std::string& title, int w, int h, std::string* error) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
      *error = std::string("no display: ") + SDL_GetError();
      return false;
    }
    // With no display SDL falls back to drivers that show nothing; a window
    // nobody can see would look like a hang. They stay available on request.
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if ((driver == "offscreen" || driver == "dummy") && !SDL_getenv("SDL_VIDEODRIVER")) {
      *error = "no display to open a window on (--headless paints without one)";
      return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE);
    if (!window_) {
      *error = std::string("the window could not open: ") + SDL_GetError();
      return false;
    }
    context_ = SDL_GL_CreateContext(window_);
    if (!context_) {
      *error = std::string("no OpenGL context: ") + SDL_GetError();
      return false;
    }
    SDL_GL_SetSwapInterval(0);
    if (!load_gl(error)) return false;
    tick_event = SDL_RegisterEvents(1);
    timer_ = SDL_AddTimer(frame_period_ms, on_timer, nullptr);
    seen_ticks_ = timer_ticks.load();
    return true;
  }

  SDL_Window* sdl_window() const override { return window_; }

  // Window
  bool headless() const override { return false; }
  void set_title(const std::string& title) override { SDL_SetWindowTitle(window_, title.c_str()); }
  void client_size(int* w, int* h) override {
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) {
      *w = *h = 0;
      return;
    }
    SDL_GL_GetDrawableSize(window_, w, h);
  }
  void desktop_size(int* w, int* h) override {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(window_), &mode) == 0) {
      *w = mode.w;
      *h = mode.h;
    } else {
      *w = 1920;
      *h = 1080;
    }
  }
  void place(int x, int y, int outer_w, int outer_h) override {
    int top = 0, left = 0, bottom = 0, right = 0;
    SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right);
    int cw = outer_w - left - right, ch = outer_h - top - bottom;
    if (cw > 0 && ch > 0) {
      int w = 0, h = 0;
      SDL_GetWindowSize(window_, &w, &h);
      // Keep the client area the canvas size when the desktop has room for it.
      if (cw < w || ch < h) SDL_SetWindowSize(window_, cw < w ? cw : w, ch < h ? ch : h);
    }
    SDL_SetWindowPosition(window_, x + left, y + top);
  }
  void set_client_size(int w, int h) override {
    if (w > 0 && h > 0) SDL_SetWindowSize(window_, w, h);
  }
  void show_cursor(bool show) override { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }
  void set_full_desktop(bool on) override {
    if (on) {
      SDL_GetWindowSize(window_, &windowed_w_, &windowed_h_);
      int w = 0, h = 0;
      desktop_size(&w, &h);
      SDL_SetWindowBordered(window_, SDL_FALSE);
      SDL_SetWindowPosition(window_, 0, 0);
      SDL_SetWindowSize(window_, w, h);
    } else {
      SDL_SetWindowBordered(window_, SDL_TRUE);
      if (windowed_w_ > 0 && windowed_h_ > 0) SDL_SetWindowSize(window_, windowed_w_, windowed_h_);
    }
  }

  void pump_events() override {
    SDL_Event e;
    while (SDL_PollEvent(&e)) dispatch(e);
  }
  void wait_events() override {
    SDL_Event e;
    if (SDL_WaitEvent(&e)) dispatch(e);
    pump_events();
  }
  void wait_frame_tick() override {
    SDL_Event e;
    while (timer_ticks.load() == seen_ticks_)
      if (SDL_WaitEventTimeout(&e, int(frame_period_ms))) dispatch(e);
    seen_ticks_ = timer_ticks.load();
    pump_events();
  }
  void bind_screen() override {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    if (screen_.bind(w, h)) return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, w, h);
  }
  void present() override {
    screen_.copy_to_window();
    SDL_GL_SwapWindow(window_);
  }
  // Frames draw into the screen buffer, which outlives the swap.
  bool keeps_screen() const override { return screen_.valid(); }

  Answer confirm(const std::string& caption, const std::string& text) override {
    return dialogs_.confirm(caption, text, BoxButtons::ok_cancel);
  }
  Dialogs& dialogs() override { return dialogs_; }

  // Input
  bool key_hit(std::string_view key) override {
    auto it = hits_.find(std::string(key));
    if (it == hits_.end() || !it->second) return false;
    it->second = false;
    return true;
  }
  bool key_down(std::string_view key) override {
    auto it = held_.find(std::string(key));
    return it != held_.end() && it->second;
  }
  void flush_keys() override {
    hits_.clear();
    held_.clear();
  }
  void mouse_position(float* x, float* y) override {
    int mx = 0, my = 0;
    SDL_GetMouseState(&mx, &my);
    *x = float(mx);
    *y = float(my);
  }
  int wheel() override { return wheel_; }
  void discard_wheel() override { wheel_ = 0; }

 private:
  void emit(WindowEventType t, int button = 0) {
    if (on_event) on_event(WindowEvent{t, button});
  }

  void dispatch(const SDL_Event& e) {
    switch (e.type) {
      case SDL_QUIT: emit(WindowEventType::close); break;
      case SDL_WINDOWEVENT:
        switch (e.window.event) {
          case SDL_WINDOWEVENT_FOCUS_LOST: emit(WindowEventType::suspend); break;
          case SDL_WINDOWEVENT_FOCUS_GAINED: emit(WindowEventType::resume); break;
          case SDL_WINDOWEVENT_LEAVE: emit(WindowEventType::pointer_left); break;
          case SDL_WINDOWEVENT_CLOSE: emit(WindowEventType::close); break;
          case SDL_WINDOWEVENT_SHOWN:
          case SDL_WINDOWEVENT_EXPOSED:
          case SDL_WINDOWEVENT_RESTORED: emit(WindowEventType::exposed); break;
        }
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        int b = e.button.button == SDL_BUTTON_LEFT     ? 1
                : e.button.button == SDL_BUTTON_RIGHT  ? 2
                : e.button.button == SDL_BUTTON_MIDDLE ? 3
                                                       : 0;
        if (b) emit(e.type == SDL_MOUSEBUTTONDOWN ? WindowEventType::button_down : WindowEventType::button_up, b);
        break;
      }
      case SDL_MOUSEMOTION: emit(WindowEventType::pointer_moved); break;
      case SDL_MOUSEWHEEL: {
        const int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        wheel_ += notches;
        if (on_wheel && notches) on_wheel(notches);
        break;
      }
      case SDL_KEYDOWN: {
        // A repeat changes nothing: the key is held since its press, or was
        // let go by flush_keys until it is pressed again.
        if (e.key.repeat) break;
        std::string name = SDL_GetKeyName(e.key.keysym.sym);
        hits_[name] = true;
        held_[name] = true;
        if (on_key) on_key(name, true);
        break;
      }
      case SDL_KEYUP: {
        std::string name = SDL_GetKeyName(e.key.keysym.sym);
        held_[name] = false;
        if (on_key) on_key(name, false);
        break;
      }
    }
  }

  void set_icon(const uint8_t* rgba, int w, int h) override {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(rgba), w, h, 32, w * 4, SDL_PIXELFORMAT_ABGR8888);
    if (!surface) return;
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
  }

  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  ScreenBuffer screen_;
  SDL_TimerID timer_ = 0;
  Uint32 seen_ticks_ = 0;
  std::map<std::string, bool, std::less<>> hits_, held_;
  int wheel_ = 0;
  int windowed_w_ = 0, windowed_h_ = 0;  // the client size before full-desktop mode
  LiveDialogs dialogs_;
};

std::optional<std::array<uint8_t, 3>> LiveDialogs::desktop_colour() {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window_.sdl_window(), &info) || info.subsystem != SDL_SYSWM_X11) return std::nullopt;
  Display* display = info.info.x11.display;
  const ::Window root = DefaultRootWindow(display);
  XWindowAttributes desktop;
  int x = 0, y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  // A read outside the root window is an X error, which would end the program.
  if (!XGetWindowAttributes(display, root, &desktop) || x < 0 || y < 0 || x >= desktop.width || y >= desktop.height)
    return std::nullopt;
  XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return std::nullopt;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  // Each channel from its mask, scaled to 8 bits whatever the depth.
  auto channel = [pixel](unsigned long mask) {
    if (mask == 0) return uint8_t(0);
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long top = mask >> shift;
    return uint8_t(((pixel & mask) >> shift) * 255 / top);
  };
  const std::array<uint8_t, 3> c = {channel(image->red_mask), channel(image->green_mask), channel(image->blue_mask)};
  XDestroyImage(image);
  return c;
}

Answer LiveDialogs::confirm(const std::string& caption, const std::string& text, BoxButtons kind) {
  const SDL_MessageBoxButtonData ok_cancel[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, int(Answer::ok), "OK"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, int(Answer::cancel), "Cancel"},
  };
  const SDL_MessageBoxButtonData yes_no_cancel[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, int(Answer::yes), "Yes"},
      {0, int(Answer::no), "No"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, int(Answer::cancel), "Cancel"},
  };
  const bool three = kind == BoxButtons::yes_no_cancel;
  SDL_MessageBoxData box{SDL_MESSAGEBOX_INFORMATION,
                         window_.sdl_window(),
                         caption.c_str(),
                         text.c_str(),
                         three ? 3 : 2,
                         three ? yes_no_cancel : ok_cancel,
                         nullptr};
  // The program draws its own pointer; a box needs the system's.
  const int cursor = SDL_ShowCursor(SDL_QUERY);
  SDL_ShowCursor(SDL_ENABLE);
  int pressed = -1;
  const bool shown = SDL_ShowMessageBox(&box, &pressed) == 0;
  std::optional<Answer> answer;
  if (shown) {
    answer = pressed >= 0 ? static_cast<Answer>(pressed) : Answer::cancel;
  } else {
    // SDL's X11 box needs the core fonts; without a box the painter could
    // never leave, so GTK asks instead.
    std::fprintf(stderr, "ollan: no message box (%s), asking through GTK\n", SDL_GetError());
    answer = gtk_confirm(caption, text, three);
  }
  SDL_ShowCursor(cursor);
  if (!answer) {
    std::fprintf(stderr, "ollan: \"%s\" could not be asked: answered Cancel\n", caption.c_str());
    return Answer::cancel;
  }
  return *answer;
}

}  // namespace

std::unique_ptr<SdlWindow> open_sdl_window(const std::string& title, int client_w, int client_h, std::string* error) {
  auto w = std::make_unique<LiveWindow>();
  if (!w->open(title, client_w, client_h, error)) return nullptr;
  return w;
}

}  // namespace platform
