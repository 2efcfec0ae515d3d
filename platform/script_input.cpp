#include "platform/script_input.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace platform {
namespace {

// Splits a line into words; "double quotes" keep spaces and '#' outside
// quotes starts a comment. False for an unterminated quote.
bool split(std::string_view line, std::vector<std::string>* words) {
  std::string word;
  bool in_word = false, quoted = false;
  for (char ch : line) {
    if (quoted) {
      if (ch == '"') {
        quoted = false;
      } else {
        word += ch;
      }
    } else if (ch == '"') {
      quoted = in_word = true;
    } else if (ch == '#') {
      break;
    } else if (ch == ' ' || ch == '\t' || ch == '\r') {
      if (in_word) words->push_back(std::move(word));
      word.clear();
      in_word = false;
    } else {
      word += ch;
      in_word = true;
    }
  }
  if (quoted) return false;
  if (in_word) words->push_back(std::move(word));
  return true;
}

// A message quotes the script's words: control and non-ASCII bytes of a
// garbage file are shown as \xHH instead of reaching the terminal raw.
std::string escaped(std::string_view text) {
  static const char hex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char ch : text) {
    if (ch >= 0x20 && ch < 0x7f) {
      out += char(ch);
    } else {
      out += "\\x";
      out += hex[ch >> 4];
      out += hex[ch & 15];
    }
  }
  return out;
}

bool number(const std::string& s, double lo, double hi, double* out) {
  double v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v) || v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool whole(const std::string& s, long long lo, long long hi, long long* out) {
  long long v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool ends_with_png(const std::string& f) {
  if (f.size() < 5) return false;
  std::string ext = f.substr(f.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return ext == ".png";
}

int button_number(const std::string& s) {
  if (s == "left") return 1;
  if (s == "right") return 2;
  if (s == "middle") return 3;
  return 0;
}

const std::array<const char*, 48> named_keys = {
    "Return",
    "Escape",
    "Backspace",
    "Tab",
    "Space",
    "Delete",
    "Insert",
    "Home",
    "End",
    "PageUp",
    "PageDown",
    "Left",
    "Right",
    "Up",
    "Down",
    "Left Shift",
    "Right Shift",
    "Left Ctrl",
    "Right Ctrl",
    "Left Alt",
    "Right Alt",
    "Left GUI",
    "Right GUI",
    "CapsLock",
    "Menu",
    "PrintScreen",
    "Keypad +",
    "Keypad -",
    "Keypad *",
    "Keypad /",
    "Keypad Enter",
    "Keypad .",
    "-",
    "=",
    "[",
    "]",
    ";",
    "'",
    ",",
    ".",
    "/",
    "\\",
    "`",
    "Pause",
    "ScrollLock",
    "Numlock",
    "Keypad =",
    "Application",
};

}  // namespace

bool known_key_name(std::string_view name) {
  if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) return true;
  if (name.size() >= 2 && name[0] == 'F') {
    long long n = 0;
    if (whole(std::string(name.substr(1)), 1, 24, &n)) return true;
  }
  if (name.size() == 8 && name.substr(0, 7) == "Keypad " && name[7] >= '0' && name[7] <= '9') return true;
  return std::find(named_keys.begin(), named_keys.end(), name) != named_keys.end();
}

