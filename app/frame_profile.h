#pragma once
// Where a frame's time went, for --bench: the milliseconds of the
// simulation, the display of the layers and the window draw with the GUI,
// each until the GPU finished it, and the pixels each stage worked over
// (0 for a stage the frame left out).
struct StageCost {
  double ms = 0;
  double pixels = 0;
};

struct FrameProfile {
  bool enabled = false;  // the stages are timed; each waits for the GPU, so only for --bench
  StageCost simulation, display, gui;
};

extern FrameProfile frame_profile;

// Times one stage into `cost` while the profile is enabled.
class StageClock {
 public:
  explicit StageClock(StageCost& cost);
  ~StageClock();
  StageClock(const StageClock&) = delete;
  StageClock& operator=(const StageClock&) = delete;

 private:
  StageCost& cost_;
  double start_ = 0;
};
