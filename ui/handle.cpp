#include "ui/handle.h"

std::vector<std::shared_ptr<handle>> handle_list;

std::shared_ptr<handle> handle::Create(const vec2d& v, float size) {
  auto h = std::make_shared<handle>();
  h->p = vec2d::Create(v.x, v.y);
  h->d = vec2d::Create(v.x, v.y);
  h->size = size;
  h->col = std::make_shared<std::array<float, 4>>(std::array<float, 4>{1, 1, 1, 0.5f});
  handle_list.push_back(h);
  return h;
}

void handle::update(float zoom, const vec2d& view_offset) {
  d.set_v(p);
  d.scale(zoom);
  d = d.addv(view_offset);
}

void handle::copy(const handle& h) {
  p.set_v(h.p);
  d.set_v(h.d);
  size = h.size;
  col = h.col;
}
