#include "app/recorder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/png16.h"
#include "platform/script_input.h"

namespace {

const char* button_name(int b) {
  return b == 1 ? "left" : b == 2 ? "right" : "middle";
}

std::string frame_line(long n) {
  return n == 1 ? "frame" : "frame " + std::to_string(n);
}

std::string number(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.9g", double(v));
  return buf;
}

}  // namespace

Recorder::Recorder(int canvas_w, int canvas_h, std::uint64_t seed) {
  lines_.push_back("# recorded by ollan");
  lines_.push_back("canvas " + std::to_string(canvas_w) + " " + std::to_string(canvas_h));
  lines_.push_back("seed " + std::to_string(seed));
}

void Recorder::window_event(const platform::WindowEvent& e) {
  using T = platform::WindowEventType;
  if (e.type != T::button_down && e.type != T::button_up) return;
  if (e.button < 1 || e.button > 3) return;
  lines_.push_back(std::string(e.type == T::button_down ? "down " : "up ") + button_name(e.button));
  trailing_frames_ = 0;
}

void Recorder::key(const std::string& name, bool down) {
  // Keys a script cannot name are keys the program never asks about.
  if (!platform::known_key_name(name)) return;
  lines_.push_back(std::string(down ? "key down " : "key up ") + name);
  trailing_frames_ = 0;
}

void Recorder::wheel(int notches) {
  if (notches == 0) return;
  lines_.push_back("wheel " + std::to_string(notches));
  trailing_frames_ = 0;
}

void Recorder::begin_frame(float x, float y) {
  in_frame_ = true;
  if (have_mouse_ && x == mouse_x_ && y == mouse_y_) return;
  have_mouse_ = true;
  mouse_x_ = x;
  mouse_y_ = y;
  lines_.push_back("mouse " + number(x) + " " + number(y));
  trailing_frames_ = 0;
}

void Recorder::end_frame() {
  in_frame_ = false;
  if (trailing_frames_ > 0) {
    lines_.back() = frame_line(++trailing_frames_);
  } else {
    lines_.push_back(frame_line(1));
    trailing_frames_ = 1;
  }
  if (file_ && std::chrono::steady_clock::now() - last_flush_ >= std::chrono::milliseconds(500)) flush();
}

void Recorder::add_answer_line(const std::string& line) {
  if (in_frame_ || trailing_frames_ == 0) {
    lines_.push_back(line);
    trailing_frames_ = 0;
    return;
  }
  // Asked after the last frame: the replay must hold the answer before it.
  lines_.pop_back();
  if (trailing_frames_ > 1) lines_.push_back(frame_line(trailing_frames_ - 1));
  lines_.push_back(line);
  lines_.push_back(frame_line(1));
  trailing_frames_ = 1;
}

void Recorder::answer(platform::Answer a) {
  using A = platform::Answer;
  add_answer_line(std::string("answer ") + (a == A::ok ? "ok" : a == A::yes ? "yes" : a == A::no ? "no" : "cancel"));
}

void Recorder::choice(const std::optional<std::string>& path) {
  add_answer_line(path ? "choose \"" + *path + "\"" : "choose");
}

void Recorder::clipboard(const platform::ClipboardImage& image) {
  const std::string name =
      (path_.empty() ? std::string("recording") : path_) + ".paste" + std::to_string(++pastes_) + ".png";
  std::vector<float> samples(image.pixels.size());
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = float(image.pixels[i]) / 255.0f;
  if (Result<void> r = io::png16_write(name, samples, image.width, image.height, image.channels); !r)
    std::fprintf(stderr, "ollan: the recording cannot keep the pasted picture: %s\n", r.error().message.c_str());
  add_answer_line("clipboard \"" + name + "\"");
}

void Recorder::colour(float r, float g, float b) {
  add_answer_line("color " + number(r) + " " + number(g) + " " + number(b));
}

std::string Recorder::text() const {
  std::string out = written_;
  for (const std::string& l : lines_) out += l + "\n";
  return out;
}

Recorder::~Recorder() {
  if (file_) std::fclose(file_);
}

bool Recorder::open(const std::string& path, std::string* error) {
  file_ = std::fopen(path.c_str(), "w");
  if (!file_) {
    *error = "cannot write the recording " + path + ": " + std::strerror(errno);
    return false;
  }
  path_ = path;
  last_flush_ = std::chrono::steady_clock::now();
  flush();
  return true;
}

void Recorder::note_write_error() {
  if (write_error_ == 0) write_error_ = errno != 0 ? errno : EIO;
}

void Recorder::flush() {
  // The last frame stays pending: an answer given after it belongs before it.
  std::size_t keep = 0;
  if (trailing_frames_ > 1) {
    lines_.back() = frame_line(trailing_frames_ - 1);
    lines_.push_back(frame_line(1));
    trailing_frames_ = 1;
  }
  if (trailing_frames_ == 1) keep = 1;
  std::string out;
  for (std::size_t i = 0; i + keep < lines_.size(); ++i) out += lines_[i] + "\n";
  lines_.erase(lines_.begin(), lines_.end() - std::ptrdiff_t(keep));
  written_ += out;
  if (file_ && !out.empty() && (std::fwrite(out.data(), 1, out.size(), file_) != out.size() || std::fflush(file_) != 0))
    note_write_error();
  last_flush_ = std::chrono::steady_clock::now();
}

bool Recorder::finish(std::string* error) {
  if (!file_) return true;
  std::string out;
  for (const std::string& l : lines_) out += l + "\n";
  written_ += out;
  lines_.clear();
  trailing_frames_ = 0;
  if (std::fwrite(out.data(), 1, out.size(), file_) != out.size()) note_write_error();
  if (std::fclose(file_) != 0) note_write_error();
  file_ = nullptr;
  if (write_error_ != 0) {
    *error = "cannot write the recording " + path_ + ": " + std::strerror(write_error_);
    return false;
  }
  return true;
}
