#include "app/pen_input.h"

#include <memory>

#include "app/app_state.h"
#include "platform/script_input.h"
#include "platform/tablet.h"
#include "platform/tablet_script.h"

PenState pen_state;

namespace {

// The script's pen has no native window; this stands for the one it draws on.
constexpr platform::TabletWindow script_window = 1;

}  // namespace

void open_pen(platform::Window& window, platform::Input& input, FrameState& f) {
  namespace tablet = platform::tablet;
  if (dynamic_cast<platform::ScriptInput*>(&input))
    tablet::start(std::make_unique<platform::ScriptedPenTablet>(
        input, script_window, [&window](int* w, int* h) { window.client_size(w, h); }));
  tablet::set_mouse([&window, &input] {
    platform::MouseReading m;
    input.mouse_position(&m.x, &m.y);
    window.client_size(&m.surface_w, &m.surface_h);
    m.left = app.mouse_left;
    m.right = app.mouse_right;
    m.middle = app.mouse_middle;
    return m;
  });
  app.pen_active = tablet::open(0) != 0;
  pen_state.packet_time = tablet::time();
  f.tilt[0] = tablet::tilt_x();
  f.tilt[1] = tablet::tilt_y();
}

void sample_pen_pressure() {
  platform::tablet::next_frame();
  app.pen_pressure = platform::tablet::normal_pressure();
}

void sample_pen_packet(FrameState& f) {
  namespace tablet = platform::tablet;
  const int time = tablet::time();
  app.pen_active = time != pen_state.packet_time;
  pen_state.packet_time = time;
  if (app.pen_active) {
    f.tilt[0] = tablet::tilt_x();
    f.tilt[1] = tablet::tilt_y();
  }
  // A pen put away keeps its last cursor number: only one near the tablet erases.
  f.pen_eraser =
      tablet::cursor() == int(platform::pen_eraser_cursor) && (tablet::status() & platform::TPS_PROXIMITY) == 0;
}

void close_pen() {
  platform::tablet::close();
  platform::tablet::start(nullptr);
  platform::tablet::set_mouse(nullptr);
}
