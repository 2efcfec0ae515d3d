#pragma once
// The tablet drivers. `TTabletDriver` is the interface and, used on its own,
// the mouse-simulation driver that answers from the mouse. `TPacketTabletDriver`
// reads the packets of a tablet library and scales them to floats: positions
// 0..1 (y up on the tablet, down on the result), pressures 0..1, tilt in
// degrees. Any failure of the packet driver prints its message, hands the
// module over to a new mouse-simulation driver and returns 0.
#include <cstdint>
#include <string>

#include "platform/tablet_library.h"
#include "platform/tablet_records.h"

namespace platform {

class TTabletDriver {
 public:
  virtual ~TTabletDriver() = default;
  // Opens the tablet on `hwnd`, or on the active window when it is 0; 1 when
  // it opened.
  virtual int Open(TabletWindow hwnd);
  virtual int Close();
  virtual int GetStatus();
  virtual int GetChanged();
  // Time of the latest packet; it changes with every packet, so a time that
  // did not change since the last frame means the pen is idle or absent.
  virtual int GetTime();
  virtual float GetX();
  virtual float GetY();
  virtual float GetZ();
  // Bit 0 left, bit 1 right, bit 2 middle (for a pen: tip, barrel buttons).
  virtual int GetButtons();
  // 1 for the pen's tip, 2 for its eraser end.
  virtual int GetCursor();
  virtual float GetNormalPressure();
  virtual float GetTangentPressure();
  // Azimuth (0..360, clockwise from up), altitude (90 upright) and twist, in degrees.
  virtual float GetTiltX();
  virtual float GetTiltY();
  virtual float GetTiltZ();
  virtual float GetRotationX();
  virtual float GetRotationY();
  virtual float GetRotationZ();
  virtual std::string GetInfo();
};

class TPacketTabletDriver : public TTabletDriver {
 public:
  explicit TPacketTabletDriver(TabletLibrary& library) : library_(library) {}

  int Open(TabletWindow hwnd) override;
  int Close() override;
  int GetStatus() override;
  int GetChanged() override;
  int GetTime() override;
  float GetX() override;
  float GetY() override;
  float GetZ() override;
  int GetButtons() override;
  int GetCursor() override;
  float GetNormalPressure() override;
  float GetTangentPressure() override;
  float GetTiltX() override;
  float GetTiltY() override;
  float GetTiltZ() override;
  float GetRotationX() override;
  float GetRotationY() override;
  float GetRotationZ() override;
  // The capability report of device 0; re-initialises the context.
  std::string GetInfo() override;

  int GetContext();
  int GetSerialNumber();
  // Opens a context on device `device` of the library with every packet item.
  int Init(int device);
  // Name, packet items and modes, and cursors of a device.
  std::string DeviceCapabilities(int device);
  std::string CursorCapabilities();
  // One line per packet item set in `flags`, each started by `prefix`.
  std::string DebugWTPkt(std::uint32_t flags, const std::string& prefix);
  // Drains the packet queue and scales the last packet; 0 when no context is open.
  int GetData();
  static float Fix2Float(std::int32_t value) { return float(value) / 65536.0f; }

  tagLOGCONTEXT context;
  tagPACKET packet;
  std::uint32_t hctx = 0;
  TabletWindow hwnd = 0;
  int needRestart = 0;
  std::string myInfo;
  float x = 0, y = 0, z = 0;
  float scaleX = 0, scaleY = 0, scaleZ = 0;
  float Np = 0, Tp = 0;
  float scaleNp = 0, scaleTp = 0;
  float tiltX = 0, tiltY = 0, tiltZ = 0;
  float scaleTiltX = 0, scaleTiltY = 0, scaleTiltZ = 0;
  float rotX = 0, rotY = 0, rotZ = 0;
  float scaleRotX = 0, scaleRotY = 0, scaleRotZ = 0;

 private:
  std::string info_string(unsigned category, unsigned index);
  bool info_int(unsigned category, unsigned index, std::int32_t* value);
  int info_axes(unsigned category, unsigned index, tagAXIS* axes, int count);

  TabletLibrary& library_;
};

}  // namespace platform
