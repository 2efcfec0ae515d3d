#pragma once
// Which kind of file a name asks for: its final extension alone decides,
// whatever its case, so "old.pngs/painting.olp" is a project.
#include <string_view>

namespace io {

enum class FileKind { unknown, png, jpg, olp, ols, oli, olc, pal, ora };

FileKind file_kind(std::string_view name);

}  // namespace io
