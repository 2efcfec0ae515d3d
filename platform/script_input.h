#pragma once
// The input script: a plain-text list of input events and commands, one a
// line, that drives the frame exactly as a person at the window would. The
// whole script is read and checked before the first frame, so a bad line
// stops the run before anything happens. The syntax is in the README.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input.h"
#include "platform/window.h"

namespace platform {

// A script command the input itself does not act on; the application runs it.
struct ScriptCommand {
  enum class Type { canvas, seed, set, color, answer, choose, export_png, screenshot, save, load, clipboard };
  Type type;
  int line = 0;  // 1-based line number in the script
  // set: the label; choose, export, screenshot, save, load, clipboard: the
  // file (choose: empty = cancelled)
  std::string text;
  double a = 0, b = 0, c = 0;  // canvas: W H; seed: N; set: the value; color: R G B
  Answer answer = Answer::cancel;
  bool cancelled = false;  // choose with no file
};

// True when `name` is a key name the script accepts (SDL's names).
bool known_key_name(std::string_view name);

class ScriptInput final : public Input {
 public:
  // Checks a command the application runs (the labels of `set`, say); false
  // with the reason in `error`.
  using Checker = std::function<bool(const ScriptCommand&, std::string* error)>;
  // Runs a command; false with the reason in `error` stops the replay.
  using Runner = std::function<bool(const ScriptCommand&, std::string* error)>;

  // Reads a whole script. Null with "NAME:LINE: reason" in `error` for the
  // first bad line.
  static std::unique_ptr<ScriptInput> parse(std::string_view text, const std::string& name, const Checker& check,
                                            std::string* error);

  // The `canvas` and `seed` commands, which come before the first frame.
  const std::vector<ScriptCommand>& preamble() const { return preamble_; }

  // Where the button presses and releases go: the window's event handler.
  void set_event_sink(std::function<void(const WindowEvent&)> sink) { sink_ = std::move(sink); }

  // Before each frame: runs the script up to the frame's boundary. Returns
  // false when the script holds no more frames (the commands after the last
  // frame have then run) or a command failed (`error` says which line and why).
  bool begin_frame(const Runner& run, std::string* error);

  // Frames the script advances in total.
  long total_frames() const { return total_frames_; }

  bool key_hit(std::string_view key) override;
  bool key_down(std::string_view key) override;
  void flush_keys() override;
  void mouse_position(float* x, float* y) override;
  int wheel() override { return wheel_; }
  void discard_wheel() override { wheel_ = 0; }
  bool scripted_pen(PenSample* s) override;

 private:
  struct Step {
    enum class Op { mouse, button, key_down, key_up, key_press, wheel, pen, pen_off, frame, command } op;
    int line = 0;
    float x = 0, y = 0;
    int n = 0;  // button number, wheel notches, frame count
    bool down = false;
    std::string key;
    PenSample pen;
    ScriptCommand command;
  };

  std::string name_;
  std::vector<ScriptCommand> preamble_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  long frames_left_ = 0;  // frames still to run before the script goes on
  long total_frames_ = 0;
  std::function<void(const WindowEvent&)> sink_;
  std::map<std::string, bool, std::less<>> hits_, held_;
  std::vector<std::string> release_next_frame_;
  float mouse_x_ = 0, mouse_y_ = 0;
  int wheel_ = 0;
  bool pen_live_ = false;
  PenSample pen_;
};

}  // namespace platform
