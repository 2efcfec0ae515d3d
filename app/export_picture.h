#pragma once
// Writing the lit picture of the last frame as a 16-bit PNG, or the painting
// as OpenRaster.
#include <string>

// The display's lit picture (every layer over the canvas) at canvas size.
// A name ending in ".ora" writes the layers and the lit picture as an
// OpenRaster image. False with `error` set when there is none yet or the file
// cannot be written.
bool export_lit_picture(const std::string& path, std::string* error);
