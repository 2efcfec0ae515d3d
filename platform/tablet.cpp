#include "platform/tablet.h"

#include <cstdio>
#include <typeinfo>

namespace platform {

TabletState tablet_state;

namespace tablet {
namespace {

NoTabletLibrary no_library;

TTabletDriver& current() {
  TabletState& s = tablet_state;
  s.retired.reset();
  if (!s.driver) s.driver = std::make_unique<TPacketTabletDriver>(s.library ? *s.library : no_library);
  return *s.driver;
}

}  // namespace

void start(std::unique_ptr<TabletLibrary> library) {
  TabletState& s = tablet_state;
  s.driver.reset();
  s.retired.reset();
  s.library = std::move(library);
  s.driver = std::make_unique<TPacketTabletDriver>(s.library ? *s.library : no_library);
}

void set_mouse(std::function<MouseReading()> reader) {
  tablet_state.mouse = std::move(reader);
}

MouseReading read_mouse() {
  return tablet_state.mouse ? tablet_state.mouse() : MouseReading{};
}

int fall_back(const char* message) {
  std::printf("%s\n", message);
  std::fflush(stdout);
  TabletState& s = tablet_state;
  s.retired = std::move(s.driver);
  s.driver = std::make_unique<TTabletDriver>();
  return 0;
}

bool simulating_mouse() {
  return typeid(current()) == typeid(TTabletDriver);
}

void next_frame() {
  if (tablet_state.library) tablet_state.library->next_frame();
}

int open(TabletWindow window) {
  return current().Open(window);
}
int close() {
  return current().Close();
}
int status() {
  return current().GetStatus();
}
int changed() {
  return current().GetChanged();
}
int time() {
  return current().GetTime();
}
float x() {
  return current().GetX();
}
float y() {
  return current().GetY();
}
float z() {
  return current().GetZ();
}
int buttons() {
  return current().GetButtons();
}
int cursor() {
  return current().GetCursor();
}
float normal_pressure() {
  return current().GetNormalPressure();
}
float tangent_pressure() {
  return current().GetTangentPressure();
}
float tilt_x() {
  return current().GetTiltX();
}
float tilt_y() {
  return current().GetTiltY();
}
float tilt_z() {
  return current().GetTiltZ();
}
float rotation_x() {
  return current().GetRotationX();
}
float rotation_y() {
  return current().GetRotationY();
}
float rotation_z() {
  return current().GetRotationZ();
}
std::string info() {
  return current().GetInfo();
}

}  // namespace tablet
}  // namespace platform
