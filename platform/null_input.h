#pragma once
// Input that never presses anything: a headless run with no script.
#include "platform/input.h"

namespace platform {

class NullInput final : public Input {
 public:
  bool key_hit(std::string_view) override { return false; }
  bool key_down(std::string_view) override { return false; }
  void flush_keys() override {}
  void mouse_position(float* x, float* y) override { *x = *y = 0; }
  int wheel() override { return 0; }
  void discard_wheel() override {}
};

}  // namespace platform
