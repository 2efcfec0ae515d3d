#include "gpu/flow_activity.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "gpu/canvas_buffers.h"
#include "gpu/geometry.h"
#include "gpu/programs.h"

namespace gpu {

FlowActivity flow_activity;

namespace {

// One occlusion query per strip of `count` strips, `size` texels apart; true
// for each strip in which a texel passed.
std::vector<bool> strips_passed(const PixelRect& r, bool rows, int size, int count, int buffer_h) {
  std::vector<GLuint> queries(size_t(count), 0);
  glGenQueries(count, queries.data());
  for (int i = 0; i < count; ++i) {
    PixelRect s = r;
    if (rows) {
      s.y0 = r.y0 + i * size;
      s.y1 = std::min(r.y1, s.y0 + size);
    } else {
      s.x0 = r.x0 + i * size;
      s.x1 = std::min(r.x1, s.x0 + size);
    }
    // GL counts rows from the bottom.
    glScissor(s.x0, buffer_h - s.y1, s.x1 - s.x0, s.y1 - s.y0);
    glBeginQuery(GL_SAMPLES_PASSED, queries[size_t(i)]);
    full_quad();
    glEndQuery(GL_SAMPLES_PASSED);
  }
  std::vector<bool> passed(size_t(count), false);
  for (int i = 0; i < count; ++i) {
    GLuint n = 0;
    glGetQueryObjectuiv(queries[size_t(i)], GL_QUERY_RESULT, &n);
    passed[size_t(i)] = n != 0;
  }
  glDeleteQueries(count, queries.data());
  return passed;
}

// The first and one past the last strip that passed, in texels; empty (a
// range with first == last) when none did.
std::pair<int, int> passed_range(const std::vector<bool>& passed, int start, int end, int size) {
  const auto first = std::find(passed.begin(), passed.end(), true);
  if (first == passed.end()) return {start, start};
  const auto last = std::find(passed.rbegin(), passed.rend(), true);
  const int lo = start + int(first - passed.begin()) * size;
  const int hi = start + int(passed.rend() - last) * size;
  return {lo, std::min(hi, end)};
}

// The first and one past the last row (or column) of `r` in which a texel
// passes: strips first, about fifty of them, then the single lines of the
// two outermost strips that passed. Empty when none did.
std::pair<int, int> passed_span(const PixelRect& r, bool rows, int buffer_h) {
  const int start = rows ? r.y0 : r.x0, end = rows ? r.y1 : r.x1;
  const int size = std::max(1, (std::max(r.x1 - r.x0, r.y1 - r.y0) + 47) / 48);
  const auto [lo, hi] =
      passed_range(strips_passed(r, rows, size, (end - start + size - 1) / size, buffer_h), start, end, size);
  if (hi <= lo || size == 1) return {lo, hi};
  auto lines = [&](int from, int to) {
    PixelRect band = r;
    (rows ? band.y0 : band.x0) = from;
    (rows ? band.y1 : band.x1) = to;
    return passed_range(strips_passed(band, rows, 1, to - from, buffer_h), from, to, 1);
  };
  const int first = lines(lo, std::min(lo + size, hi)).first;
  const int last = lines(std::max(hi - size, lo), hi).second;
  return {first, last};
}

}  // namespace

namespace {

// While alive: counting texels of `texture` (w x h) that are not exactly zero
// in the first `channels` channels, with occlusion queries drawn into
// `target` (canvas-sized, never the texture itself) with no colour written.
class NonzeroCount {
 public:
  NonzeroCount(const Buffer& target, GLuint texture, int w, int h, int channels) : at_(w, h) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer());
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    alpha_test_ = glIsEnabled(GL_ALPHA_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    scissor_ = glIsEnabled(GL_SCISSOR_TEST);
    glGetIntegerv(GL_SCISSOR_BOX, scissor_box_);
    glEnable(GL_SCISSOR_TEST);
    program(Prog::nonzero_texels)
        .use()
        .set("channels", 1.0f, 1.0f, channels > 2 ? 1.0f : 0.0f, channels > 2 ? 1.0f : 0.0f);
    // Nearest sampling reads each texel as stored.
    bind_texture(0, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter_);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag_filter_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  }
  ~NonzeroCount() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag_filter_);
    bind_texture(0, 0);
    glUseProgram(0);
    glScissor(scissor_box_[0], scissor_box_[1], scissor_box_[2], scissor_box_[3]);
    if (!scissor_) glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (alpha_test_) glEnable(GL_ALPHA_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
  }
  NonzeroCount(const NonzeroCount&) = delete;
  NonzeroCount& operator=(const NonzeroCount&) = delete;

 private:
  ScopedResolution at_;
  GLboolean alpha_test_ = GL_FALSE, scissor_ = GL_FALSE;
  GLint scissor_box_[4] = {};
  GLint min_filter_ = 0, mag_filter_ = 0;
};

}  // namespace

PixelRect nonzero_box(const Buffer& b, const PixelRect& within, int channels) {
  if (!b) return {};
  const PixelRect r = within.clipped(b.width(), b.height());
  if (r.empty()) return {};
  // Any target of the same size will do: nothing is written, only counted.
  // The buffer itself cannot be the target while it is read.
  const Buffer& target = &b == &canvas_buffers.mat_copy ? canvas_buffers.scratch : canvas_buffers.mat_copy;
  const NonzeroCount count(target, b.texture(), b.width(), b.height(), channels);
  const auto [y0, y1] = passed_span(r, true, b.height());
  if (y1 <= y0) return {};
  const auto [x0, x1] = passed_span({r.x0, y0, r.x1, y1}, false, b.height());
  return {x0, y0, x1, y1};
}

bool any_nonzero(std::span<const GLuint> textures, int w, int h, const PixelRect& within) {
  const PixelRect r = within.clipped(w, h);
  if (r.empty() || textures.empty()) return false;
  const NonzeroCount count(canvas_buffers.mat_copy, textures[0], w, h, 1);
  // The count reads the first texture as stored; the others too, and each
  // gets its own filters back.
  std::vector<std::array<GLint, 2>> filters(textures.size());
  for (std::size_t i = 1; i < textures.size(); ++i) {
    bind_texture(0, textures[i]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filters[i][0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filters[i][1]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  }
  GLuint query = 0;
  glGenQueries(1, &query);
  glScissor(r.x0, h - r.y1, r.x1 - r.x0, r.y1 - r.y0);
  glBeginQuery(GL_SAMPLES_PASSED, query);
  for (GLuint t : textures) {
    bind_texture(0, t);
    full_quad();
  }
  glEndQuery(GL_SAMPLES_PASSED);
  GLuint passed = 0;
  glGetQueryObjectuiv(query, GL_QUERY_RESULT, &passed);
  glDeleteQueries(1, &query);
  for (std::size_t i = 1; i < textures.size(); ++i) {
    bind_texture(0, textures[i]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filters[i][0]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filters[i][1]);
  }
  bind_texture(0, textures[0]);
  return passed != 0;
}

void flow_unknown() {
  flow_activity.field_zero = false;
  flow_activity.settled = false;
}

}  // namespace gpu
