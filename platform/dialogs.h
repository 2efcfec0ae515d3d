#pragma once
// Confirmation boxes and the open and save file dialogs. Live they are the
// platform's boxes and dialogs; in a replay (or headless) they take queued
// answers, so every confirmation path can be driven by a script.
#include <deque>
#include <optional>
#include <string>

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
};

// Answers from queues. A box or dialog with nothing queued is cancelled and
// logged on standard error, so a replay never waits on one.
class QueuedDialogs final : public Dialogs {
 public:
  void queue_answer(Answer a) { answers_.push_back(a); }
  void queue_choice(std::optional<std::string> path) { choices_.push_back(std::move(path)); }
  std::size_t pending() const { return answers_.size() + choices_.size(); }

  Answer confirm(const std::string& caption, const std::string& text, BoxButtons buttons) override;
  std::optional<std::string> open_file(const std::string& title, const std::string& filters) override;
  std::optional<std::string> save_file(const std::string& title, const std::string& filters,
                                       const std::string& suggested_name) override;

 private:
  std::optional<std::string> choose(const std::string& title);
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> choices_;
};

}  // namespace platform
