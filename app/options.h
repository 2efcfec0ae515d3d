#pragma once
// The command line.
#include <string>
#include <vector>

struct Options {
  bool headless = false;
  bool help = false, version = false;
  int canvas_w = 1280, canvas_h = 720;
  long frames = -1;       // stop after this many frames; -1 runs until exit
  std::string file;       // loaded at start-up: the last plain argument
};

// False with `error` set for an unknown flag or a bad value.
bool parse_options(const std::vector<std::string>& args, Options* out, std::string* error);

extern const char* const usage_text;
