#pragma once
// Frame-time statistics of the --bench mode.
#include <string>
#include <vector>

class FrameTimer {
 public:
  void begin();
  // Ends the frame's timing after the GPU finished its work, and takes the
  // frame's stage costs from frame_profile.
  void end();
  // "median_ms: ..., min_ms, max_ms, frames", then the median milliseconds
  // and pixels of each stage, one "key: value" a line.
  std::string report() const;
  const std::vector<double>& samples() const { return ms_; }

 private:
  std::vector<double> ms_;
  std::vector<double> stage_ms_[3], stage_px_[3];  // simulation, display, gui
  double start_ = 0;
};

// Median, minimum and maximum of `ms` as report() prints them.
std::string frame_time_report(std::vector<double> ms);
