#include "app/frame_profile.h"

#include <chrono>

#include "platform/gl.h"

FrameProfile frame_profile;

namespace {

double now_ms() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

StageClock::StageClock(StageCost& cost) : cost_(cost) {
  if (!frame_profile.enabled) return;
  // The work queued before the stage is not the stage's.
  glFinish();
  start_ = now_ms();
}

StageClock::~StageClock() {
  if (!frame_profile.enabled) return;
  glFinish();
  cost_.ms += now_ms() - start_;
}
