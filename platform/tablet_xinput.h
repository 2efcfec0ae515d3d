#pragma once
// Pens found through XInput2, as plain data: the live code copies the X
// device list and each motion event into these records, and everything from
// there to tablet packets is here, testable without an X server.
//
// A pen is a slave pointer with an "Abs Pressure" valuator; a device whose
// name contains "eraser" is the eraser end of a pen and reports cursor 2.
// The tablet's axes are those of the first stylus found; packets of the other
// pen devices are rescaled to them. The pen is in proximity from its first
// motion until another pointer moves.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/tablet_queue.h"

namespace platform {

struct XiValuator {
  int number = 0;     // index of the valuator in the device's events
  std::string label;  // "Abs X", "Abs Pressure", "Abs Tilt X", ...
  double min = 0, max = 0;
};

struct XiDevice {
  int id = 0;
  std::string name;
  bool slave_pointer = false;
  std::vector<XiValuator> valuators;
};

// One XI_Motion event: only the valuators it carries (the others keep their
// last values), the held buttons with bit 0 for button 1, and the server time.
struct XiMotion {
  int device = 0;
  std::uint32_t time = 0;
  std::vector<std::pair<int, double>> values;
  std::uint32_t buttons = 0;
};

// The motion event of an XIDeviceEvent, from its masks as X lays them out
// (bit n of byte n / 8 for valuator or button n): one value in `values` for
// each valuator set in `valuator_mask`, in order.
XiMotion motion_from_masks(int device, std::uint32_t time, const unsigned char* valuator_mask, int valuator_mask_len,
                           const double* values, const unsigned char* button_mask, int button_mask_len);

// Azimuth (degrees clockwise from up, 0..360) and altitude (degrees above the
// tablet, 90 upright) of a pen tilted `tilt_x` degrees to the right and
// `tilt_y` degrees towards the bottom of the tablet.
void tilt_to_orientation(double tilt_x, double tilt_y, double* azimuth, double* altitude);

struct XiPen {
  int id = 0;
  std::string name;
  bool eraser = false;
  // Valuator numbers, -1 where the device has none.
  int x = -1, y = -1, pressure = -1, tilt_x = -1, tilt_y = -1;
  std::vector<XiValuator> valuators;  // by number
  std::vector<double> values;         // last value of each valuator
};

// The pen devices among `devices`, styluses first.
std::vector<XiPen> find_pens(const std::vector<XiDevice>& devices);
// The slave pointers among `devices` that are not pens.
std::vector<int> other_pointers(const std::vector<XiDevice>& devices, const std::vector<XiPen>& pens);

// The tablet the pens make; `pens` not empty.
TabletDescription describe_pens(const std::vector<XiPen>& pens);

// Updates `pen` with `event` and returns the packet it makes, in the axes of
// `tablet` (context, time, serial number and changed items are left to
// `PacketTablet::post`).
tagPACKET pen_packet(XiPen& pen, const XiMotion& event, const TabletDescription& tablet);

// The XInput2 pens as a tablet library: motion events of the pens become
// queued packets.
class XInputPenTablet : public PacketTablet {
 public:
  // `pointers`: the other slave pointers (mice, touchpads).
  XInputPenTablet(std::vector<XiPen> pens, std::vector<int> pointers, TabletWindow window);
  const std::vector<XiPen>& pens() const { return pens_; }
  const std::vector<int>& pointers() const { return pointers_; }
  // Motion of one of the other pointers takes the pen out of proximity;
  // events of any other device (a master pointer repeating the pen's motion)
  // are ignored.
  void on_motion(const XiMotion& event);

 private:
  std::vector<XiPen> pens_;
  std::vector<int> pointers_;
};

}  // namespace platform
