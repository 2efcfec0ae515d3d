#include "platform/tablet_queue.h"

#include <cstring>

namespace platform {
namespace {

// Copies an answer of `size` bytes, or only says its size when there is no output.
unsigned answer(const void* data, std::size_t size, void* output, std::size_t capacity) {
  if (!output) return unsigned(size);
  const std::size_t n = size < capacity ? size : capacity;
  std::memcpy(output, data, n);
  return unsigned(n);
}

unsigned answer_int(std::int64_t value, void* output, std::size_t capacity) {
  unsigned char bytes[4];
  put_u32(bytes, static_cast<std::uint32_t>(value));
  return answer(bytes, 4, output, capacity);
}

unsigned answer_text(const std::string& text, void* output, std::size_t capacity) {
  // Always terminated, even when cut to the capacity.
  if (output && capacity > 0 && text.size() + 1 > capacity) {
    std::memcpy(output, text.data(), capacity - 1);
    static_cast<char*>(output)[capacity - 1] = 0;
    return unsigned(capacity);
  }
  return answer(text.c_str(), text.size() + 1, output, capacity);
}

unsigned answer_axes(const tagAXIS* axes, int count, void* output, std::size_t capacity) {
  unsigned char bytes[3 * tagAXIS::bank_size];
  for (int i = 0; i < count; ++i) axes[i].toBank(bytes + i * tagAXIS::bank_size);
  return answer(bytes, count * tagAXIS::bank_size, output, capacity);
}

std::uint32_t changed_items(const tagPACKET& a, const tagPACKET& b) {
  std::uint32_t c = PK_TIME | PK_SERIAL_NUMBER;
  if (a.pkContext != b.pkContext) c |= PK_CONTEXT;
  if (a.pkStatus != b.pkStatus) c |= PK_STATUS;
  if (a.pkCursor != b.pkCursor) c |= PK_CURSOR;
  if (a.pkButtons != b.pkButtons) c |= PK_BUTTONS;
  if (a.pkX != b.pkX) c |= PK_X;
  if (a.pkY != b.pkY) c |= PK_Y;
  if (a.pkZ != b.pkZ) c |= PK_Z;
  if (a.pkNormalPressure != b.pkNormalPressure) c |= PK_NORMAL_PRESSURE;
  if (a.pkTangentPressure != b.pkTangentPressure) c |= PK_TANGENT_PRESSURE;
  if (a.pkOrAzimuth != b.pkOrAzimuth || a.pkOrAltitude != b.pkOrAltitude || a.pkOrTwist != b.pkOrTwist)
    c |= PK_ORIENTATION;
  if (a.pkRoPitch != b.pkRoPitch || a.pkRoRoll != b.pkRoRoll || a.pkRoYaw != b.pkRoYaw) c |= PK_ROTATION;
  return c;
}

}  // namespace

PacketTablet::PacketTablet(TabletDescription description, TabletWindow window, std::size_t capacity)
    : description_(std::move(description)), window_(window), capacity_(capacity > 0 ? capacity : 1) {}

void PacketTablet::post(tagPACKET packet, std::uint32_t time_ms) {
  if (open_context_ == 0) return;
  packet.pkContext = open_context_;
  packet.pkTime = posted_ && time_ms <= last_.pkTime ? last_.pkTime + 1 : time_ms;
  packet.pkSerialNumber = posted_ ? last_.pkSerialNumber + 1 : 1;
  packet.pkChanged = posted_ ? changed_items(packet, last_) : PK_ALL;
  last_ = packet;
  posted_ = true;
  if (queue_.size() >= capacity_) {
    queue_.pop_front();
    packet.pkStatus |= TPS_QUEUE_ERR;
  }
  queue_.push_back(packet);
}

void PacketTablet::leave_proximity(std::uint32_t time_ms) {
  if (!posted_ || (last_.pkStatus & TPS_PROXIMITY)) return;
  tagPACKET away = last_;
  away.pkStatus = (away.pkStatus & ~TPS_QUEUE_ERR) | TPS_PROXIMITY;
  away.pkNormalPressure = away.pkTangentPressure = 0;
  away.pkButtons = 0;
  post(away, time_ms);
}

tagLOGCONTEXT PacketTablet::system_context() const {
  tagLOGCONTEXT c;
  c.set_name(description_.interface_name + " system context");
  c.lcPktData = PK_ALL;
  c.lcMoveMask = PK_ALL;
  c.lcInExtX = c.lcOutExtX = description_.x.axMax;
  c.lcInExtY = c.lcOutExtY = description_.y.axMax;
  c.lcInExtZ = c.lcOutExtZ = description_.z.axMax;
  c.lcSensX = c.lcSensY = c.lcSensZ = 0x10000;
  return c;
}

unsigned PacketTablet::WTInfoA(unsigned category, unsigned index, void* output, std::size_t capacity) {
  const TabletDescription& d = description_;
  if (category == 0) return unsigned(tagLOGCONTEXT::bank_size);
  if (category == WTI_INTERFACE) {
    switch (index) {
      case IFC_WINTABID: return answer_text(d.interface_name, output, capacity);
      case IFC_NDEVICES: return answer_int(1, output, capacity);
      case IFC_NCURSORS: return answer_int(std::int64_t(d.cursor_names.size()), output, capacity);
      case IFC_NCONTEXTS: return answer_int(1, output, capacity);
    }
    return 0;
  }
  if (category == WTI_DEFSYSCTX) {
    const tagLOGCONTEXT c = system_context();
    switch (index) {
      case 0: {
        unsigned char bank[tagLOGCONTEXT::bank_size];
        c.toBank(bank);
        return answer(bank, sizeof bank, output, capacity);
      }
      case CTX_OUTEXTX: return answer_int(c.lcOutExtX, output, capacity);
      case CTX_OUTEXTY: return answer_int(c.lcOutExtY, output, capacity);
      case CTX_OUTEXTZ: return answer_int(c.lcOutExtZ, output, capacity);
    }
    return 0;
  }
  if (category == WTI_DEVICES) {
    switch (index) {
      case DVC_NAME: return answer_text(d.device_name, output, capacity);
      case DVC_NCSRTYPES: return answer_int(std::int64_t(d.cursor_names.size()), output, capacity);
      case DVC_FIRSTCSR: return answer_int(0, output, capacity);
      case DVC_PKTDATA: return answer_int(PK_ALL, output, capacity);
      case DVC_PKTMODE: return answer_int(0, output, capacity);
      case DVC_X: return answer_axes(&d.x, 1, output, capacity);
      case DVC_Y: return answer_axes(&d.y, 1, output, capacity);
      case DVC_Z: return answer_axes(&d.z, 1, output, capacity);
      case DVC_NPRESSURE: return answer_axes(&d.normal_pressure, 1, output, capacity);
      case DVC_TPRESSURE: return answer_axes(&d.tangent_pressure, 1, output, capacity);
      case DVC_ORIENTATION: return answer_axes(d.orientation, 3, output, capacity);
      case DVC_ROTATION: return answer_axes(d.rotation, 3, output, capacity);
    }
    return 0;
  }
  if (category >= WTI_CURSORS && category < WTI_CURSORS + d.cursor_names.size() && index == CSR_NAME)
    return answer_text(d.cursor_names[category - WTI_CURSORS], output, capacity);
  return 0;
}

std::uint32_t PacketTablet::WTOpenA(TabletWindow window, const tagLOGCONTEXT&, bool) {
  if (!window_exists(window) || open_context_ != 0) return 0;
  open_context_ = next_context_++;
  queue_.clear();
  return open_context_;
}

bool PacketTablet::WTClose(std::uint32_t context) {
  if (context == 0 || context != open_context_) return false;
  open_context_ = 0;
  queue_.clear();
  return true;
}

int PacketTablet::WTPacketsGet(std::uint32_t context, int count, tagPACKET* packets) {
  if (context == 0 || context != open_context_ || !packets) return 0;
  int n = 0;
  for (; n < count && !queue_.empty(); ++n) {
    packets[n] = queue_.front();
    queue_.pop_front();
  }
  return n;
}

}  // namespace platform
