#pragma once
// A tablet library with one device and a packet queue: the pens found through
// XInput2 and the scripted pen both describe their device with a
// `TabletDescription` and post packets; the driver reads them back through
// the library calls.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/tablet_library.h"
#include "platform/tablet_records.h"

namespace platform {

struct TabletDescription {
  std::string interface_name;             // IFC_WINTABID
  std::string device_name;                // DVC_NAME of device 0
  std::vector<std::string> cursor_names;  // by cursor number
  tagAXIS x, y, z;                        // extents of the context are their maxima
  tagAXIS normal_pressure, tangent_pressure;
  tagAXIS orientation[3];  // azimuth, altitude, twist; maxima of 0 for a pen without tilt
  tagAXIS rotation[3];     // pitch, roll, yaw
};

class PacketTablet : public TabletLibrary {
 public:
  static constexpr std::size_t default_capacity = 256;

  PacketTablet(TabletDescription description, TabletWindow window, std::size_t capacity = default_capacity);

  // Queues `packet` for the open context (dropped when none is open), filling
  // in the context, a time that is `time_ms` unless that would not advance
  // past the previous packet's, the serial number and the changed items. A
  // full queue drops its oldest packet and marks the new one TPS_QUEUE_ERR.
  void post(tagPACKET packet, std::uint32_t time_ms);
  // The pen left (the script put it away, another pointer took over): once
  // after the pen's last packet, posts it again without pressure or buttons
  // and with TPS_PROXIMITY set.
  void leave_proximity(std::uint32_t time_ms);
  std::size_t queued() const { return queue_.size(); }
  const TabletDescription& description() const { return description_; }
  // The window the tablet serves; 0 once it has gone.
  void set_window(TabletWindow window) { window_ = window; }

  unsigned WTInfoA(unsigned category, unsigned index, void* output, std::size_t capacity) override;
  std::uint32_t WTOpenA(TabletWindow window, const tagLOGCONTEXT& context, bool enabled) override;
  bool WTClose(std::uint32_t context) override;
  int WTPacketsGet(std::uint32_t context, int count, tagPACKET* packets) override;
  TabletWindow active_window() override { return window_; }
  bool window_exists(TabletWindow window) override { return window != 0 && window == window_; }

 private:
  tagLOGCONTEXT system_context() const;

  TabletDescription description_;
  TabletWindow window_;
  std::size_t capacity_;
  std::deque<tagPACKET> queue_;
  std::uint32_t open_context_ = 0, next_context_ = 1;
  tagPACKET last_;
  bool posted_ = false;
};

}  // namespace platform
