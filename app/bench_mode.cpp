#include "app/bench_mode.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/frame_profile.h"
#include "platform/gl.h"

namespace {

double now_ms() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

void FrameTimer::begin() {
  frame_profile.enabled = true;
  frame_profile.simulation = frame_profile.display = frame_profile.gui = StageCost{};
  start_ = now_ms();
}

void FrameTimer::end() {
  glFinish();
  ms_.push_back(now_ms() - start_);
  const StageCost* stages[3] = {&frame_profile.simulation, &frame_profile.display, &frame_profile.gui};
  for (int i = 0; i < 3; ++i) {
    stage_ms_[i].push_back(stages[i]->ms);
    stage_px_[i].push_back(stages[i]->pixels);
  }
}

std::string FrameTimer::report() const {
  std::string out = frame_time_report(ms_);
  const char* const names[3] = {"simulation", "display", "gui"};
  char line[96];
  for (int i = 0; i < 3; ++i) {
    std::snprintf(line, sizeof line, "%s_ms: %.3f\n", names[i], median(stage_ms_[i]));
    out += line;
  }
  for (int i = 0; i < 3; ++i) {
    std::snprintf(line, sizeof line, "%s_px: %.0f\n", names[i], median(stage_px_[i]));
    out += line;
  }
  return out;
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
