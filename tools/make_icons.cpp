// Draws the four 64 x 64 tool icons of the control panel: paint, smudge, erase
// and average, and the paint icon at the other sizes the desktop's icon theme
// asks for. Shapes are signed-distance functions drawn on a 64-unit square,
// anti-aliased over a pixel at any size.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tools/png_out.h"

namespace {

constexpr int design = 64;  // the square the shapes are drawn on

struct Canvas {
  explicit Canvas(int side = design) : size(side), rgba(std::size_t(side) * side * 4, 0.0f) {}
  int size;
  std::vector<float> rgba;

  // Paints colour c with coverage from the signed distance d(x, y) (negative inside).
  void fill(const std::function<float(float, float)>& d, float r, float g, float b, float a = 1.0f) {
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const float scale = float(design) / float(size);
        float cover = std::clamp(0.5f - d((x + 0.5f) * scale, (y + 0.5f) * scale) / scale, 0.0f, 1.0f) * a;
        float* p = &rgba[(y * size + x) * 4];
        p[0] = p[0] * (1 - cover) + r * cover;
        p[1] = p[1] * (1 - cover) + g * cover;
        p[2] = p[2] * (1 - cover) + b * cover;
        p[3] = p[3] * (1 - cover) + cover;
      }
  }

  bool save(const std::string& path) const {
    std::vector<uint8_t> out(rgba.size());
    for (size_t i = 0; i < out.size(); ++i) out[i] = uint8_t(std::clamp(rgba[i], 0.0f, 1.0f) * 255.0f + 0.5f);
    return write_rgba_png(path, size, size, out);
  }
};

float circle(float x, float y, float cx, float cy, float r) {
  return std::hypot(x - cx, y - cy) - r;
}

// Distance to the segment (ax, ay)-(bx, by), minus a half width.
float capsule(float x, float y, float ax, float ay, float bx, float by, float r) {
  float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
  float t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
  return std::hypot(px - dx * t, py - dy * t) - r;
}

// A rectangle of half sizes (hw, hh) centred at (cx, cy), turned by a radians.
float box(float x, float y, float cx, float cy, float hw, float hh, float a) {
  float px = x - cx, py = y - cy;
  float qx = std::fabs(px * std::cos(a) + py * std::sin(a)) - hw;
  float qy = std::fabs(-px * std::sin(a) + py * std::cos(a)) - hh;
  return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f);
}

Canvas paint_icon(int side = design) {
  Canvas c(side);
  // handle, ferrule, then a loaded tip
  c.fill([](float x, float y) { return capsule(x, y, 52, 12, 34, 30, 4.5f); }, 0.55f, 0.35f, 0.2f);
  c.fill([](float x, float y) { return box(x, y, 30, 34, 7, 4, 0.785f); }, 0.8f, 0.8f, 0.85f);
  c.fill([](float x, float y) { return capsule(x, y, 26, 38, 13, 51, 6.0f - 0.0f); }, 0.9f, 0.3f, 0.15f);
  return c;
}

Canvas smudge_icon() {
  Canvas c;
  // two colour trails pulled into one another by a fingertip
  c.fill([](float x, float y) { return capsule(x, y, 8, 40, 30, 36, 6); }, 0.2f, 0.4f, 0.9f);
  c.fill([](float x, float y) { return capsule(x, y, 8, 26, 30, 32, 6); }, 0.95f, 0.8f, 0.2f);
  c.fill([](float x, float y) { return capsule(x, y, 30, 34, 52, 34, 7); }, 0.45f, 0.65f, 0.45f);
  c.fill([](float x, float y) { return circle(x, y, 50, 24, 7); }, 0.95f, 0.85f, 0.75f);
  return c;
}

Canvas erase_icon() {
  Canvas c;
  c.fill([](float x, float y) { return box(x, y, 34, 30, 18, 10, -0.6f); }, 0.95f, 0.5f, 0.55f);
  c.fill([](float x, float y) { return box(x, y, 24, 37, 8, 10, -0.6f); }, 0.9f, 0.9f, 0.95f);
  c.fill([](float x, float y) { return box(x, y, 32, 56, 22, 1.5f, 0.0f); }, 1, 1, 1, 0.6f);
  return c;
}

Canvas average_icon() {
  Canvas c;
  // concentric rings fading outwards: colour spread evenly over the brush area
  for (int i = 4; i >= 1; --i) {
    float r = 6.0f * i, a = 1.0f - 0.18f * i;
    c.fill([r](float x, float y) { return circle(x, y, 32, 32, r); }, 0.5f + 0.1f * i, 0.5f, 0.7f - 0.08f * i, a);
  }
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_icons OUTDIR [SIZE...]\n");
    return 2;
  }
  std::string dir = argv[1];
  bool ok = paint_icon().save(dir + "/ICON_s_paint.png") && smudge_icon().save(dir + "/ICON_s_smudge.png") &&
            erase_icon().save(dir + "/ICON_s_erase.png") && average_icon().save(dir + "/ICON_s_average.png");
  // The application icon: the paint icon at each size asked for, as ollan_SIZE.png.
  for (int i = 2; i < argc && ok; ++i) {
    const int side = std::atoi(argv[i]);
    if (side < 8 || side > 1024) {
      std::fprintf(stderr, "make_icons: icon size %s is not between 8 and 1024\n", argv[i]);
      return 2;
    }
    ok = paint_icon(side).save(dir + "/ollan_" + std::to_string(side) + ".png");
  }
  return ok ? 0 : 1;
}
