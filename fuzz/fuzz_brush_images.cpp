// Reads the input as a brush-image file; every image read must hold the
// pixels its size asks for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "io/brush_image_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Result<io::BrushImageFile> f = io::read_brush_images({data, size});
  if (f)
    for (const io::BrushImage& image : f->images) {
      const std::size_t pixels = std::size_t(image.width) * std::size_t(image.height);
      if (image.width < 1 || image.height < 1 || image.width > io::max_brush_image_side ||
          image.height > io::max_brush_image_side || image.col.size() != pixels * 4 || image.mat.size() != pixels)
        std::abort();
    }
  return 0;
}
