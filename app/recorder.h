#pragma once
// Writes a live session's input as an input script that replays to the same
// picture: the pointer as each frame read it, the buttons, keys and wheel as
// they arrived between frames, and the answers given to boxes and dialogs.
#include <chrono>
#include <cstdint>
#include <cstdio>
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
  // A picture the session took from the clipboard: saved beside the
  // recording as RECORDING.pasteN.png, with a `clipboard` line for it.
  void clipboard(const platform::ClipboardImage& image);
  // A colour the session picked from the desktop, as a `color` line.
  void colour(float r, float g, float b);

  // The whole script so far.
  std::string text() const;

  // Records into `path` as the session goes, so that a crash keeps what was
  // recorded up to a second before it. False with the reason when the file
  // cannot be created.
  bool open(const std::string& path, std::string* error);
  // Writes the rest and closes the file.
  bool finish(std::string* error);
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

 private:
  void add_answer_line(const std::string& line);
  // Writes the lines that can no longer change.
  void flush();
  void note_write_error();

  std::string written_;             // the lines already in the file
  std::vector<std::string> lines_;  // the lines still to write
  bool in_frame_ = false;
  bool have_mouse_ = false;
  float mouse_x_ = 0, mouse_y_ = 0;
  long trailing_frames_ = 0;  // the last line is "frame N" with this N (0: it is not a frame line)
  std::FILE* file_ = nullptr;
  std::string path_;
  int write_error_ = 0;  // errno of the first failed write
  std::chrono::steady_clock::time_point last_flush_;
  int pastes_ = 0;
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
  void open_url(const std::string& url) override { inner_.open_url(url); }
  std::optional<platform::ClipboardImage> clipboard_image() override {
    std::optional<platform::ClipboardImage> image = inner_.clipboard_image();
    if (image) recorder_.clipboard(*image);
    return image;
  }
  std::optional<std::array<uint8_t, 3>> desktop_colour() override {
    std::optional<std::array<uint8_t, 3>> c = inner_.desktop_colour();
    if (c) recorder_.colour((*c)[0] / 255.0f, (*c)[1] / 255.0f, (*c)[2] / 255.0f);
    return c;
  }

 private:
  platform::Dialogs& inner_;
  Recorder& recorder_;
};
