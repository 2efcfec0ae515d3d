#include "app/bench_mode.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "platform/gl.h"

namespace {

double now_ms() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void FrameTimer::begin() {
  start_ = now_ms();
}

void FrameTimer::end() {
  glFinish();
  ms_.push_back(now_ms() - start_);
}

std::string FrameTimer::report() const {
  return frame_time_report(ms_);
}

std::string frame_time_report(std::vector<double> ms) {
  double median = 0, lo = 0, hi = 0;
  if (!ms.empty()) {
    std::sort(ms.begin(), ms.end());
    const std::size_t n = ms.size();
    median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    lo = ms.front();
    hi = ms.back();
  }
  char buf[160];
  std::snprintf(buf, sizeof buf, "median_ms: %.3f\nmin_ms: %.3f\nmax_ms: %.3f\nframes: %zu\n", median, lo, hi,
                ms.size());
  return buf;
}
