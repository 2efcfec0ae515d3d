#include "io/jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace io {

namespace {

struct ErrorManager {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX] = {};
};

void on_error(j_common_ptr info) {
  auto* e = reinterpret_cast<ErrorManager*>(info->err);
  info->err->format_message(info, e->message);
  std::longjmp(e->jump, 1);
}

// libjpeg prints warnings to standard error by default; a damaged picture is
// reported by the caller instead.
void on_message(j_common_ptr) {}

// Warnings (level -1) are how libjpeg reports a file cut short or corrupt
// data, which it would otherwise fill with grey: they fail the read like
// errors. Trace messages (0 and up) are ignored.
void on_emit(j_common_ptr info, int level) {
  if (level < 0) on_error(info);
}

void install(ErrorManager* e) {
  jpeg_std_error(&e->mgr);
  e->mgr.error_exit = on_error;
  e->mgr.emit_message = on_emit;
  e->mgr.output_message = on_message;
}

struct CompressGuard {
  jpeg_compress_struct info{};
  unsigned char* out = nullptr;
  unsigned long out_size = 0;
  ~CompressGuard() {
    jpeg_destroy_compress(&info);
    std::free(out);
  }
};

struct DecompressGuard {
  jpeg_decompress_struct info{};
  ~DecompressGuard() { jpeg_destroy_decompress(&info); }
};

}  // namespace

Result<std::vector<uint8_t>> jpeg_encode(std::span<const uint8_t> rgb, int width, int height, int quality) {
  if (width <= 0 || height <= 0 || width > max_jpeg_side || height > max_jpeg_side ||
      rgb.size() != std::size_t(width) * height * 3)
    return Error{"cannot write a " + std::to_string(width) + " x " + std::to_string(height) + " JPEG"};
  ErrorManager e;
  CompressGuard g;
  install(&e);
  g.info.err = &e.mgr;
  if (setjmp(e.jump)) return Error{std::string("JPEG error: ") + e.message};
  jpeg_create_compress(&g.info);
  jpeg_mem_dest(&g.info, &g.out, &g.out_size);
  g.info.image_width = JDIMENSION(width);
  g.info.image_height = JDIMENSION(height);
  g.info.input_components = 3;
  g.info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&g.info);
  jpeg_set_quality(&g.info, quality, TRUE);
  jpeg_start_compress(&g.info, TRUE);
  while (g.info.next_scanline < g.info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + std::size_t(g.info.next_scanline) * width * 3);
    jpeg_write_scanlines(&g.info, &row, 1);
  }
  jpeg_finish_compress(&g.info);
  return std::vector<uint8_t>(g.out, g.out + g.out_size);
}

Result<Pixmap> jpeg_decode(std::span<const uint8_t> data, const PictureLimits& limits) {
  if (data.size() < 3 || data[0] != 0xFF || data[1] != 0xD8) return Error{"not a JPEG file"};
  ErrorManager e;
  DecompressGuard g;
  Pixmap p;
  install(&e);
  g.info.err = &e.mgr;
  if (setjmp(e.jump)) return Error{std::string("JPEG error: ") + e.message};
  jpeg_create_decompress(&g.info);
  jpeg_mem_src(&g.info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&g.info, TRUE);
  const JDIMENSION w = g.info.image_width, h = g.info.image_height;
  // A JPEG packs at most a few hundred pixels into a byte; more than that is
  // a size the file cannot hold.
  const JDIMENSION side = JDIMENSION(std::clamp(limits.max_side, 1, max_jpeg_side));
  if (w == 0 || h == 0 || w > side || h > side || double(w) * h > double(data.size()) * 4096 ||
      double(w) * h * 4 > double(limits.max_rgba_bytes))
    return Error{"picture size " + std::to_string(w) + " x " + std::to_string(h) + " is out of range"};
  g.info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&g.info);
  if (g.info.output_components != 3) return Error{"unsupported JPEG colour layout"};
  p.width = int(w);
  p.height = int(h);
  p.channels = 3;
  p.pixels.resize(std::size_t(w) * h * 3);
  while (g.info.output_scanline < h) {
    JSAMPROW row = p.pixels.data() + std::size_t(g.info.output_scanline) * w * 3;
    jpeg_read_scanlines(&g.info, &row, 1);
  }
  jpeg_finish_decompress(&g.info);
  return p;
}

}  // namespace io
