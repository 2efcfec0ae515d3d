#include "layers/layer_stack.h"

#include <utility>

#include "gpu/display_settings.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"

int layer_index(const layer* l) {
  for (size_t i = 0; i < layers.list.size(); ++i)
    if (layers.list[i].get() == l) return int(i);
  return -1;
}

namespace {

void activate(int index) {
  layers.active = layers.list[size_t(index)].get();
  layers.active_number = index + 1;
  layers.changed = true;
}

// The layer-composite pass of `upper` into `target`, with the colour and
// alpha factors given.
void composite(const layer& upper, const gpu::Buffer& target, GLenum src_rgb, GLenum dst_rgb, GLenum src_a,
               GLenum dst_a) {
  target.bind_target();
  glBlendFuncSeparate(src_rgb, dst_rgb, src_a, dst_a);
  gpu::full_quad();
}

void merge_colour(const layer& u, const layer& l) {
  const gpu::Program& p = gpu::program(gpu::Prog::layer_composite).use();
  p.set_int("premul", u.style == 2 ? 1 : 0).set("visibility", u.visibility);
  glColor4f(u.color[0], u.color[1], u.color[2], u.opacity);
  gpu::bind_texture(0, u.fbo_mat());
  gpu::bind_texture(1, u.fbo_col());
  switch (u.style) {
    case 1: composite(u, l.col, GL_SRC_ALPHA, GL_ONE, GL_ONE, GL_ONE_MINUS_SRC_ALPHA); break;
    case 2: composite(u, l.col, GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA, GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA); break;
    default: composite(u, l.col, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA); break;
  }
}

void merge_amount(const layer& u, const layer& l) {
  glColor4f(1, 1, 1, 1);
  gpu::program(gpu::Prog::layer_composite).use().set_int("premul", 0).set("visibility", u.visibility);
  gpu::bind_texture(0, u.fbo_mat());
  gpu::bind_texture(1, u.fbo_mat());
  composite(u, l.mat, GL_SRC_ALPHA, GL_ONE, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
}

void merge_relief(const layer& u, const layer& l) {
  const int w = gpu::geometry.width, h = gpu::geometry.height;
  // The pass reads the lower amount while adding to it: read from a copy.
  glClearColor(0, 0, 0, 0);
  gpu::Buffer before = gpu::Buffer::create(w, h, GL_R32F, GL_RED, GL_MIRRORED_REPEAT);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, l.fbo_matID());
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, before.framebuffer());
  glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  float bump = (u.bump > 0 && l.bump > 0) ? u.bump / l.bump : u.bump;
  glColor4f(1, 1, 1, 1);
  gpu::program(gpu::Prog::mat_relief).use().set("visibility", u.visibility).set("bump", bump);
  gpu::bind_texture(0, u.fbo_mat());
  gpu::bind_texture(1, before.texture());
  composite(u, l.mat, GL_SRC_ALPHA, GL_ONE, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
}

}  // namespace

layer* add_layer() {
  layer* l = layer::Create(layers.active, 0);
  l->bump = gpu::display_settings.new_layer_bump;
  activate(layer_index(l));
  return l;
}

bool merge_down(bool relief) {
  int i = layer_index(layers.active);
  if (i <= 0) return false;
  layer& u = *layers.list[size_t(i)];
  layer& l = *layers.list[size_t(i) - 1];
  u.make_undo_live();
  l.make_undo_live();
  // The merge can be looked back on with the undo toggle.
  l.store_undo();
  activate(i - 1);

  gpu::set_projection(gpu::geometry.width, gpu::geometry.height);
  glEnable(GL_BLEND);
  glBlendEquation(GL_FUNC_ADD);
  merge_colour(u, l);
  if (relief)
    merge_relief(u, l);
  else
    merge_amount(u, l);
  glUseProgram(0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  u.remove();
  return true;
}

bool select_below() {
  int i = layer_index(layers.active);
  if (i <= 0) return false;
  activate(i - 1);
  return true;
}

bool select_above() {
  int i = layer_index(layers.active);
  if (i < 0 || i + 1 >= int(layers.list.size())) return false;
  activate(i + 1);
  return true;
}

bool move_down() {
  int i = layer_index(layers.active);
  if (i <= 0) return false;
  std::swap(layers.list[size_t(i)], layers.list[size_t(i) - 1]);
  activate(i - 1);
  return true;
}

bool move_up() {
  int i = layer_index(layers.active);
  if (i < 0 || i + 1 >= int(layers.list.size())) return false;
  std::swap(layers.list[size_t(i)], layers.list[size_t(i) + 1]);
  activate(i + 1);
  return true;
}

void toggle_hidden() {
  if (!layers.active) return;
  layers.active->hidden ^= 1;
  layers.changed = true;
}

void toggle_undo() {
  if (!layers.active) return;
  layers.active->UNDO_GET ^= undo_showing;
  layers.changed = true;
}

void undo_stroke_start(layer& l, bool keep_snapshot) {
  if (l.UNDO_GET == undo_showing) {
    l.get_undo();
    l.UNDO_GET = 0;
  }
  if (!(l.UNDO_GET & undo_snapshot_taken) && !keep_snapshot) {
    l.store_undo();
    l.UNDO_GET = undo_snapshot_taken;
  }
}

void undo_stroke_end(layer& l) {
  l.UNDO_GET &= static_cast<unsigned char>(~undo_snapshot_taken);
}
