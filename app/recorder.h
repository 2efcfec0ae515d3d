#pragma once
// Writes a live session's input as an input script that replays to the same
// picture: the pointer as each frame read it, the buttons, keys and wheel as
// they arrived between frames, and the answers given to boxes and dialogs.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/window.h"

class Recorder {
 public:
  Recorder(int canvas_w, int canvas_h, std::uint64_t seed);

  void window_event(const platform::WindowEvent& e);
  void key(const std::string& name, bool down);
  void wheel(int notches);
  // A frame begins and reads the pointer at (x, y).
  void begin_frame(float x, float y);
  void end_frame();
  // Answers belong before the frame they are asked in or, when a box is
  // asked between frames, before the frame that just ended.
  void answer(platform::Answer a);
  void choice(const std::optional<std::string>& path);

  std::string text() const;
  // Writes the script, replacing `path` only when complete.
  bool write(const std::string& path, std::string* error) const;

 private:
  void add_answer_line(const std::string& line);

  std::vector<std::string> lines_;
  bool in_frame_ = false;
  bool have_mouse_ = false;
  float mouse_x_ = 0, mouse_y_ = 0;
  long trailing_frames_ = 0;  // the last line is "frame N" with this N (0: it is not a frame line)
};

// Dialogs that pass every answer on to a recorder.
class RecordingDialogs final : public platform::Dialogs {
 public:
  RecordingDialogs(platform::Dialogs& inner, Recorder& recorder) : inner_(inner), recorder_(recorder) {}
  platform::Answer confirm(const std::string& caption, const std::string& text, platform::BoxButtons buttons) override {
    const platform::Answer a = inner_.confirm(caption, text, buttons);
    recorder_.answer(a);
    return a;
  }
  std::optional<std::string> open_file(const std::string& title, const std::string& filters) override {
    std::optional<std::string> path = inner_.open_file(title, filters);
    recorder_.choice(path);
    return path;
  }
  std::optional<std::string> save_file(const std::string& title, const std::string& filters,
                                       const std::string& suggested_name) override {
    std::optional<std::string> path = inner_.save_file(title, filters, suggested_name);
    recorder_.choice(path);
    return path;
  }

 private:
  platform::Dialogs& inner_;
  Recorder& recorder_;
};
