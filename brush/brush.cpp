#include "brush/brush.h"

std::unique_ptr<brush> brush::Create(unsigned char style, int count) {
  auto b = std::make_unique<brush>();
  b->style = style;
  b->bristle_count = count;
  b->size = 1;
  b->size_min = 0;
  return b;
}

void brush::draw(const vec2d&, float) {
  if (style == 0) bristles.draw_col(bristlelist, 2000);
}

void brush::eval(float x, float y) {
  for (auto& b : bristlelist) b->eval(x, y);
}
