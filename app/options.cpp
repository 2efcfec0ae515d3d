#include "app/options.h"

#include <charconv>

namespace {

bool parse_long(const std::string& s, long lo, long hi, long* out) {
  long v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
  *out = v;
  return true;
}

}  // namespace

const char* const usage_text =
    "usage: ollan [options] [FILE]\n"
    "  FILE               project (.olp) or picture to open at start-up\n"
    "  --headless         run without a window (EGL, no display needed)\n"
    "  --size WxH         canvas size in pixels (default 1280x720)\n"
    "  --frames N         stop after N frames\n"
    "  --help             this text\n"
    "  --version          the program's version\n";

bool parse_options(const std::vector<std::string>& args, Options* out, std::string* error) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* v) {
      if (i + 1 >= args.size()) {
        *error = a + " needs a value";
        return false;
      }
      *v = args[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--headless") {
      o.headless = true;
    } else if (a == "--size") {
      if (!value(&v)) return false;
      size_t x = v.find('x');
      long w = 0, h = 0;
      if (x == std::string::npos || !parse_long(v.substr(0, x), 16, 16384, &w) ||
          !parse_long(v.substr(x + 1), 16, 16384, &h)) {
        *error = "--size wants WxH with sides from 16 to 16384, not " + v;
        return false;
      }
      o.canvas_w = int(w);
      o.canvas_h = int(h);
    } else if (a == "--frames") {
      if (!value(&v)) return false;
      if (!parse_long(v, 0, 1L << 40, &o.frames)) {
        *error = "--frames wants a whole number, not " + v;
        return false;
      }
    } else if (a.size() > 1 && a[0] == '-') {
      *error = "unknown option " + a;
      return false;
    } else {
      o.file = a;
    }
  }
  *out = o;
  return true;
}
