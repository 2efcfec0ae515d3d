#include "io/png16.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <vector>

namespace io {
namespace {

struct WriteContext {
  Output* out;
  std::string message;
};

void on_write(png_structp png, png_bytep data, png_size_t size) {
  auto* ctx = static_cast<WriteContext*>(png_get_io_ptr(png));
  if (!ctx->out->write(data, size)) {
    const std::string why = ctx->out->error();
    ctx->message = why.empty() ? "the output refused the bytes" : why;
    png_error(png, ctx->message.c_str());
  }
}

void on_flush(png_structp) {}

void on_error(png_structp png, png_const_charp message) {
  auto* ctx = static_cast<WriteContext*>(png_get_error_ptr(png));
  if (ctx && ctx->message.empty()) ctx->message = message ? message : "libpng error";
  png_longjmp(png, 1);
}

void on_warning(png_structp, png_const_charp) {}

// Frees the libpng structures however the encoder leaves.
struct PngWriter {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngWriter() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

}  // namespace

unsigned short png16_sample(float value) {
  if (!(value > 0)) return 0;
  if (value >= 1) return 65535;
  return static_cast<unsigned short>(value * 65535.0f);
}

Result<void> png16_encode(Output& out, std::span<const float> samples, int w, int h, int channels) {
  if (channels != 3 && channels != 4)
    return Error{"a 16-bit PNG takes 3 or 4 channels, not " + std::to_string(channels)};
  if (w <= 0 || h <= 0 || w > 1000000 || h > 1000000)
    return Error{"picture size " + std::to_string(w) + " x " + std::to_string(h) + " is out of range"};
  const size_t row_samples = size_t(w) * size_t(channels);
  if (samples.size() != row_samples * size_t(h))
    return Error{"picture of " + std::to_string(w) + " x " + std::to_string(h) + " x " + std::to_string(channels) +
                 " needs " + std::to_string(row_samples * size_t(h)) + " samples, got " +
                 std::to_string(samples.size())};

  WriteContext ctx{&out, {}};
  PngWriter writer;
  writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx, on_error, on_warning);
  if (!writer.png) return Error{"libpng could not start"};
  writer.info = png_create_info_struct(writer.png);
  if (!writer.info) return Error{"libpng could not start"};
  std::vector<uint8_t> row(row_samples * 2);
  if (setjmp(png_jmpbuf(writer.png))) return Error{"PNG encoding failed: " + ctx.message};

  png_set_write_fn(writer.png, &ctx, on_write, on_flush);
  png_set_compression_level(writer.png, 9);
  png_set_IHDR(writer.png, writer.info, png_uint_32(w), png_uint_32(h), 16,
               channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(writer.png, writer.info);
  for (int y = 0; y < h; ++y) {
    const float* src = samples.data() + size_t(y) * row_samples;
    for (size_t i = 0; i < row_samples; ++i) {
      unsigned short v = png16_sample(src[i]);
      row[2 * i] = uint8_t(v >> 8);
      row[2 * i + 1] = uint8_t(v & 0xff);
    }
    png_write_row(writer.png, row.data());
  }
  png_write_end(writer.png, writer.info);
  return {};
}

Result<void> png16_write(const std::string& path, std::span<const float> samples, int w, int h, int channels) {
  AtomicFile file(path);
  if (!file.is_open()) return Error{file.error()};
  TRY(png16_encode(file, samples, w, h, channels));
  return file.commit();
}

}  // namespace io
