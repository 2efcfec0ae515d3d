#pragma once
// Stretches the colours of a layer to the full range: the darkest painted
// colour becomes black and the brightest white, judged on a blurred copy so
// single stray pixels do not decide.
#include <cstddef>
#include <limits>

#include "gpu/buffer.h"

namespace gpu {

struct ColourRange {
  float gain = 1;         // multiplies the length (sqrt(r^2 + g^2 + b^2)) above the black point
  float black_point = 0;  // colour length that becomes black
};

// Collects the range of painted pixels (alpha above 0) over any number of
// RGBA float runs.
class RangeScan {
 public:
  void add(const float* pixels, std::size_t count);
  ColourRange range() const;

 private:
  float lo_ = std::numeric_limits<float>::max(), hi_ = 0;
};

// The range of the painted pixels of an RGBA float picture (`pixels` holds
// w x h x 4 values).
ColourRange painted_range(const float* pixels, int w, int h);

// Normalises `work_col` in place. Leaves paint_image, scratch and view_image
// cleared.
void normalise_colours(const Buffer& work_col);

}  // namespace gpu
