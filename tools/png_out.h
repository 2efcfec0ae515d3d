#pragma once
// Minimal 8-bit RGBA PNG writer for the build-time resource generators.
#include <cstdint>
#include <string>
#include <vector>

bool write_rgba_png(const std::string& path, int w, int h, const std::vector<uint8_t>& rgba);
