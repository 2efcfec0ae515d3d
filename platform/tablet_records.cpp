#include "platform/tablet_records.h"

#include <cstring>
#include <sstream>
#include <type_traits>

namespace platform {

static_assert(sizeof(tagPACKET) == 72, "a packet is 18 fields of 4 bytes, as the library writes it");

const char* const packet_item_names[14] = {
    "PK_CONTEXT", "PK_STATUS", "PK_TIME", "PK_CHANGED",         "PK_SERIAL_NUMBER",    "PK_CURSOR",      "PK_BUTTONS",
    "PK_X",       "PK_Y",      "PK_Z",    "PK_NORMAL_PRESSURE", "PK_TANGENT_PRESSURE", "PK_ORIENTATION", "PK_ROTATION"};

void put_u32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

std::uint32_t get_u32(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

namespace {

// The 33 fields of a context in bank order; signed fields travel as their bits.
template <class Context, class Visit>
void each_context_field(Context& c, Visit visit) {
  visit(c.lcOptions), visit(c.lcStatus), visit(c.lcLocks), visit(c.lcMsgBase), visit(c.lcDevice);
  visit(c.lcPktRate), visit(c.lcPktData), visit(c.lcPktMode), visit(c.lcMoveMask), visit(c.lcBtnDnMask);
  visit(c.lcBtnUpMask), visit(c.lcInOrgX), visit(c.lcInOrgY), visit(c.lcInOrgZ), visit(c.lcInExtX);
  visit(c.lcInExtY), visit(c.lcInExtZ), visit(c.lcOutOrgX), visit(c.lcOutOrgY), visit(c.lcOutOrgZ);
  visit(c.lcOutExtX), visit(c.lcOutExtY), visit(c.lcOutExtZ), visit(c.lcSensX), visit(c.lcSensY);
  visit(c.lcSensZ), visit(c.lcSysMode), visit(c.lcSysOrgX), visit(c.lcSysOrgY), visit(c.lcSysExtX);
  visit(c.lcSysExtY), visit(c.lcSysSensX), visit(c.lcSysSensY);
}

}  // namespace

void tagLOGCONTEXT::toBank(unsigned char* buffer) const {
  std::memcpy(buffer, lcName, name_size);
  unsigned char* p = buffer + name_size;
  each_context_field(*this, [&](auto v) {
    put_u32(p, static_cast<std::uint32_t>(v));
    p += 4;
  });
}

void tagLOGCONTEXT::fromBank(const unsigned char* buffer) {
  std::memcpy(lcName, buffer, name_size);
  lcName[name_size - 1] = 0;
  const unsigned char* p = buffer + name_size;
  each_context_field(*this, [&](auto& v) {
    v = static_cast<std::remove_reference_t<decltype(v)>>(get_u32(p));
    p += 4;
  });
}

void tagLOGCONTEXT::set_name(const std::string& name) {
  std::memset(lcName, 0, name_size);
  std::memcpy(lcName, name.data(), name.size() < name_size ? name.size() : name_size - 1);
}

std::string tagPACKET::to_string() const {
  std::ostringstream s;
  s << "pkContext: " << pkContext << "\npkStatus: " << pkStatus << "\npkTime: " << pkTime
    << "\npkChanged: " << pkChanged << "\npkSerialNumber: " << pkSerialNumber << "\npkCursor: " << pkCursor
    << "\npkButtons: " << pkButtons << "\npkX: " << pkX << "\npkY: " << pkY << "\npkZ: " << pkZ
    << "\npkNormalPressure: " << pkNormalPressure << "\npkTangentPressure: " << pkTangentPressure
    << "\npkOrAzimuth: " << pkOrAzimuth << "\npkOrAltitude: " << pkOrAltitude << "\npkOrTwist: " << pkOrTwist
    << "\npkRoPitch: " << pkRoPitch << "\npkRoRoll: " << pkRoRoll << "\npkRoYaw: " << pkRoYaw << "\n";
  return s.str();
}

void tagAXIS::toBank(unsigned char* buffer) const {
  put_u32(buffer, static_cast<std::uint32_t>(axMin));
  put_u32(buffer + 4, static_cast<std::uint32_t>(axMax));
  put_u32(buffer + 8, axUnits);
  put_u32(buffer + 12, axResolution);
}

void tagAXIS::fromBank(const unsigned char* buffer) {
  axMin = static_cast<std::int32_t>(get_u32(buffer));
  axMax = static_cast<std::int32_t>(get_u32(buffer + 4));
  axUnits = get_u32(buffer + 8);
  axResolution = get_u32(buffer + 12);
}

}  // namespace platform
