#pragma once
// The input script's pen as a tablet: each frame in which the script holds the
// pen posts one packet, so scripted strokes take the same road through the
// driver as a real pen's; "pen off" takes the pen out of proximity.
#include <cstdint>

#include "platform/input.h"
#include "platform/tablet_queue.h"

namespace platform {

class ScriptedPenTablet final : public PacketTablet {
 public:
  // `window` stands for the window the pen draws on.
  ScriptedPenTablet(Input& input, TabletWindow window);
  void next_frame() override;

  // The packet a scripted sample makes, in this tablet's axes.
  static tagPACKET packet_of(const PenSample& sample);

 private:
  Input& input_;
  std::uint32_t frames_ = 0;
};

}  // namespace platform
