#pragma once
// What the application needs from its window: events, presenting, the screen
// it draws into and the few desktop operations. Two implementations: the live
// SDL2 window and the headless one (EGL, no display).
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

enum class WindowEventType {
  suspend,      // another application took the foreground
  resume,       // this application has the foreground again
  button_down,  // button 1 left, 2 right, 3 middle
  button_up,
  pointer_left,   // the pointer left the client area
  pointer_moved,  // the pointer moved inside the client area
  close,          // the close button was used
  exposed,        // the window's picture was damaged (shown, uncovered, restored): draw it again
};

struct WindowEvent {
  WindowEventType type;
  int button = 0;
};

enum class Answer { ok, cancel, yes, no };

class Window {
 public:
  virtual ~Window() = default;

  // Every window event goes to this handler, in arrival order, from inside the
  // calls below that dispatch events.
  std::function<void(const WindowEvent&)> on_event;

  virtual bool headless() const = 0;
  virtual void set_title(const std::string& title) = 0;
  // The picture the window manager shows for the program: w x h RGBA pixels,
  // top row first. A window with no window manager ignores it.
  virtual void set_icon(const uint8_t* rgba, int w, int h) {}
  virtual void client_size(int* w, int* h) = 0;
  virtual void desktop_size(int* w, int* h) = 0;
  // Outer placement of the window on the desktop.
  virtual void place(int x, int y, int outer_w, int outer_h) = 0;
  // Gives the client area w x h pixels, as the window opened with. A window
  // that cannot be resized ignores it.
  virtual void set_client_size(int w, int h) {}
  virtual void show_cursor(bool show) = 0;
  // Full-desktop mode: the window without its frame over the whole desktop;
  // leaving it gives back the frame and the client size it had before (the
  // caller places the window again). A window with no desktop ignores it.
  virtual void set_full_desktop(bool on) {}

  // Dispatches pending events without waiting.
  virtual void pump_events() = 0;
  // Blocks until at least one event arrived, then dispatches what is pending.
  virtual void wait_events() = 0;
  // Waits for the next tick of the 16 ms frame timer, dispatching events meanwhile.
  virtual void wait_frame_tick() = 0;

  // Binds the framebuffer that stands for the window's client area, with a
  // viewport of the client size.
  virtual void bind_screen() = 0;
  // Shows the finished frame.
  virtual void present() = 0;
  // Whether the screen framebuffer still holds the last frame's picture when
  // the next frame draws (an off-screen target does; a swapped back buffer
  // need not), so a frame may redraw only part of it.
  virtual bool keeps_screen() const { return false; }

  // A modal OK/Cancel box; the headless window answers Cancel.
  virtual Answer confirm(const std::string& caption, const std::string& text) = 0;
};

}  // namespace platform
