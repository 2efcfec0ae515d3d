#include "app/options.h"

#include <charconv>

#include "io/file_kind.h"
#include "layers/canvas_setup.h"

namespace {

bool parse_long(const std::string& s, long long lo, long long hi, long long* out) {
  long long v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool has_export_extension(const std::string& f) {
  const io::FileKind kind = io::file_kind(f);
  return kind == io::FileKind::png || kind == io::FileKind::ora;
}

}  // namespace

const char* const usage_text =
    "usage: ollan [options] [FILE]\n"
    "  FILE               project (.olp) or picture to open at start-up\n"
    "  --headless         run without a window (EGL, no display needed)\n"
    "  --size WxH         canvas size in pixels (default 1280x720)\n"
    "  --seed N           seed of the random generator (default 1)\n"
    "  --frames N         stop after N frames\n"
    "  --replay SCRIPT    drive the program by an input script (see README)\n"
    "  --record SCRIPT    write this session's input as a script that replays it\n"
    "  --export FILE.png  write the lit picture at the end as a 16-bit PNG (FILE.ora: the layers as OpenRaster)\n"
    "  --bench            print milliseconds per frame (median, min, max), the frame count and\n"
    "                     each stage's median milliseconds and pixels\n"
    "  --full-redraw      every frame simulates, displays and draws everything, changed or not\n"
    "  --help             this text\n"
    "  --version          the program's version\n";

bool parse_options(const std::vector<std::string>& args, Options* out, std::string* error) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string v;
    auto value = [&]() {
      if (i + 1 >= args.size()) {
        *error = a + " needs a value";
        return false;
      }
      v = args[++i];
      return true;
    };
    long long n = 0;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--headless") {
      o.headless = true;
    } else if (a == "--bench") {
      o.bench = true;
    } else if (a == "--full-redraw") {
      o.full_redraw = true;
    } else if (a == "--size") {
      if (!value()) return false;
      size_t x = v.find('x');
      long long w = 0, h = 0;
      if (x == std::string::npos || !parse_long(v.substr(0, x), 16, max_canvas_side, &w) ||
          !parse_long(v.substr(x + 1), 16, max_canvas_side, &h)) {
        *error = "--size wants WxH with sides from 16 to " + std::to_string(max_canvas_side) + ", not " + v;
        return false;
      }
      o.canvas_w = int(w);
      o.canvas_h = int(h);
      o.size_given = true;
    } else if (a == "--seed") {
      if (!value()) return false;
      if (!parse_long(v, 0, 1LL << 53, &n)) {
        *error = "--seed wants a whole number from 0 to 2^53, not " + v;
        return false;
      }
      o.seed = std::uint64_t(n);
      o.seed_given = true;
    } else if (a == "--frames") {
      if (!value()) return false;
      if (!parse_long(v, 0, 1LL << 40, &n)) {
        *error = "--frames wants a whole number, not " + v;
        return false;
      }
      o.frames = long(n);
    } else if (a == "--replay" || a == "--record" || a == "--export") {
      if (!value()) return false;
      if (v.empty()) {
        *error = a + " needs a file name";
        return false;
      }
      if (a == "--export" && !has_export_extension(v)) {
        *error = "--export writes a .png or .ora file, not " + v;
        return false;
      }
      (a == "--replay" ? o.replay : a == "--record" ? o.record : o.export_png) = v;
    } else if (a.size() > 1 && a[0] == '-') {
      *error = "unknown option " + a;
      return false;
    } else if (!o.file.empty()) {
      *error = "one FILE at a time: " + o.file + " and " + a + " were both given";
      return false;
    } else {
      o.file = a;
    }
  }
  if (!o.replay.empty() && !o.record.empty()) {
    *error = "--record writes a live session; a replay is its own script";
    return false;
  }
  *out = o;
  return true;
}
