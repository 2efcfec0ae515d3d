// Ollan: thick, wet paint simulated on the GPU.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/options.h"
#include "app/startup.h"
#include "platform/headless_window.h"
#include "platform/live/sdl_window.h"
#include "platform/null_input.h"

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!parse_options(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
    std::fprintf(stderr, "ollan: %s\n%s", error.c_str(), usage_text);
    return 2;
  }
  if (options.help) {
    std::fputs(usage_text, stdout);
    return 0;
  }
  if (options.version) {
    std::printf("Ollan %s\n", OLLAN_VERSION);
    return 0;
  }

  // Exactly one of the two windows exists; the live one is also the input.
  std::unique_ptr<platform::Window> headless;
  std::unique_ptr<platform::SdlWindow> live;
  platform::NullInput no_input;
  platform::Window* window = nullptr;
  platform::Input* input = &no_input;
  if (options.headless) {
    headless = platform::create_headless_window(options.canvas_w, options.canvas_h, &error);
    window = headless.get();
  } else {
    live = platform::open_sdl_window(app.title, options.canvas_w, options.canvas_h, &error);
    window = live.get();
    input = live.get();
  }
  if (!window) {
    std::fprintf(stderr, "ollan: %s\n", error.c_str());
    return 1;
  }
  if (!start_up(*window, *input, options)) {
    std::fprintf(stderr, "ollan: the GPU programs could not be built\n");
    return 1;
  }
  run_main_loop(*window, *input, options.frames);
  release_gpu_objects();
  return 0;
}
