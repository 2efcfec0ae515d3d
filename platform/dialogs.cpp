#include "platform/dialogs.h"

#include <cstdio>

namespace platform {

Answer QueuedDialogs::confirm(const std::string& caption, const std::string& text, BoxButtons) {
  if (answers_.empty()) {
    std::fprintf(stderr, "ollan: \"%s\" %s: no answer given, Cancel\n", caption.c_str(), text.c_str());
    return Answer::cancel;
  }
  Answer a = answers_.front();
  answers_.pop_front();
  return a;
}

std::optional<std::string> QueuedDialogs::choose(const std::string& title) {
  if (choices_.empty()) {
    std::fprintf(stderr, "ollan: \"%s\": no file given, cancelled\n", title.c_str());
    return std::nullopt;
  }
  std::optional<std::string> c = std::move(choices_.front());
  choices_.pop_front();
  return c;
}

std::optional<std::string> QueuedDialogs::open_file(const std::string& title, const std::string&) {
  return choose(title);
}

std::optional<std::string> QueuedDialogs::save_file(const std::string& title, const std::string&, const std::string&) {
  return choose(title);
}

}  // namespace platform