std::unique_ptr<ScriptInput> ScriptInput::parse(std::string_view text, const std::string& name, const Checker& check,
                                                std::string* error) {
  auto script = std::unique_ptr<ScriptInput>(new ScriptInput);
  script->name_ = name;
  int line_no = 0;
  bool framed = false;  // a frame command came before
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t eol = text.find('\n', pos);
    if (eol == std::string_view::npos) eol = text.size();
    std::string_view line = text.substr(pos, eol - pos);
    pos = eol + 1;
    ++line_no;
    auto fail = [&](const std::string& why) {
      *error = name + ":" + std::to_string(line_no) + ": " + escaped(why);
      return nullptr;
    };
    std::vector<std::string> w;
    if (!split(line, &w)) return fail("a quote is not closed");
    if (w.empty()) continue;
    const std::string& cmd = w[0];
    const std::size_t n = w.size();
    Step s{};
    s.line = line_no;
    ScriptCommand c{};
    c.line = line_no;
    double a = 0, b = 0, d = 0;
    long long k = 0;
    if (cmd == "canvas") {
      long long cw = 0, ch = 0;
      if (n != 3 || !whole(w[1], 16, 16384, &cw) || !whole(w[2], 16, 16384, &ch))
        return fail("canvas wants W H, whole numbers from 16 to 16384");
      if (framed) return fail("canvas must come before the first frame");
      c.type = ScriptCommand::Type::canvas;
      c.a = double(cw);
      c.b = double(ch);
      script->preamble_.push_back(c);
      continue;
    } else if (cmd == "seed") {
      if (n != 2 || !whole(w[1], 0, 1LL << 53, &k)) return fail("seed wants a whole number from 0 to 2^53");
      if (framed) return fail("seed must come before the first frame");
      c.type = ScriptCommand::Type::seed;
      c.a = double(k);
      script->preamble_.push_back(c);
      continue;
    } else if (cmd == "mouse") {
      if (n != 3 || !number(w[1], -1e6, 1e6, &a) || !number(w[2], -1e6, 1e6, &b))
        return fail("mouse wants X Y in client pixels");
      s.op = Step::Op::mouse;
      s.x = float(a);
      s.y = float(b);
    } else if (cmd == "down" || cmd == "up") {
      if (n != 2 || !(s.n = button_number(w[1]))) return fail(cmd + " wants left, right or middle");
      s.op = Step::Op::button;
      s.down = cmd == "down";
    } else if (cmd == "key") {
      if (n < 3 || (w[1] != "down" && w[1] != "up" && w[1] != "press"))
        return fail("key wants down, up or press and a key name");
      std::string key = w[2];
      for (std::size_t i = 3; i < n; ++i) key += " " + w[i];
      if (!known_key_name(key)) return fail("unknown key name \"" + key + "\"");
      s.op = w[1] == "down" ? Step::Op::key_down : w[1] == "up" ? Step::Op::key_up : Step::Op::key_press;
      s.key = key;
    } else if (cmd == "wheel") {
      if (n != 2 || !whole(w[1], -1000, 1000, &k)) return fail("wheel wants a whole number of notches");
      s.op = Step::Op::wheel;
      s.n = int(k);
    } else if (cmd == "pen") {
      if (n == 2 && w[1] == "off") {
        s.op = Step::Op::pen_off;
      } else {
        std::size_t m = n;
        if (m > 1 && w[m - 1] == "eraser") {
          s.pen.eraser = true;
          --m;
        }
        if ((m != 2 && m != 4) || !number(w[1], 0, 1, &a))
          return fail("pen wants PRESSURE (0..1) [AZIMUTH ALTITUDE] [eraser], or off");
        s.pen.pressure = float(a);
        if (m == 4) {
          if (!number(w[2], 0, 360, &b) || !number(w[3], 0, 90, &d))
            return fail("pen wants an azimuth of 0..360 and an altitude of 0..90 degrees");
          s.pen.azimuth = float(b);
          s.pen.altitude = float(d);
        }
        s.op = Step::Op::pen;
      }
    } else if (cmd == "frame") {
      k = 1;
      if (n > 2 || (n == 2 && !whole(w[1], 1, 100000000, &k))) return fail("frame wants a count from 1 on");
      s.op = Step::Op::frame;
      s.n = int(k);
      script->total_frames_ += k;
      framed = true;
    } else if (cmd == "set") {
      if (n != 3 || !number(w[2], -1e30, 1e30, &a)) return fail("set wants \"LABEL\" VALUE");
      c.type = ScriptCommand::Type::set;
      c.text = w[1];
      c.a = a;
    } else if (cmd == "color") {
      if (n != 4 || !number(w[1], 0, 1, &a) || !number(w[2], 0, 1, &b) || !number(w[3], 0, 1, &d))
        return fail("color wants R G B, each 0..1");
      c.type = ScriptCommand::Type::color;
      c.a = a;
      c.b = b;
      c.c = d;
    } else if (cmd == "answer") {
      static const std::pair<const char*, Answer> answers[] = {
          {"ok", Answer::ok}, {"cancel", Answer::cancel}, {"yes", Answer::yes}, {"no", Answer::no}};
      auto it = std::find_if(std::begin(answers), std::end(answers),
                             [&](const auto& p) { return n == 2 && w[1] == p.first; });
      if (it == std::end(answers)) return fail("answer wants ok, cancel, yes or no");
      c.type = ScriptCommand::Type::answer;
      c.answer = it->second;
    } else if (cmd == "choose") {
      if (n > 2) return fail("choose wants one file name, or none to cancel");
      c.type = ScriptCommand::Type::choose;
      c.cancelled = n == 1;
      if (n == 2) c.text = w[1];
    } else if (cmd == "export" || cmd == "screenshot" || cmd == "save" || cmd == "load") {
      if (n != 2 || w[1].empty()) return fail(cmd + " wants one file name");
      if ((cmd == "export" || cmd == "screenshot") && !ends_with_png(w[1])) return fail(cmd + " writes a .png file");
      c.type = cmd == "export"       ? ScriptCommand::Type::export_png
               : cmd == "screenshot" ? ScriptCommand::Type::screenshot
               : cmd == "save"       ? ScriptCommand::Type::save
                                     : ScriptCommand::Type::load;
      c.text = w[1];
    } else if (cmd == "clipboard") {
      if (n != 2 || w[1].empty()) return fail("clipboard wants one picture file");
      c.type = ScriptCommand::Type::clipboard;
      c.text = w[1];
    } else {
      return fail("unknown command \"" + cmd + "\"");
    }
    if (cmd == "set" || cmd == "color" || cmd == "answer" || cmd == "choose" || cmd == "export" ||
        cmd == "screenshot" || cmd == "save" || cmd == "load" || cmd == "clipboard") {
      std::string why;
      if (check && !check(c, &why)) return fail(why);
      s.op = Step::Op::command;
      s.command = std::move(c);
    }
    script->steps_.push_back(std::move(s));
  }
  return script;
}

