#pragma once
// The tablet module: one pen device behind a driver. Every function forwards
// to the current driver. The module starts with the packet driver over the
// installed library; when that driver fails (no tablet, no window, a library
// call fails) it prints why on standard output and the mouse-simulation
// driver answers from then on.
#include <functional>
#include <memory>
#include <string>

#include "platform/tablet_driver.h"
#include "platform/tablet_library.h"

namespace platform {

// What the mouse-simulation driver answers from.
struct MouseReading {
  float x = 0, y = 0;                // pointer in client pixels
  int surface_w = 0, surface_h = 0;  // drawing surface
  bool left = false, right = false, middle = false;
};

struct TabletState {
  std::unique_ptr<TabletLibrary> library;
  std::unique_ptr<TTabletDriver> driver;
  // A driver replaced while one of its own calls ran lives until the next call.
  std::unique_ptr<TTabletDriver> retired;
  std::function<MouseReading()> mouse;
};

extern TabletState tablet_state;

namespace tablet {

// Installs `library` (null: none) and a fresh packet driver over it.
void start(std::unique_ptr<TabletLibrary> library);
void set_mouse(std::function<MouseReading()> reader);
MouseReading read_mouse();

// Prints `message` on its own line, replaces the current driver by the
// mouse-simulation driver and returns 0.
int fall_back(const char* message);
// Whether the mouse-simulation driver is answering.
bool simulating_mouse();

// A new frame begins: sources paced by frames post their packet.
void next_frame();

int open(TabletWindow window);
int close();
int status();
int changed();
int time();
float x();
float y();
float z();
int buttons();
int cursor();
float normal_pressure();
float tangent_pressure();
float tilt_x();
float tilt_y();
float tilt_z();
float rotation_x();
float rotation_y();
float rotation_z();
std::string info();

}  // namespace tablet
}  // namespace platform
