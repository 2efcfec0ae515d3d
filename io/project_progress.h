#pragma once
// The small panel shown while a file is written or read: a caption and a
// progress bar, centred on the window, presented at once.
#include <string_view>

#include "io/project_commands.h"

namespace io {

// Shows `caption` with the bar `done` (0..1) full.
void show_progress(FileCommandContext& ctx, std::string_view caption, float done);

// Shows why a file operation failed for a moment (live) and writes it to
// standard error, so that a replay logs it and goes on.
void show_failure(FileCommandContext& ctx, std::string_view caption, std::string_view reason);

}  // namespace io
