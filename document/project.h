#pragma once
// Saving and loading the painting as a project: every setting the header
// carries, the optional custom canvas and every layer at full float precision.
// The bytes are io's; this moves them between the file and the GPU and the
// program's state.
#include <functional>
#include <string>
#include <vector>

#include "base/result.h"
#include "io/project_format.h"

namespace document {

using io::ProjectHeader;

// Called after each band saved or loaded with what is being done ("Saving
// canvas...", "Saving project...", "Loading project...") and the fraction
// done (0..1).
using Progress = std::function<void(const char* caption, float done)>;

// The header as the program's state stands (the canvas dials copied into the
// current canvas preset first).
ProjectHeader gather_project_header();

// Replaces the swatch grid by the columns of a file, each re-indexed from 0
// and arranged; the last becomes the current column.
void replace_swatch_grid(const std::vector<std::vector<io::SwatchCell>>& columns);

// Stores the header's settings into the program's state (the canvas size and
// the layer count excepted).
void apply_project_header(const ProjectHeader& h);

// Saves the painting to `path`, replacing the file only when it is complete.
// On an error the previous file is unchanged. `threads` as for write_project.
Result<void> save_project(const std::string& path, const Progress& progress, unsigned threads = 0);

// Loads a project: the file is read and checked whole before the painting is
// touched, so a file that cannot be loaded changes nothing. `screen_w` x
// `screen_h` is the window's client size. A file that ends early loads what
// it holds whole: its complete layers, and the complete bands of the layer it
// ends in (the rest of that layer left empty); the result is then a note that
// says how much ("the file ends after layer 2 of 5"), else empty.
Result<std::string> load_project(const std::string& path, int screen_w, int screen_h, const Progress& progress);

}  // namespace document
