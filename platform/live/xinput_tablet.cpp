#include "platform/live/xinput_tablet.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <vector>

#include "platform/tablet_xinput.h"

namespace platform {
namespace {

std::vector<XiDevice> list_devices(Display* display) {
  std::vector<XiDevice> devices;
  int count = 0;
  XIDeviceInfo* info = XIQueryDevice(display, XIAllDevices, &count);
  if (!info) return devices;
  for (int i = 0; i < count; ++i) {
    XiDevice d;
    d.id = info[i].deviceid;
    d.name = info[i].name ? info[i].name : "";
    d.slave_pointer = info[i].use == XISlavePointer;
    for (int c = 0; c < info[i].num_classes; ++c) {
      if (info[i].classes[c]->type != XIValuatorClass) continue;
      auto* v = reinterpret_cast<const XIValuatorClassInfo*>(info[i].classes[c]);
      XiValuator valuator;
      valuator.number = v->number;
      valuator.min = v->min;
      valuator.max = v->max;
      if (v->label != None) {
        if (char* name = XGetAtomName(display, v->label)) {
          valuator.label = name;
          XFree(name);
        }
      }
      d.valuators.push_back(valuator);
    }
    devices.push_back(std::move(d));
  }
  XIFreeDeviceInfo(info);
  return devices;
}

XiMotion to_motion(const XIDeviceEvent& e) {
  return motion_from_masks(e.deviceid, std::uint32_t(e.time), e.valuators.mask, e.valuators.mask_len,
                           e.valuators.values, e.buttons.mask, e.buttons.mask_len);
}

class LiveXInputTablet final : public XInputPenTablet {
 public:
  LiveXInputTablet(std::vector<XiPen> pens, std::vector<int> pointers, Display* display, Window window, int opcode)
      : XInputPenTablet(std::move(pens), std::move(pointers), TabletWindow(window)),
        display_(display),
        x_window_(window),
        opcode_(opcode) {
    select();
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    SDL_AddEventWatch(&LiveXInputTablet::watch, this);
  }
  // The window and its display may be gone already: X is left alone.
  ~LiveXInputTablet() override {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_DelEventWatch(&LiveXInputTablet::watch, this);
  }

 private:
  // Only XI_Motion, and only for the slave pointers (the pens, and the others
  // to tell when the pen is put away): selecting button events, or events of
  // the master pointer, would take the window's own mouse events away from SDL.
  void select() {
    std::vector<unsigned char> bits(XIMaskLen(XI_LASTEVENT), 0);
    XISetMask(bits.data(), XI_Motion);
    std::vector<XIEventMask> masks;
    for (const XiPen& pen : pens()) masks.push_back({pen.id, int(bits.size()), bits.data()});
    for (int id : pointers()) masks.push_back({id, int(bits.size()), bits.data()});
    XISelectEvents(display_, x_window_, masks.data(), int(masks.size()));
    XFlush(display_);
  }

  // Runs inside SDL's event pump, while the X event's data is still attached.
  static int watch(void* self, SDL_Event* event) {
    auto* t = static_cast<LiveXInputTablet*>(self);
    if (event->type != SDL_SYSWMEVENT || !event->syswm.msg || event->syswm.msg->subsystem != SDL_SYSWM_X11) return 0;
    const XEvent& x = event->syswm.msg->msg.x11.event;
    // SDL forwards raw and other XInput2 events too: only pen motion is ours.
    if (x.type != GenericEvent || x.xcookie.extension != t->opcode_ || x.xcookie.evtype != XI_Motion || !x.xcookie.data)
      return 0;
    t->on_motion(to_motion(*static_cast<const XIDeviceEvent*>(x.xcookie.data)));
    return 0;
  }

  Display* display_;
  Window x_window_;
  int opcode_;
};

}  // namespace

std::unique_ptr<TabletLibrary> open_xinput_tablet(SDL_Window* window) {
  SDL_SysWMinfo wm;
  SDL_VERSION(&wm.version);
  if (!window || !SDL_GetWindowWMInfo(window, &wm) || wm.subsystem != SDL_SYSWM_X11) return nullptr;
  Display* display = wm.info.x11.display;
  int opcode = 0, first_event = 0, first_error = 0;
  if (!XQueryExtension(display, "XInputExtension", &opcode, &first_event, &first_error)) return nullptr;
  int major = 2, minor = 2;
  if (XIQueryVersion(display, &major, &minor) != Success || major < 2) return nullptr;
  const std::vector<XiDevice> devices = list_devices(display);
  std::vector<XiPen> pens = find_pens(devices);
  if (pens.empty()) return nullptr;
  std::vector<int> pointers;
  for (const XiDevice& d : devices)
    if (d.slave_pointer) pointers.push_back(d.id);
  return std::make_unique<LiveXInputTablet>(std::move(pens), std::move(pointers), display, wm.info.x11.window, opcode);
}

}  // namespace platform
