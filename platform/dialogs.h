#pragma once
// Confirmation boxes, the open and save file dialogs, and the other
// services of the desktop a replay stands in for (the help page, the
// clipboard). Live they are the platform's; in a replay (or headless) they
// take queued answers, so every confirmation path can be driven by a script.
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "platform/clipboard.h"
#include "platform/window.h"

namespace platform {

enum class BoxButtons { ok_cancel, yes_no_cancel };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A modal box with a caption and a question; returns the button pressed
  // (closing the box counts as Cancel).
  virtual Answer confirm(const std::string& caption, const std::string& text,
                         BoxButtons buttons = BoxButtons::ok_cancel) = 0;
  // The path chosen, or nullopt when the dialog was cancelled. `filters` is a
  // list of "Description|*.ext;*.ext2" entries separated by '\n'.
  virtual std::optional<std::string> open_file(const std::string& title, const std::string& filters) = 0;
  virtual std::optional<std::string> save_file(const std::string& title, const std::string& filters,
                                               const std::string& suggested_name) = 0;
  // Hands a web address to the system's handler for it. A replay opens
  // nothing.
  virtual void open_url(const std::string& url) {}
  // The picture on the clipboard, or nothing. A replay has the picture its
  // `clipboard` line put there.
  virtual std::optional<ClipboardImage> clipboard_image() { return std::nullopt; }
  // The 8-bit colour of the desktop pixel under the pointer, wherever the
  // pointer is; nothing where the platform cannot read it. A replay reads
  // nothing: its `color` lines stand for the picks.
  virtual std::optional<std::array<uint8_t, 3>> desktop_colour() { return std::nullopt; }
};

// Answers from queues. A box or dialog with nothing queued is cancelled and
// logged on standard error, so a replay never waits on one.
class QueuedDialogs final : public Dialogs {
 public:
  void queue_answer(Answer a) { answers_.push_back(a); }
  void queue_choice(std::optional<std::string> path) { choices_.push_back(std::move(path)); }
  // What the clipboard holds from now on.
  void set_clipboard(ClipboardImage image) { clipboard_ = std::move(image); }
  std::size_t pending() const { return answers_.size() + choices_.size(); }

  Answer confirm(const std::string& caption, const std::string& text, BoxButtons buttons) override;
  std::optional<std::string> open_file(const std::string& title, const std::string& filters) override;
  std::optional<std::string> save_file(const std::string& title, const std::string& filters,
                                       const std::string& suggested_name) override;
  std::optional<ClipboardImage> clipboard_image() override { return clipboard_; }

 private:
  std::optional<std::string> choose(const std::string& title);
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> choices_;
  std::optional<ClipboardImage> clipboard_;
};

}  // namespace platform
