#pragma once
// The records a tablet library and the tablet driver exchange. They keep the
// names and layout of the WinTab records they mirror, so that any library that
// fills them (the XInput2 pens, the scripted pen, a test's fake) can stand
// behind the driver.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// WTInfoA categories and the items the driver asks for.
inline constexpr unsigned WTI_INTERFACE = 1;
inline constexpr unsigned IFC_WINTABID = 1, IFC_NDEVICES = 4, IFC_NCURSORS = 5, IFC_NCONTEXTS = 6;
inline constexpr unsigned WTI_DEFSYSCTX = 4;
inline constexpr unsigned CTX_OUTEXTX = 22, CTX_OUTEXTY = 23, CTX_OUTEXTZ = 24;
inline constexpr unsigned WTI_DEVICES = 100;
inline constexpr unsigned DVC_NAME = 1, DVC_NCSRTYPES = 3, DVC_FIRSTCSR = 4, DVC_PKTDATA = 6, DVC_PKTMODE = 7,
                          DVC_X = 12, DVC_Y = 13, DVC_Z = 14, DVC_NPRESSURE = 15, DVC_TPRESSURE = 16,
                          DVC_ORIENTATION = 17, DVC_ROTATION = 18;
inline constexpr unsigned WTI_CURSORS = 200;
inline constexpr unsigned CSR_NAME = 1;

// Packet items (lcPktData, lcMoveMask, DVC_PKTDATA), one bit each.
inline constexpr std::uint32_t PK_CONTEXT = 0x0001, PK_STATUS = 0x0002, PK_TIME = 0x0004, PK_CHANGED = 0x0008,
                               PK_SERIAL_NUMBER = 0x0010, PK_CURSOR = 0x0020, PK_BUTTONS = 0x0040, PK_X = 0x0080,
                               PK_Y = 0x0100, PK_Z = 0x0200, PK_NORMAL_PRESSURE = 0x0400, PK_TANGENT_PRESSURE = 0x0800,
                               PK_ORIENTATION = 0x1000, PK_ROTATION = 0x2000;
inline constexpr std::uint32_t PK_ALL = 0x3FFF;
// Name of each packet item, in bit order ("PK_CONTEXT" first).
extern const char* const packet_item_names[14];

// pkStatus bits.
inline constexpr std::uint32_t TPS_PROXIMITY = 0x01, TPS_QUEUE_ERR = 0x02, TPS_INVERT = 0x10;

// Cursor numbers a pen reports: its tip and its eraser end.
inline constexpr std::uint32_t pen_tip_cursor = 1, pen_eraser_cursor = 2;

// lcOptions bit: the context posts messages.
inline constexpr std::uint32_t CXO_MESSAGES = 0x0004;

struct tagLOGCONTEXT {
  static constexpr std::size_t bank_size = 172;  // 40 name bytes and 33 fields of 4 bytes
  static constexpr std::size_t name_size = 40;

  char lcName[name_size] = {};
  std::uint32_t lcOptions = 0, lcStatus = 0, lcLocks = 0, lcMsgBase = 0, lcDevice = 0, lcPktRate = 0;
  std::uint32_t lcPktData = 0, lcPktMode = 0, lcMoveMask = 0, lcBtnDnMask = 0, lcBtnUpMask = 0;
  std::int32_t lcInOrgX = 0, lcInOrgY = 0, lcInOrgZ = 0, lcInExtX = 0, lcInExtY = 0, lcInExtZ = 0;
  std::int32_t lcOutOrgX = 0, lcOutOrgY = 0, lcOutOrgZ = 0, lcOutExtX = 0, lcOutExtY = 0, lcOutExtZ = 0;
  std::int32_t lcSensX = 0, lcSensY = 0, lcSensZ = 0;  // fixed point 16.16
  std::uint32_t lcSysMode = 0;
  std::int32_t lcSysOrgX = 0, lcSysOrgY = 0, lcSysExtX = 0, lcSysExtY = 0;
  std::int32_t lcSysSensX = 0, lcSysSensY = 0;

  // The name at bytes 0..39, then field i (in declaration order) at 40 + 4 i,
  // little-endian. `buffer` holds at least bank_size bytes.
  void toBank(unsigned char* buffer) const;
  void fromBank(const unsigned char* buffer);

  // Copies `name`, cut to 39 bytes so that it stays terminated.
  void set_name(const std::string& name);
};

struct tagPACKET {
  std::uint32_t pkContext = 0, pkStatus = 0, pkTime = 0, pkChanged = 0, pkSerialNumber = 0, pkCursor = 0;
  std::uint32_t pkButtons = 0;
  std::int32_t pkX = 0, pkY = 0, pkZ = 0;
  std::uint32_t pkNormalPressure = 0, pkTangentPressure = 0;
  std::int32_t pkOrAzimuth = 0, pkOrAltitude = 0, pkOrTwist = 0;
  std::int32_t pkRoPitch = 0, pkRoRoll = 0, pkRoYaw = 0;

  // Every field with its value, one "name: value" line each.
  std::string to_string() const;
};

struct tagAXIS {
  static constexpr std::size_t bank_size = 16;
  std::int32_t axMin = 0, axMax = 0;
  std::uint32_t axUnits = 0, axResolution = 0;  // resolution is fixed point 16.16

  void toBank(unsigned char* buffer) const;
  void fromBank(const unsigned char* buffer);
};

// 32-bit little-endian values as the records are banked.
void put_u32(unsigned char* p, std::uint32_t v);
std::uint32_t get_u32(const unsigned char* p);

}  // namespace platform
