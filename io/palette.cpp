#include "io/palette.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace io {

namespace {

constexpr std::string_view gimp_magic = "GIMP Palette";

PaletteColor from_bytes(int r, int g, int b) {
  auto unit = [](int v) { return float(std::clamp(v, 0, 255)) / 255.0f; };
  return {unit(r), unit(g), unit(b)};
}

bool starts_with(std::span<const uint8_t> bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() && std::memcmp(bytes.data(), prefix.data(), prefix.size()) == 0;
}

// The lines of a text file; a line ends at LF, and a CR before it is dropped.
// A last line without LF still counts.
std::vector<std::string_view> split_lines(std::span<const uint8_t> bytes) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// A decimal integer after optional blanks, saturated far beyond 0..255 so that
// clamping gives the right end; advances `s` past it. False when none is there.
bool read_int(std::string_view& s, int* out) {
  std::size_t i = 0;
  while (i < s.size() && is_space(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  std::size_t first = i;
  long long v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) v = std::min<long long>(v * 10 + (s[i] - '0'), 1 << 20);
  if (i == first) return false;
  *out = int(negative ? -v : v);
  s.remove_prefix(i);
  return true;
}

// The first three integers of a colour line, clamped to 0..255, or false for
// a short line.
bool read_components(std::string_view line, int rgb[3]) {
  for (int i = 0; i < 3; ++i) {
    if (!read_int(line, &rgb[i])) return false;
    rgb[i] = std::clamp(rgb[i], 0, 255);
  }
  return true;
}

bool read_rgb(std::string_view line, PaletteColor* color) {
  int rgb[3];
  if (!read_components(line, rgb)) return false;
  *color = from_bytes(rgb[0], rgb[1], rgb[2]);
  return true;
}

Result<Palette> some_colors(Palette p, const char* kind) {
  if (p.colors.empty()) return Error{std::string("the ") + kind + " palette holds no colours"};
  return p;
}

Error too_many(const char* kind) {
  return Error{std::string("the ") + kind + " palette holds more than " + std::to_string(max_palette_colors) +
               " colours"};
}

}  // namespace

Result<Palette> read_riff_palette(std::span<const uint8_t> bytes) {
  // "RIFF", length, "PAL ", "data", chunk length, version, entry count, then
  // the entries: red, green, blue and a flags byte each.
  constexpr std::size_t count_at = 22, entries_at = 24;
  if (!starts_with(bytes, "RIFF")) return Error{"this is not a RIFF palette"};
  if (bytes.size() < 12 || std::memcmp(bytes.data() + 8, "PAL ", 4) != 0)
    return Error{"this RIFF file holds no palette"};
  if (bytes.size() < entries_at) return Error{"the RIFF palette ends before its entry count"};
  const std::size_t stated = std::size_t(bytes[count_at]) | std::size_t(bytes[count_at + 1]) << 8;
  const std::size_t present = std::min(stated, (bytes.size() - entries_at) / 4);
  Palette p;
  p.colors.reserve(present);
  for (std::size_t i = 0; i < present; ++i) {
    const uint8_t* e = bytes.data() + entries_at + 4 * i;
    p.colors.push_back(from_bytes(e[0], e[1], e[2]));
  }
  return some_colors(std::move(p), "RIFF");
}

Result<Palette> read_jasc_palette(std::span<const uint8_t> bytes) {
  if (!starts_with(bytes, "JASC")) return Error{"this is not a JASC palette"};
  const std::vector<std::string_view> lines = split_lines(bytes);
  // "JASC-PAL", a version line, the entry count, then one line per colour.
  int stated = 0;
  std::string_view count_line = lines.size() > 2 ? lines[2] : std::string_view();
  if (!read_int(count_line, &stated) || stated < 0) return Error{"the JASC palette states no colour count"};
  const std::size_t last = std::min(lines.size(), std::size_t(stated) + 3);
  Palette p;
  p.report = "parlen: " + std::to_string(lines.size()) + "\n" + std::to_string(stated) + "\n";
  for (std::size_t i = 3; i < last; ++i) {
    int rgb[3];
    if (!read_components(lines[i], rgb)) continue;
    if (p.colors.size() == max_palette_colors) return too_many("JASC");
    p.report += "pos:" + std::to_string(p.colors.size()) + " r:" + std::to_string(rgb[0]) +
                "g:" + std::to_string(rgb[1]) + "b:" + std::to_string(rgb[2]) + "\n";
    p.colors.push_back(from_bytes(rgb[0], rgb[1], rgb[2]));
  }
  return some_colors(std::move(p), "JASC");
}

Result<Palette> read_gimp_palette(std::span<const uint8_t> bytes) {
  if (!starts_with(bytes, gimp_magic)) return Error{"this is not a GIMP palette"};
  const std::vector<std::string_view> lines = split_lines(bytes);
  Palette p;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (line.starts_with("Name:")) {
      line.remove_prefix(5);
      while (!line.empty() && is_space(line.front())) line.remove_prefix(1);
      p.name = std::string(line);
      continue;
    }
    PaletteColor c;
    // "Columns:", comments and blank lines hold no colour.
    if (line.starts_with("#") || !read_rgb(line, &c)) continue;
    if (p.colors.size() == max_palette_colors) return too_many("GIMP");
    p.colors.push_back(c);
  }
  return some_colors(std::move(p), "GIMP");
}

Result<Palette> read_palette(std::span<const uint8_t> bytes) {
  if (starts_with(bytes, "RIFF")) return read_riff_palette(bytes);
  if (starts_with(bytes, "JASC")) return read_jasc_palette(bytes);
  if (starts_with(bytes, gimp_magic)) return read_gimp_palette(bytes);
  return Error{"this is not a palette this program can read (RIFF, JASC or GIMP)"};
}

bool write_gimp_palette(Output& out, const Palette& palette) {
  auto byte = [](float v) { return std::isfinite(v) ? int(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)) : 0; };
  // A name runs to the end of its line.
  std::string name = palette.name;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  std::string text = std::string(gimp_magic) + "\nName: " + name + "\nColumns: 16\n#\n";
  for (const PaletteColor& c : palette.colors) {
    char line[32];
    std::snprintf(line, sizeof line, "%3d %3d %3d\n", byte(c.r), byte(c.g), byte(c.b));
    text += line;
  }
  return out.write(text.data(), text.size());
}

}  // namespace io
