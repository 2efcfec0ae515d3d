// Builds the on-screen text strip "font.png" from an 8 x 14 console font (PSF1
// or PSF2, gzipped): 97 cells of 8 x 14, cell i holding character 31 + i, white
// glyph pixels on transparent ones.
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tools/png_out.h"

namespace {

constexpr int cell_w = 8, cell_h = 14, cells = 97;

std::vector<uint8_t> read_gz(const char* path) {
  std::vector<uint8_t> out;
  gzFile f = gzopen(path, "rb");
  if (!f) return out;
  uint8_t buf[4096];
  int n;
  while ((n = gzread(f, buf, sizeof buf)) > 0) out.insert(out.end(), buf, buf + n);
  gzclose(f);
  return out;
}

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

struct Font {
  uint32_t count = 0, bytes_per_glyph = 0, height = 0, width = 0;
  const uint8_t* glyphs = nullptr;
  std::map<uint32_t, uint32_t> by_code;  // Unicode code point -> glyph index
};

// Decodes one UTF-8 code point from the PSF2 table; returns false at a separator.
bool next_utf8(const uint8_t*& p, const uint8_t* end, uint32_t& cp) {
  if (p >= end || *p == 0xFF || *p == 0xFE) return false;
  uint8_t c = *p++;
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  cp = extra ? c & (0x3F >> extra) : c;
  while (extra-- > 0 && p < end) cp = cp << 6 | (*p++ & 0x3F);
  return true;
}

bool parse(const std::vector<uint8_t>& d, Font& f) {
  if (d.size() >= 4 && d[0] == 0x36 && d[1] == 0x04) {
    uint8_t mode = d[2];
    f.count = mode & 1 ? 512 : 256;
    f.bytes_per_glyph = f.height = d[3];
    f.width = 8;
    f.glyphs = d.data() + 4;
    size_t table = 4 + size_t(f.count) * f.bytes_per_glyph;
    if (table > d.size()) return false;
    if (mode & 2) {
      uint32_t g = 0;
      for (size_t i = table; i + 1 < d.size() && g < f.count; i += 2) {
        uint32_t u = d[i] | d[i + 1] << 8;
        if (u == 0xFFFF) ++g;
        else if (u != 0xFFFE) f.by_code.emplace(u, g);
      }
    }
    return true;
  }
  if (d.size() >= 32 && le32(d.data()) == 0x864ab572) {
    uint32_t header = le32(&d[8]), flags = le32(&d[12]);
    f.count = le32(&d[16]);
    f.bytes_per_glyph = le32(&d[20]);
    f.height = le32(&d[24]);
    f.width = le32(&d[28]);
    size_t table = header + size_t(f.count) * f.bytes_per_glyph;
    if (table > d.size()) return false;
    f.glyphs = d.data() + header;
    if (flags & 1) {
      const uint8_t* p = d.data() + table;
      const uint8_t* end = d.data() + d.size();
      for (uint32_t g = 0; g < f.count && p < end; ++g) {
        uint32_t cp;
        while (p < end && *p != 0xFF) {
          if (*p == 0xFE) {  // multi-code-point sequences: skip to the entry's end
            while (p < end && *p != 0xFF) ++p;
            break;
          }
          if (next_utf8(p, end, cp)) f.by_code.emplace(cp, g);
        }
        if (p < end) ++p;
      }
    }
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_font FONT.psf.gz OUT.png\n");
    return 2;
  }
  std::vector<uint8_t> data = read_gz(argv[1]);
  Font font;
  if (!parse(data, font) || font.width != cell_w || font.height != cell_h) {
    std::fprintf(stderr, "make_font: %s is not an 8 x 14 PSF font\n", argv[1]);
    return 1;
  }
  const int w = cell_w * cells;
  std::vector<uint8_t> rgba(size_t(w) * cell_h * 4, 0);
  for (int cell = 1; cell < cells; ++cell) {
    uint32_t code = 31 + cell;
    auto it = font.by_code.find(code);
    uint32_t g = it != font.by_code.end() ? it->second : code;
    if (g >= font.count) continue;
    const uint8_t* glyph = font.glyphs + size_t(g) * font.bytes_per_glyph;
    for (int y = 0; y < cell_h; ++y)
      for (int x = 0; x < cell_w; ++x) {
        if (!(glyph[y] & (0x80 >> x))) continue;
        uint8_t* px = &rgba[(size_t(y) * w + cell * cell_w + x) * 4];
        px[0] = px[1] = px[2] = px[3] = 255;
      }
  }
  return write_rgba_png(argv[2], w, cell_h, rgba) ? 0 : 1;
}
