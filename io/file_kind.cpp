#include "io/file_kind.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace io {

FileKind file_kind(std::string_view name) {
  const std::size_t slash = name.rfind('/');
  const std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
  const std::size_t dot = base.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return FileKind::unknown;
  std::string ext(base.substr(dot + 1));
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  static constexpr std::pair<const char*, FileKind> kinds[] = {
      {"png", FileKind::png}, {"jpg", FileKind::jpg}, {"jpeg", FileKind::jpg},
      {"olp", FileKind::olp}, {"ols", FileKind::ols}, {"oli", FileKind::oli},
      {"olc", FileKind::olc}, {"pal", FileKind::pal}, {"ora", FileKind::ora}};
  for (const auto& [e, kind] : kinds)
    if (ext == e) return kind;
  return FileKind::unknown;
}

}  // namespace io
