#pragma once
// What changed since the picture in the window was made, and so which stages
// of a frame must run: the simulation, the display of the layers, and the
// window draw (the picture at the view with the status text over it). A frame
// in which nothing changed runs none of them and presents nothing.
#include <vector>

struct FrameChanges {
  bool forced = false;       // every stage runs: the first frame, the full-redraw mode, a file command
  bool window = false;       // the client size
  bool view = false;         // zoom, offset, angle or magnification of the picture in the window
  bool stroke = false;       // the brush painted, or a stroke ended
  bool flow = false;         // the simulation would still change something
  bool paint_flows = false;  // the flow may move paint this frame
  bool settings = false;     // a value the simulation or the display reads, the layer stack or its content
  bool gui = false;          // the status text, or a colour pick that reads the window

  bool simulate() const { return forced || stroke || flow || settings; }
  bool display() const { return forced || stroke || paint_flows || settings; }
  bool draw_window() const { return display() || window || view || gui; }
  bool any() const { return simulate() || draw_window(); }
};

// Finds the changes by comparing what the stages read with what they read
// when the tracker was last asked. Owned by the frame.
class ChangeTracker {
 public:
  // Every frame runs every stage (to check that the shortcuts change nothing).
  bool always_full = false;

  // The changes of this frame; `painted` and `stroke_ended` come from the
  // frame, the rest is read from the application state. Call once a frame,
  // after painting and before the simulation.
  FrameChanges take(bool painted, bool stroke_ended, bool window_resized, bool colour_pick);
  // The next frame runs every stage.
  void invalidate() { first_ = true; }

 private:
  std::vector<float> settings_, view_, gui_;
  std::vector<float> scratch_;
  bool first_ = true;
};

extern ChangeTracker change_tracker;
