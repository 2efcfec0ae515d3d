#pragma once
// Decoding PNG bytes into 8-bit RGBA, top row first. Any bit depth and colour
// type is converted; pictures wider or taller than max_png_side are refused.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Rgba8Image {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // width x height x 4
  // What the file itself holds, before the conversion to RGBA.
  bool source_grey = false;   // grey samples only
  bool source_alpha = false;  // an alpha channel or a transparent colour
};

inline constexpr int max_png_side = 16384;

// False with `error` set when the bytes are not a PNG this program can read,
// or when the header's size is above `max_side` or its RGBA pixels would
// take more than `max_rgba_bytes`; those are refused before anything is
// decoded.
bool decode_png_rgba8(const uint8_t* data, std::size_t size, Rgba8Image* out, std::string* error,
                      int max_side = max_png_side, std::size_t max_rgba_bytes = SIZE_MAX);
