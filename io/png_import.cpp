#include "io/png_import.h"

#include <png.h>

#include <algorithm>
#include <cstring>

namespace io {

namespace {

struct Reader {
  const uint8_t* data;
  std::size_t size, at;
};

void read_bytes(png_structp png, png_bytep out, png_size_t n) {
  auto* r = static_cast<Reader*>(png_get_io_ptr(png));
  if (n > r->size - r->at) png_error(png, "the PNG data ends early");
  std::memcpy(out, r->data + r->at, n);
  r->at += n;
}

void on_error(png_structp png, png_const_charp message) {
  auto* error = static_cast<std::string*>(png_get_error_ptr(png));
  *error = message;
  png_longjmp(png, 1);
}

void on_warning(png_structp, png_const_charp) {}

// Frees libpng's structures on every way out, the longjmp one included.
struct PngReadGuard {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngReadGuard() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

Error fail(const std::string& why) {
  return Error{"PNG ERROR: " + why};
}

// The picture with the file's own channels: RGBA as decoded, or its grey or
// RGB samples alone.
Pixmap pixmap_from_rgba(int w, int h, int channels, std::vector<uint8_t> rgba) {
  Pixmap p;
  p.width = w;
  p.height = h;
  p.channels = channels;
  if (channels == 4) {
    p.pixels = std::move(rgba);
    return p;
  }
  const std::size_t n = std::size_t(w) * h;
  p.pixels.resize(n * channels);
  for (std::size_t i = 0; i < n; ++i)
    for (int c = 0; c < channels; ++c) p.pixels[i * channels + c] = rgba[i * 4 + c];
  return p;
}

}  // namespace

Result<Pixmap> TPixmapLoaderPNG::LoadPixmap(std::span<const uint8_t> stream, const PictureLimits& limits) {
  const uint8_t* data = stream.data();
  const std::size_t size = stream.size();
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return fail("not a PNG file");
  std::string why;
  Reader reader{data, size, 0};
  PngReadGuard g;
  g.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &why, on_error, on_warning);
  if (!g.png) return fail("libpng could not start");
  g.info = png_create_info_struct(g.png);
  if (!g.info) return fail("libpng could not start");
  std::vector<uint8_t> rgba;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(g.png))) return fail(why);
  png_set_read_fn(g.png, &reader, read_bytes);
  // libpng's own size limit (a million) stays above ours, so that a refused
  // size is reported as one rather than as "Invalid IHDR data".
  png_read_info(g.png, g.info);
  png_uint_32 w = png_get_image_width(g.png, g.info), h = png_get_image_height(g.png, g.info);
  const int max_side = std::clamp(limits.max_side, 1, max_png_side);
  if (w == 0 || h == 0 || w > png_uint_32(max_side) || h > png_uint_32(max_side) ||
      double(w) * h * 4 > double(limits.max_rgba_bytes))
    return fail("picture size " + std::to_string(w) + " x " + std::to_string(h) + " is out of range");
  // Deflate packs at most about 1032 bytes into one, so a picture whose rows
  // could not fit in the file is refused before its pixels are allocated.
  const double raw_rows = double(h) * (double(png_get_rowbytes(g.png, g.info)) + 1);
  if (raw_rows > double(size) * 1032 + 4096)
    return fail("the file is too small for a " + std::to_string(w) + " x " + std::to_string(h) + " picture");
  const int color_type = png_get_color_type(g.png, g.info);
  const bool grey = !(color_type & PNG_COLOR_MASK_COLOR);
  const bool alpha = (color_type & PNG_COLOR_MASK_ALPHA) || png_get_valid(g.png, g.info, PNG_INFO_tRNS);
  png_set_expand(g.png);
  png_set_strip_16(g.png);
  png_set_gray_to_rgb(g.png);
  png_set_add_alpha(g.png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(g.png);
  png_read_update_info(g.png, g.info);
  if (png_get_rowbytes(g.png, g.info) != std::size_t(w) * 4) return fail("unsupported PNG pixel layout");
  rgba.resize(std::size_t(w) * h * 4);
  rows.resize(h);
  for (png_uint_32 y = 0; y < h; ++y) rows[y] = rgba.data() + std::size_t(y) * w * 4;
  png_read_image(g.png, rows.data());
  png_read_end(g.png, nullptr);
  return pixmap_from_rgba(int(w), int(h), alpha ? 4 : grey ? 1 : 3, std::move(rgba));
}

}  // namespace io