bool ScriptInput::begin_frame(const Runner& run, std::string* error) {
  for (const std::string& key : release_next_frame_) held_[key] = false;
  release_next_frame_.clear();
  if (frames_left_ > 0) {
    --frames_left_;
    return true;
  }
  while (next_ < steps_.size()) {
    const Step& s = steps_[next_++];
    switch (s.op) {
      case Step::Op::mouse:
        mouse_x_ = s.x;
        mouse_y_ = s.y;
        if (sink_) sink_(WindowEvent{WindowEventType::pointer_moved});
        break;
      case Step::Op::button:
        if (sink_) sink_(WindowEvent{s.down ? WindowEventType::button_down : WindowEventType::button_up, s.n});
        break;
      case Step::Op::key_down:
        hits_[s.key] = true;
        held_[s.key] = true;
        break;
      case Step::Op::key_up: held_[s.key] = false; break;
      case Step::Op::key_press:
        hits_[s.key] = true;
        held_[s.key] = true;
        release_next_frame_.push_back(s.key);
        break;
      case Step::Op::wheel: wheel_ += s.n; break;
      case Step::Op::pen:
        pen_live_ = true;
        pen_ = s.pen;
        break;
      case Step::Op::pen_off: pen_live_ = false; break;
      case Step::Op::frame: frames_left_ = s.n - 1; return true;
      case Step::Op::command: {
        std::string why;
        if (!run(s.command, &why)) {
          *error = name_ + ":" + std::to_string(s.line) + ": " + why;
          return false;
        }
        break;
      }
    }
  }
  return false;
}

bool ScriptInput::key_hit(std::string_view key) {
  auto it = hits_.find(key);
  if (it == hits_.end() || !it->second) return false;
  it->second = false;
  return true;
}

bool ScriptInput::key_down(std::string_view key) {
  auto it = held_.find(key);
  return it != held_.end() && it->second;
}

void ScriptInput::flush_keys() {
  hits_.clear();
  held_.clear();
  release_next_frame_.clear();
}

void ScriptInput::mouse_position(float* x, float* y) {
  *x = mouse_x_;
  *y = mouse_y_;
}

bool ScriptInput::scripted_pen(PenSample* s) {
  if (pen_live_) *s = pen_;
  return pen_live_;
}

}  // namespace platform
