#pragma once
// The command line.
#include <cstdint>
#include <string>
#include <vector>

struct Options {
  bool headless = false;
  bool help = false, version = false;
  bool bench = false;        // print frame-time statistics at the end
  bool full_redraw = false;  // every frame runs every stage, changed or not
  int canvas_w = 1280, canvas_h = 720;
  bool size_given = false;
  std::uint64_t seed = 1;  // of the one random generator
  bool seed_given = false;
  long frames = -1;        // stop after this many frames; -1 runs until exit
  std::string file;        // loaded at start-up: the last plain argument
  std::string replay;      // input script to run instead of a person
  std::string record;      // where the live session's input is written as a script
  std::string export_png;  // the lit picture at the end, 16-bit PNG
};

// False with `error` set for an unknown flag or a bad value.
bool parse_options(const std::vector<std::string>& args, Options* out, std::string* error);

extern const char* const usage_text;
