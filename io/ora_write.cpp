#include <zip.h>

#include <algorithm>
#include <charconv>
#include <memory>

#include "io/ora.h"
#include "io/png16.h"

namespace io {

namespace {

struct ZipDiscard {
  void operator()(zip_t* z) const { zip_discard(z); }
};
struct SourceFree {
  void operator()(zip_source_t* s) const { zip_source_free(s); }
};

std::string xml_escaped(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string number(float v) {
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return ec == std::errc() ? std::string(buf, end) : "1";
}

std::string layer_entry(std::size_t i) {
  return "data/layer" + std::to_string(i) + ".png";
}

std::string stack_xml(int w, int h, std::span<const OraLayerOut> layers) {
  std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<image version=\"0.0.5\" w=\"" + std::to_string(w) +
                  "\" h=\"" + std::to_string(h) + "\">\n <stack>\n";
  for (std::size_t i = 0; i < layers.size(); ++i) {
    const OraLayerOut& l = layers[i];
    x += "  <layer name=\"" + xml_escaped(l.name) + "\" src=\"" + layer_entry(i) + "\" x=\"0\" y=\"0\" opacity=\"" +
         number(l.opacity) + "\" visibility=\"" + (l.visible ? "visible" : "hidden") + "\" composite-op=\"" +
         ora_composite_op(l.style) + "\"/>\n";
  }
  return x + " </stack>\n</image>\n";
}

// Adds `data` (which must live until the archive is closed) as entry `name`.
Result<void> add_entry(zip_t* z, const std::string& name, const std::vector<uint8_t>& data, bool stored) {
  zip_source_t* s = zip_source_buffer(z, data.data(), data.size(), 0);
  if (!s) return Error{"the zip library refused " + name + ": " + zip_strerror(z)};
  const zip_int64_t at = zip_file_add(z, name.c_str(), s, ZIP_FL_ENC_UTF_8);
  if (at < 0) {
    zip_source_free(s);
    return Error{"the zip library refused " + name + ": " + zip_strerror(z)};
  }
  if (stored && zip_set_file_compression(z, zip_uint64_t(at), ZIP_CM_STORE, 0) != 0)
    return Error{"the zip library cannot store " + name + ": " + zip_strerror(z)};
  return {};
}

std::vector<uint8_t> bytes_of(const std::string& s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

Result<std::vector<uint8_t>> png_bytes(std::span<const float> px, int w, int h, int channels) {
  MemoryOutput m;
  TRY(png16_encode(m, px, w, h, channels));
  return std::move(m.bytes);
}

}  // namespace

const char* ora_composite_op(uint8_t style) {
  switch (style) {
    case 1: return "svg:plus";
    case 2: return "svg:multiply";
    default: return "svg:src-over";
  }
}

uint8_t ora_style(const std::string& op) {
  if (op == "svg:plus") return 1;
  if (op == "svg:multiply") return 2;
  return 0;
}

std::vector<float> box_shrink(std::span<const float> px, int w, int h, int channels, int side, int* out_w, int* out_h) {
  const int big = std::max(w, h);
  const int step = big > side ? (big + side - 1) / side : 1;
  const int tw = std::max(1, w / step), th = std::max(1, h / step);
  std::vector<float> out(std::size_t(tw) * th * channels, 0.0f);
  for (int y = 0; y < th; ++y)
    for (int x = 0; x < tw; ++x)
      for (int c = 0; c < channels; ++c) {
        float sum = 0;
        int n = 0;
        for (int sy = y * step; sy < std::min(h, (y + 1) * step); ++sy)
          for (int sx = x * step; sx < std::min(w, (x + 1) * step); ++sx, ++n)
            sum += px[(std::size_t(sy) * w + sx) * channels + c];
        out[(std::size_t(y) * tw + x) * channels + c] = n ? sum / float(n) : 0.0f;
      }
  *out_w = tw;
  *out_h = th;
  return out;
}

Result<void> write_ora(Output& out, int w, int h, std::span<const OraLayerOut> layers, std::span<const float> merged) {
  if (w <= 0 || h <= 0) return Error{"an OpenRaster image needs a size"};
  const std::size_t pixels = std::size_t(w) * std::size_t(h);
  if (merged.size() != pixels * 3) return Error{"the merged picture does not match the image size"};
  for (const OraLayerOut& l : layers)
    if (l.rgba.size() != pixels * 4) return Error{"layer \"" + l.name + "\" does not match the image size"};

  // Every entry's bytes live until the archive is closed.
  std::vector<std::pair<std::string, std::vector<uint8_t>>> entries;
  entries.emplace_back("mimetype", bytes_of(ora_mimetype));
  entries.emplace_back("stack.xml", bytes_of(stack_xml(w, h, layers)));
  for (std::size_t i = 0; i < layers.size(); ++i) {
    TRY_ASSIGN(std::vector<uint8_t> png, png_bytes(layers[i].rgba, w, h, 4));
    entries.emplace_back(layer_entry(i), std::move(png));
  }
  TRY_ASSIGN(std::vector<uint8_t> merged_png, png_bytes(merged, w, h, 3));
  entries.emplace_back("mergedimage.png", std::move(merged_png));
  int tw = 0, th = 0;
  const std::vector<float> thumb = box_shrink(merged, w, h, 3, ora_thumbnail_side, &tw, &th);
  TRY_ASSIGN(std::vector<uint8_t> thumb_png, png_bytes(thumb, tw, th, 3));
  entries.emplace_back("Thumbnails/thumbnail.png", std::move(thumb_png));

  zip_error_t ze;
  zip_error_init(&ze);
  std::unique_ptr<zip_source_t, SourceFree> buffer(zip_source_buffer_create(nullptr, 0, 0, &ze));
  if (!buffer) return Error{std::string("the zip library could not start: ") + zip_error_strerror(&ze)};
  // The archive is written into `buffer`, which stays ours after the close.
  zip_source_keep(buffer.get());
  std::unique_ptr<zip_t, ZipDiscard> z(zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &ze));
  if (!z) {
    zip_source_free(buffer.get());
    return Error{std::string("the zip library could not start: ") + zip_error_strerror(&ze)};
  }
  for (const auto& [name, data] : entries)
    // PNG data is compressed already: deflating it again gains nothing.
    TRY(add_entry(z.get(), name, data, name == "mimetype" || name.ends_with(".png")));
  if (zip_close(z.get()) != 0) return Error{std::string("the zip could not be written: ") + zip_strerror(z.get())};
  z.release();

  zip_source_t* b = buffer.get();
  zip_stat_t st;
  if (zip_source_stat(b, &st) != 0 || !(st.valid & ZIP_STAT_SIZE) || zip_source_open(b) != 0)
    return Error{"the written zip cannot be read back from memory"};
  std::vector<uint8_t> bytes(st.size);
  const zip_int64_t got = zip_source_read(b, bytes.data(), bytes.size());
  zip_source_close(b);
  if (got < 0 || zip_uint64_t(got) != st.size) return Error{"the written zip cannot be read back from memory"};
  if (!out.write(bytes.data(), bytes.size())) return Error{"the OpenRaster file could not be written"};
  return {};
}

}  // namespace io
