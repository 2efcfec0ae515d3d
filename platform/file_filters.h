#pragma once
// The filters of the open and save dialogs. The file commands write them as
// "Description|*.ext;*.ext2" entries separated by '\n'; a dialog gets them as
// named lists of glob patterns that match in any case, since GTK's patterns
// are case-sensitive on Linux and IMG_0001.JPG is as much a JPEG as a.jpg.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct FileFilter {
  std::string name;
  std::vector<std::string> patterns;  // shell globs, each letter as a bracket of its two cases
};

// `glob` with every ASCII letter outside a bracket expression replaced by a
// bracket of both its cases: "*.jpg" becomes "*.[jJ][pP][gG]".
std::string any_case_glob(std::string_view glob);

// The entries of `filters`; a line without '|' is skipped, as are empty
// patterns.
std::vector<FileFilter> file_filters(const std::string& filters);

}  // namespace platform
