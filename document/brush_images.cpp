#include "document/brush_images.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "gpu/canvas_buffers.h"
#include "gpu/deposit.h"
#include "gpu/dirty_region.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"
#include "layers/layer_stack.h"

namespace document {

BrushImageState brush_images;

namespace {

float distance(const vec2d& a, const vec2d& b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

int clamp_side(float v) {
  return std::clamp(int(std::lround(v)), 1, max_image_side);
}

// The picture of the image in its thumbnail: colour over a dark ground, with
// the paint amount as coverage, fitted in the square with its aspect kept.
void draw_thumbnail(BrushImage& image) {
  const int S = thumbnail_side;
  glClearColor(0.12f, 0.12f, 0.12f, 1);
  image.thumbnail = gpu::Buffer::create(S, S, GL_RGBA8, GL_RGBA, GL_CLAMP_TO_EDGE);
  glClearColor(0, 0, 0, 0);
  gpu::ScopedResolution at(S, S);
  const float scale = float(S) / float(std::max(image.width, image.height));
  const float w = float(image.width) * scale, h = float(image.height) * scale;
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  gpu::program(gpu::Prog::layer_composite).use().set_int("premul", 0).set("visibility", 1.0f);
  gpu::bind_texture(0, image.mat.texture());
  gpu::bind_texture(1, image.col.texture());
  glColor4f(1, 1, 1, 1);
  gpu::textured_rect(0.5f * (float(S) - w), 0.5f * (float(S) - h), w, h);
  gpu::bind_texture(1, 0);
  gpu::bind_texture(0, 0);
  glUseProgram(0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

std::vector<float> read_buffer(const gpu::Buffer& b, GLenum format, int channels) {
  std::vector<float> out(std::size_t(b.width()) * std::size_t(b.height()) * std::size_t(channels));
  glBindFramebuffer(GL_FRAMEBUFFER, b.framebuffer());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, b.width(), b.height(), format, GL_FLOAT, out.data());
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return out;
}

gpu::Buffer filled_buffer(int w, int h, GLenum internal_format, GLenum format, const float* pixels) {
  gpu::Buffer b = gpu::Buffer::create(w, h, internal_format, format, GL_MIRRORED_REPEAT);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  glBindTexture(GL_TEXTURE_2D, b.texture());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, format, GL_FLOAT, pixels);
  glBindTexture(GL_TEXTURE_2D, 0);
  return b;
}

}  // namespace

int add_brush_image(std::string name, gpu::Buffer col, gpu::Buffer mat, int width, int height,
                    const std::array<vec2d, 4>& quad, unsigned char perspective) {
  auto image = std::make_unique<BrushImage>();
  image->col = std::move(col);
  image->mat = std::move(mat);
  image->width = width;
  image->height = height;
  image->huv = quad;
  image->perspective = perspective;
  image->name = std::move(name);
  image->mat.make_mipmapped(GL_LINEAR);
  draw_thumbnail(*image);
  BrushImageState& s = brush_images;
  s.list.push_back(std::move(image));
  if (s.current < 0) s.current = 0;
  ++s.revision;
  return int(s.list.size()) - 1;
}

void remove_brush_image(int i) {
  BrushImageState& s = brush_images;
  if (i < 0 || i >= int(s.list.size())) return;
  s.list.erase(s.list.begin() + i);
  if (s.current > i || s.current >= int(s.list.size())) --s.current;
  if (s.list.empty()) s.current = -1;
  ++s.revision;
}

void clear_brush_images() {
  BrushImageState& s = brush_images;
  s.list.clear();
  s.current = -1;
  ++s.revision;
}

Result<std::array<int, 2>> capture_size(const std::array<vec2d, 4>& q) {
  for (const vec2d& p : q)
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return Error{"a corner of the capture quad is not on the canvas"};
  // Twice the signed area (shoelace); a crossed quad's halves cancel.
  float area2 = 0;
  for (int i = 0; i < 4; ++i) {
    const vec2d& a = q[std::size_t(i)];
    const vec2d& b = q[std::size_t((i + 1) % 4)];
    area2 += a.x * b.y - b.x * a.y;
  }
  if (std::fabs(area2) < 2) return Error{"the capture quad encloses no area: drag its corners apart"};
  const float w = 0.5f * (distance(q[1], q[2]) + distance(q[0], q[3]));
  const float h = 0.5f * (distance(q[0], q[1]) + distance(q[3], q[2]));
  return std::array<int, 2>{clamp_side(w), clamp_side(h)};
}

namespace {

// The quad's corners as canvas texture coordinates.
std::array<std::array<float, 2>, 4> texture_corners(const std::array<vec2d, 4>& quad) {
  const gpu::Geometry& g = gpu::geometry;
  std::array<std::array<float, 2>, 4> c;
  for (std::size_t i = 0; i < 4; ++i) c[i] = {quad[i].x / float(g.width), 1 - quad[i].y / float(g.height)};
  return c;
}

}  // namespace

namespace {

// Image i when it can be laid into the quad: one in the list, and a quad a
// capture would take.
Result<const BrushImage*> placeable_image(int i, const std::array<vec2d, 4>& quad) {
  if (i < 0 || i >= int(brush_images.list.size())) return Error{"there is no brush image to lay"};
  TRY(capture_size(quad));
  return brush_images.list[std::size_t(i)].get();
}

// Draws the image's colour and paint amount into `col` and `mat` through the
// quad (its picture's left edge on A-B, its top on B-C), replacing what lies
// inside the quad; outside it the targets keep their pixels.
void warp_into_quad(const BrushImage& image, const std::array<vec2d, 4>& quad, const gpu::Buffer& col,
                    const gpu::Buffer& mat) {
  const gpu::Geometry& g = gpu::geometry;
  const auto c = texture_corners(quad);
  // The picture's corner (u 0, v 0) is its bottom left, at A.
  const float xuv[4] = {0, 1, 0, 1};
  float x0 = quad[0].x, y0 = quad[0].y, x1 = x0, y1 = y0;
  for (const vec2d& p : quad) {
    x0 = std::min(x0, p.x);
    y0 = std::min(y0, p.y);
    x1 = std::max(x1, p.x);
    y1 = std::max(y1, p.y);
  }
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  for (const auto& [target, source] : {std::pair{&col, &image.col}, std::pair{&mat, &image.mat}}) {
    target->bind_target();
    gpu::set_projection(g.width, g.height);
    // The program leaves every pixel outside the quad: only its box is drawn.
    gpu::ScopedScissor box(gpu::PixelRect::around(x0, y0, x1, y1).grown(1), 1, g.width, g.height);
    gpu::set_quad_warp(c[0].data(), c[1].data(), c[2].data(), c[3].data(), xuv);
    gpu::bind_texture(0, source->texture());
    gpu::full_quad();
  }
  gpu::bind_texture(0, 0);
  glUseProgram(0);
  glEnable(GL_BLEND);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace

Result<void> apply_brush_image(int i, const std::array<vec2d, 4>& quad) {
  layer* l = layers.active;
  if (!l) return Error{"there is no layer to lay the brush image on"};
  TRY_ASSIGN(const BrushImage* image, placeable_image(i, quad));
  l->make_undo_live();
  l->store_undo();
  warp_into_quad(*image, quad, l->col, l->mat);
  layers.changed = true;
  return {};
}

Result<void> preview_brush_image(int i, const std::array<vec2d, 4>& quad) {
  const layer* l = layers.active;
  if (!l) return Error{"there is no layer to lay the brush image on"};
  TRY_ASSIGN(const BrushImage* image, placeable_image(i, quad));
  const gpu::CanvasBuffers& b = gpu::canvas_buffers;
  // The layer's colour around the quad, as the laid image will have it: the
  // display's filtering at the quad's edge then mixes the same colours.
  const int w = b.overlay_col.width(), h = b.overlay_col.height();
  glBindFramebuffer(GL_READ_FRAMEBUFFER, l->col.framebuffer());
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, b.overlay_col.framebuffer());
  glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  b.overlay_mat.bind_target();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  warp_into_quad(*image, quad, b.overlay_col, b.overlay_mat);
  return {};
}

Result<int> capture_brush_image(const std::array<vec2d, 4>& quad, bool perspective) {
  layer* l = layers.active;
  if (!l) return Error{"there is no layer to capture from"};
  TRY_ASSIGN(const auto size, capture_size(quad));
  const int w = size[0], h = size[1];
  const auto corner = texture_corners(quad);
  gpu::Buffer col = gpu::Buffer::create(w, h, GL_RGBA16F, GL_RGBA, GL_MIRRORED_REPEAT);
  gpu::Buffer mat = gpu::Buffer::create(w, h, GL_R32F, GL_RED, GL_MIRRORED_REPEAT);
  const gpu::Program& p = gpu::program(gpu::Prog::perspective_map)
                              .use()
                              .set("pa", corner[0][0], corner[0][1])
                              .set("pb", corner[1][0], corner[1][1])
                              .set("pc", corner[2][0], corner[2][1])
                              .set("pd", corner[3][0], corner[3][1])
                              .set_int("perspective", perspective ? 1 : 0);
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  const auto rectify = [&](const gpu::Buffer& target, GLuint source) {
    target.bind_target();
    gpu::ScopedResolution at(w, h);
    p.use();
    gpu::bind_texture(0, source);
    // (h, k) of the program: h along the top edge B-C, k from it down to A-D.
    glBegin(GL_QUADS);
    const float c[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& v : c) {
      glTexCoord4f(v[0], v[1], v[0], v[1]);
      glVertex2f(v[0] * float(w), v[1] * float(h));
    }
    glEnd();
  };
  rectify(col, l->fbo_col());
  rectify(mat, l->fbo_mat());
  gpu::bind_texture(0, 0);
  glUseProgram(0);
  glEnable(GL_BLEND);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return add_brush_image("snap", std::move(col), std::move(mat), w, h, quad, perspective ? 1 : 0);
}

std::array<vec2d, 4> default_capture_quad(int w, int h) {
  const float cx = 0.5f * float(w), cy = 0.5f * float(h);
  return {vec2d::Create(cx - 64, cy + 64), vec2d::Create(cx - 64, cy - 64), vec2d::Create(cx + 64, cy - 64),
          vec2d::Create(cx + 64, cy + 64)};
}

std::vector<float> read_image_col(const BrushImage& image) {
  return read_buffer(image.col, GL_RGBA, 4);
}

std::vector<float> read_image_mat(const BrushImage& image) {
  return read_buffer(image.mat, GL_RED, 1);
}

gpu::Buffer image_col_buffer(int w, int h, const float* rgba) {
  return filled_buffer(w, h, GL_RGBA16F, GL_RGBA, rgba);
}

gpu::Buffer image_mat_buffer(int w, int h, const float* amounts) {
  return filled_buffer(w, h, GL_R32F, GL_RED, amounts);
}

void reset_brush_images() {
  brush_images = BrushImageState{};
}

}  // namespace document
