#include "platform/tablet_driver.h"

#include <cstring>

#include "platform/tablet.h"

namespace platform {
namespace {

constexpr std::size_t scratch_size = 1024;
constexpr const char* context_name = "Ollan pen";
// A library that never empties its queue must not hold the frame forever.
constexpr int max_packets_per_drain = 4096;

float reciprocal(std::int32_t v) {
  return v != 0 ? 1.0f / float(v) : 0.0f;
}

}  // namespace

// --- mouse simulation

int TTabletDriver::Open(TabletWindow) {
  return 0;
}
int TTabletDriver::Close() {
  return 1;
}
int TTabletDriver::GetStatus() {
  return 0;
}
int TTabletDriver::GetChanged() {
  return 0;
}
int TTabletDriver::GetTime() {
  return 0;
}
float TTabletDriver::GetX() {
  MouseReading m = tablet::read_mouse();
  return m.surface_w > 0 ? m.x / float(m.surface_w) : 0.0f;
}
float TTabletDriver::GetY() {
  MouseReading m = tablet::read_mouse();
  return m.surface_h > 0 ? m.y / float(m.surface_h) : 0.0f;
}
float TTabletDriver::GetZ() {
  return 0;
}
int TTabletDriver::GetButtons() {
  MouseReading m = tablet::read_mouse();
  return (m.left ? 1 : 0) + (m.right ? 2 : 0) + (m.middle ? 4 : 0);
}
int TTabletDriver::GetCursor() {
  return 0;
}
float TTabletDriver::GetNormalPressure() {
  return tablet::read_mouse().left ? 1.0f : 0.0f;
}
float TTabletDriver::GetTangentPressure() {
  return 0;
}
float TTabletDriver::GetTiltX() {
  return 0;
}
float TTabletDriver::GetTiltY() {
  return 0;
}
float TTabletDriver::GetTiltZ() {
  return 0;
}
float TTabletDriver::GetRotationX() {
  return 0;
}
float TTabletDriver::GetRotationY() {
  return 0;
}
float TTabletDriver::GetRotationZ() {
  return 0;
}
std::string TTabletDriver::GetInfo() {
  return "Tablet not connected, running in MouseSim Mode!";
}

// --- packet driver

std::string TPacketTabletDriver::info_string(unsigned category, unsigned index) {
  char scratch[scratch_size] = {};
  unsigned n = library_.WTInfoA(category, index, scratch, sizeof scratch - 1);
  scratch[n < sizeof scratch ? n : sizeof scratch - 1] = 0;
  return scratch;
}

bool TPacketTabletDriver::info_int(unsigned category, unsigned index, std::int32_t* value) {
  unsigned char scratch[scratch_size] = {};
  if (library_.WTInfoA(category, index, scratch, sizeof scratch) < 4) return false;
  *value = static_cast<std::int32_t>(get_u32(scratch));
  return true;
}

int TPacketTabletDriver::info_axes(unsigned category, unsigned index, tagAXIS* axes, int count) {
  unsigned char scratch[scratch_size] = {};
  unsigned n = library_.WTInfoA(category, index, scratch, sizeof scratch);
  int read = 0;
  for (; read < count && (read + 1) * tagAXIS::bank_size <= n; ++read)
    axes[read].fromBank(scratch + read * tagAXIS::bank_size);
  return read;
}

int TPacketTabletDriver::Open(TabletWindow window) {
  if (library_.WTInfoA(0, 0, nullptr, 0) == 0) return tablet::fall_back("No tablets connected!");
  hwnd = window ? window : library_.active_window();
  if (!hwnd) return tablet::fall_back("Failed to initialize tablet, no windows open!");

  std::int32_t devices = 0, cursors = 0, contexts = 0;
  info_int(WTI_INTERFACE, IFC_NDEVICES, &devices);
  info_int(WTI_INTERFACE, IFC_NCURSORS, &cursors);
  info_int(WTI_INTERFACE, IFC_NCONTEXTS, &contexts);
  myInfo += "Tablet interface provider: \"" + info_string(WTI_INTERFACE, IFC_WINTABID) + "\"\n";
  myInfo += "Supported # of devices: " + std::to_string(devices) + "\n";
  myInfo += "Supported # of cursors: " + std::to_string(cursors) + "\n";
  myInfo += "Supported # of contexts: " + std::to_string(contexts) + "\n";

  if (library_.WTInfoA(WTI_DEVICES, DVC_NAME, nullptr, 0) == 0) return tablet::fall_back("Failed to examine tablet!");
  return Init(0);
}

int TPacketTabletDriver::Init(int device) {
  // A failed close has already handed over to the mouse simulation.
  if (hctx != 0 && !Close()) return 0;

  unsigned char scratch[scratch_size] = {};
  if (library_.WTInfoA(WTI_DEFSYSCTX, 0, scratch, sizeof scratch) < tagLOGCONTEXT::bank_size)
    return tablet::fall_back("Tablet failed to initialize!");
  context.fromBank(scratch);
  context.set_name(context_name);
  context.lcPktData = PK_ALL;
  context.lcPktMode = 0;
  context.lcOptions |= CXO_MESSAGES;
  context.lcMsgBase = 0x7FF0;
  context.lcMoveMask = context.lcPktData;
  context.lcBtnDnMask = 5;
  context.lcBtnUpMask = context.lcBtnDnMask;

  hctx = library_.WTOpenA(hwnd, context, true);
  if (hctx == 0) return tablet::fall_back("Tablet failed to initialize!");

  // An extent or axis maximum of 0 leaves its scale at 0 (that value then
  // always reads 0) rather than dividing by it.
  std::int32_t extent = 0;
  scaleX = info_int(WTI_DEFSYSCTX, CTX_OUTEXTX, &extent) ? reciprocal(extent) : 0;
  scaleY = info_int(WTI_DEFSYSCTX, CTX_OUTEXTY, &extent) ? reciprocal(extent) : 0;
  scaleZ = info_int(WTI_DEFSYSCTX, CTX_OUTEXTZ, &extent) ? reciprocal(extent) : 0;

  const unsigned category = WTI_DEVICES + unsigned(device);
  tagAXIS axes[3];
  scaleNp = info_axes(category, DVC_NPRESSURE, axes, 1) == 1 ? reciprocal(axes[0].axMax) : 0;
  scaleTp = info_axes(category, DVC_TPRESSURE, axes, 1) == 1 ? reciprocal(axes[0].axMax) : 0;
  float* tilt_scales[3] = {&scaleTiltX, &scaleTiltY, &scaleTiltZ};
  float* rotation_scales[3] = {&scaleRotX, &scaleRotY, &scaleRotZ};
  int n = info_axes(category, DVC_ORIENTATION, axes, 3);
  for (int i = 0; i < 3; ++i) *tilt_scales[i] = i < n ? reciprocal(axes[i].axMax) : 0;
  n = info_axes(category, DVC_ROTATION, axes, 3);
  for (int i = 0; i < 3; ++i) *rotation_scales[i] = i < n ? reciprocal(axes[i].axMax) : 0;
  return 1;
}

int TPacketTabletDriver::Close() {
  if (hctx == 0) return 0;
  if (library_.WTClose(hctx)) {
    hctx = 0;
    return 1;
  }
  return tablet::fall_back("Tablet failed to close!");
}

int TPacketTabletDriver::GetData() {
  if (hctx == 0) return 0;
  if (!library_.window_exists(hwnd)) {
    needRestart = 1;
    return 1;
  }
  if (needRestart) {
    needRestart = 0;
    if (!Init(0)) return 0;
  }

  int read = 0;
  bool last_whole = false;
  while (read < max_packets_per_drain && library_.WTPacketsGet(hctx, 1, &packet) == 1) {
    ++read;
    last_whole = (packet.pkStatus & TPS_QUEUE_ERR) == 0;
  }
  if (read > 0 && last_whole) {
    x = float(packet.pkX) * scaleX;
    y = 1.0f - float(packet.pkY) * scaleY;
    z = float(packet.pkZ) * scaleZ;
    Np = float(packet.pkNormalPressure) * scaleNp;
    Tp = float(packet.pkTangentPressure) * scaleTp;
    tiltX = float(packet.pkOrAzimuth) * scaleTiltX * 360.0f;
    tiltY = float(packet.pkOrAltitude) * scaleTiltY * 90.0f;
    tiltZ = float(packet.pkOrTwist) * scaleTiltZ * 360.0f;
    rotX = float(packet.pkRoPitch) * scaleRotX;
    rotY = float(packet.pkRoRoll) * scaleRotY;
    rotZ = float(packet.pkRoYaw) * scaleRotZ;
  }
  return 1;
}

int TPacketTabletDriver::GetStatus() {
  return GetData() ? int(packet.pkStatus) : 0;
}
int TPacketTabletDriver::GetChanged() {
  return GetData() ? int(packet.pkChanged) : 0;
}
int TPacketTabletDriver::GetTime() {
  return GetData() ? int(packet.pkTime) : 0;
}
int TPacketTabletDriver::GetButtons() {
  return GetData() ? int(packet.pkButtons) : 0;
}
int TPacketTabletDriver::GetCursor() {
  return GetData() ? int(packet.pkCursor) : 0;
}
int TPacketTabletDriver::GetContext() {
  return GetData() ? int(packet.pkContext) : 0;
}
int TPacketTabletDriver::GetSerialNumber() {
  return GetData() ? int(packet.pkSerialNumber) : 0;
}
float TPacketTabletDriver::GetX() {
  return GetData() ? x : 0;
}
float TPacketTabletDriver::GetY() {
  return GetData() ? y : 0;
}
float TPacketTabletDriver::GetZ() {
  return GetData() ? z : 0;
}
float TPacketTabletDriver::GetNormalPressure() {
  return GetData() ? Np : 0;
}
float TPacketTabletDriver::GetTangentPressure() {
  return GetData() ? Tp : 0;
}
float TPacketTabletDriver::GetTiltX() {
  return GetData() ? tiltX : 0;
}
float TPacketTabletDriver::GetTiltY() {
  return GetData() ? tiltY : 0;
}
float TPacketTabletDriver::GetTiltZ() {
  return GetData() ? tiltZ : 0;
}
float TPacketTabletDriver::GetRotationX() {
  return GetData() ? rotX : 0;
}
float TPacketTabletDriver::GetRotationY() {
  return GetData() ? rotY : 0;
}
float TPacketTabletDriver::GetRotationZ() {
  return GetData() ? rotZ : 0;
}

std::string TPacketTabletDriver::GetInfo() {
  myInfo.clear();
  myInfo += DeviceCapabilities(0);
  Init(0);
  return myInfo;
}

std::string TPacketTabletDriver::DebugWTPkt(std::uint32_t flags, const std::string& prefix) {
  std::string text;
  for (int i = 0; i < 14; ++i)
    if (flags & (1u << i)) text += prefix + packet_item_names[i] + "\n";
  return text;
}

std::string TPacketTabletDriver::CursorCapabilities() {
  std::int32_t cursors = 0;
  info_int(WTI_INTERFACE, IFC_NCURSORS, &cursors);
  std::string text;
  for (std::int32_t i = 0; i < cursors && i < 64; ++i)
    text += "Cursor " + std::to_string(i) + ": \"" + info_string(WTI_CURSORS + unsigned(i), CSR_NAME) + "\"\n";
  return text;
}

std::string TPacketTabletDriver::DeviceCapabilities(int device) {
  const unsigned category = WTI_DEVICES + unsigned(device);
  std::int32_t data = 0, modes = 0;
  info_int(category, DVC_PKTDATA, &data);
  info_int(category, DVC_PKTMODE, &modes);
  return "Device " + std::to_string(device) + ": \"" + info_string(category, DVC_NAME) + "\"\n" + "Packet data:\n" +
         DebugWTPkt(std::uint32_t(data), "  ") + "Relative packet items:\n" + DebugWTPkt(std::uint32_t(modes), "  ") +
         CursorCapabilities();
}

}  // namespace platform
