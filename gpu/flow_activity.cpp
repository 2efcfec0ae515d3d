#include "gpu/flow_activity.h"

#include <algorithm>
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

PixelRect nonzero_box(const Buffer& b, const PixelRect& within, int channels) {
  if (!b) return {};
  const PixelRect r = within.clipped(b.width(), b.height());
  if (r.empty()) return {};
  // Any target of the same size will do: nothing is written, only counted.
  // The buffer itself cannot be the target while it is read.
  const Buffer& target = &b == &canvas_buffers.mat_copy ? canvas_buffers.scratch : canvas_buffers.mat_copy;
  PixelRect box;
  {
    ScopedResolution at(b.width(), b.height());
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer());
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    const GLboolean alpha_test = glIsEnabled(GL_ALPHA_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLint scissor_box[4] = {};
    glGetIntegerv(GL_SCISSOR_BOX, scissor_box);
    glEnable(GL_SCISSOR_TEST);
    program(Prog::nonzero_texels)
        .use()
        .set("channels", 1.0f, 1.0f, channels > 2 ? 1.0f : 0.0f, channels > 2 ? 1.0f : 0.0f);
    // Nearest sampling reads each texel as stored.
    bind_texture(0, b.texture());
    GLint min_filter = 0, mag_filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag_filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    const auto [y0, y1] = passed_span(r, true, b.height());
    if (y1 > y0) {
      const auto [x0, x1] = passed_span({r.x0, y0, r.x1, y1}, false, b.height());
      box = {x0, y0, x1, y1};
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag_filter);
    bind_texture(0, 0);
    glUseProgram(0);
    glScissor(scissor_box[0], scissor_box[1], scissor_box[2], scissor_box[3]);
    if (!scissor) glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (alpha_test) glEnable(GL_ALPHA_TEST);
  }
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return box;
}

void flow_unknown() {
  flow_activity.field_zero = false;
  flow_activity.settled = false;
}

}  // namespace gpu
