#pragma once
// What the glass of the floating panels refracts: the window picture blurred
// at a quarter of its size, kept only around the open panels and redone only
// where the picture under them changed.
#include <optional>
#include <vector>

#include "gpu/buffer.h"
#include "gpu/dirty_region.h"

namespace ui {

// How far, in window pixels, the glass looks: the refraction shifts what it
// shows by at most `shift`; a blurred texel depends on the pixels within
// `blur` of it; the blur is kept within `area` of the glass; and a pixel of
// glass depends on the window pixels within `glass` of it.
namespace glass_reach {
inline constexpr int shift = 24;
inline constexpr int blur = 24;
inline constexpr int area = shift + 8;
inline constexpr int glass = area + blur;
}  // namespace glass_reach

class GlassBackdrop {
 public:
  // Brings the blur up to date for glass over `footprints` (window pixels,
  // y down) after the copy of the window picture, `screen_copy` of w x h,
  // changed within `changed` (nullopt: anywhere). A footprint not kept by the
  // last update is blurred whole.
  void update(GLuint screen_copy, int w, int h, const std::vector<gpu::PixelRect>& footprints,
              const std::optional<gpu::PixelRect>& changed);
  // The blurred picture, addressed as the window is (texture row 0 at the
  // bottom).
  GLuint texture() const { return blurred_.texture(); }
  // Texels blurred by the updates so far, for tests and benchmarks.
  double texels_blurred() const { return texels_; }

 private:
  void blur(GLuint screen_copy, const gpu::PixelRect& r);

  int w_ = 0, h_ = 0;
  gpu::Buffer shrunk_, across_, blurred_;
  std::vector<gpu::PixelRect> kept_;  // the areas the blur is valid for
  double texels_ = 0;
};

}  // namespace ui
