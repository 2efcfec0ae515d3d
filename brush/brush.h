#pragma once
// The brush object: a style, a prototype bristle through which the bristle
// array is driven, and the settings a brush carries.
#include <memory>
#include <optional>

#include "brush/bristle.h"
#include "base/vec.h"

struct sequence;  // a brush-image sequence

class brush {
 public:
  unsigned char style = 0;  // 0: bristle brush, the only style draw() acts on
  bristle bristles;         // prototype
  bristle_list bristlelist;
  unsigned char bristle_type = 0;
  int bristle_count = 0;
  float bristle_size = 0;
  float bristle_bias = 0;
  float bristle_osc = 0;
  float bristle_chaos = 0;
  float size = 1;
  float size_min = 0;
  float ratio = 0;
  float angle = 0;
  std::optional<vec2d> pos, vel;
  std::shared_ptr<sequence> image_sequence;

  static std::unique_ptr<brush> Create(unsigned char style, int count);
  // Draws the bristle array's segments (style 0 only); the arguments are unused.
  void draw(const vec2d& v, float f);
  // One spring step of every bristle of bristlelist.
  void eval(float x, float y);
};
