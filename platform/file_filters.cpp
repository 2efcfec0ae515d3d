#include "platform/file_filters.h"

#include <cctype>
#include <sstream>

namespace platform {

std::string any_case_glob(std::string_view glob) {
  std::string out;
  out.reserve(glob.size() * 4);
  for (std::size_t i = 0; i < glob.size(); ++i) {
    const char c = glob[i];
    if (c == '[') {
      // An existing bracket expression stays as it is; a ']' right after the
      // opening (or after its negation) belongs to the set.
      std::size_t end = i + 1;
      if (end < glob.size() && (glob[end] == '!' || glob[end] == '^')) ++end;
      if (end < glob.size() && glob[end] == ']') ++end;
      end = glob.find(']', end);
      if (end != std::string_view::npos) {
        out.append(glob.substr(i, end - i + 1));
        i = end;
      } else {
        out += "[[]";  // an unclosed '[' is a plain character
      }
      continue;
    }
    const unsigned char u = static_cast<unsigned char>(c);
    if (std::isalpha(u) && u < 128) {
      out += '[';
      out += char(std::tolower(u));
      out += char(std::toupper(u));
      out += ']';
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<FileFilter> file_filters(const std::string& filters) {
  std::vector<FileFilter> out;
  std::istringstream lines(filters);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t bar = line.find('|');
    if (bar == std::string::npos) continue;
    FileFilter f;
    f.name = line.substr(0, bar);
    std::istringstream patterns(line.substr(bar + 1));
    for (std::string p; std::getline(patterns, p, ';');)
      if (!p.empty()) f.patterns.push_back(any_case_glob(p));
    out.push_back(std::move(f));
  }
  return out;
}

}  // namespace platform
