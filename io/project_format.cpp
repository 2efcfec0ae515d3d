#include "io/project_format.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>

#include "io/byte_stream.h"
#include "io/settings_fields.h"

namespace io {

namespace {

constexpr std::size_t magic_size = 21;
constexpr uint8_t oldest_version = 15;  // layers in segments of their own
constexpr std::size_t max_header_size = std::size_t(64) << 20;

// Runs fn(0) .. fn(n - 1) on up to `threads` threads.
void parallel_for(int n, unsigned threads, const std::function<void(int)>& fn) {
  std::atomic<int> next{0};
  auto work = [&] {
    for (int i; (i = next++) < n;) fn(i);
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < std::min<unsigned>(threads, unsigned(n)); ++t) pool.emplace_back(work);
  work();
  for (std::thread& t : pool) t.join();
}

// Makes items 0 .. n-1 on `threads` worker threads and hands each to
// `consume` on the calling thread, in order, as soon as it is ready.
template <typename T>
void ordered_pipeline(int n, unsigned threads, const std::function<T(int)>& make,
                      const std::function<void(int, T&)>& consume) {
  std::vector<std::optional<T>> done(static_cast<std::size_t>(n));
  std::mutex m;
  std::condition_variable cv;
  std::atomic<int> next{0};
  auto work = [&] {
    for (int i; (i = next++) < n;) {
      T item = make(i);
      std::lock_guard lock(m);
      done[std::size_t(i)] = std::move(item);
      cv.notify_all();
    }
  };
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < std::min<unsigned>(threads, unsigned(std::max(n, 0))); ++t) pool.emplace_back(work);
  for (int i = 0; i < n; ++i) {
    T item;
    {
      std::unique_lock lock(m);
      cv.wait(lock, [&] { return done[std::size_t(i)].has_value(); });
      item = std::move(*done[std::size_t(i)]);
      done[std::size_t(i)].reset();
    }
    consume(i, item);
  }
  for (std::thread& t : pool) t.join();
}

unsigned thread_count(unsigned wanted) {
  return wanted ? wanted : std::max(1u, std::thread::hardware_concurrency());
}

std::size_t layer_band_bytes(int width, int rows) {
  return std::size_t(width) * rows * 5 * sizeof(float);
}

void write_layer_settings(ByteWriter& w, const LayerSettings& s) {
  w.u8(s.hidden);
  w.f32(s.bump);
  w.f32(s.glossiness);
  w.f32(s.diffusion);
  w.f32(s.metallic);
  w.f32(s.opacity);
  w.f32(s.visibility);
  w.floats(s.color, 3);
  w.u8(s.style);
}

void read_canvas_preset(ByteReader& r, CanvasPreset* p) {
  p->mode = r.u8();
  p->inverted = r.u8();
  p->strength = r.f32();
  p->size = r.f32();
  p->bias = r.f32();
  p->density = r.f32();
  p->stretch = r.f32();
}

// The header fields after the magic, with the version gates.
Result<void> read_header_fields(ByteReader& r, ProjectHeader* h) {
  h->version = r.u8();
  read_opening_fields(r, h);
  if (!r.ok()) return Error{"the project header ends early"};
  if (h->version >= 16) {
    int32_t columns = r.i32();
    if (!r.ok() || columns < 0 || std::size_t(columns) > r.left() / 4)
      return Error{"the swatch column count " + std::to_string(columns) + " is more than the header holds"};
    h->swatches.resize(std::size_t(columns));
    for (auto& column : h->swatches) {
      int32_t cells = r.i32();
      if (!r.ok() || cells < 0 || std::size_t(cells) > r.left() / 32)
        return Error{"the swatch cell count " + std::to_string(cells) + " is more than the header holds"};
      column.resize(std::size_t(cells));
      for (SwatchCell& c : column) {
        c.r = r.f32(), c.g = r.f32(), c.b = r.f32(), c.a = r.f32();
        c.xi = r.i32(), c.yi = r.i32();
        c.x = r.f32(), c.y = r.f32();
      }
    }
  }
  h->brush_size = r.f32();
  read_preset_to_guide_fields(r, h, h->version >= 12);
  if (h->version >= 17) {
    h->canvas_show = r.u8();
    int32_t presets = r.i32();
    if (r.ok() && presets != 3)
      return Error{"the project holds " + std::to_string(presets) + " canvas presets instead of 3"};
    h->canvas_preset = r.u8();
    for (CanvasPreset& p : h->canvas_presets) read_canvas_preset(r, &p);
    h->custom_canvas = r.u8();
  } else {
    h->canvas_show = r.u8();
    h->custom_canvas = 0;
    // The five canvas dials of older files are the current preset's values.
    CanvasPreset& p = h->canvas_presets[std::min<int>(h->canvas_preset, 2)];
    p.strength = r.f32();
    p.size = r.f32();
    p.bias = r.f32();
    p.density = r.f32();
    p.stretch = r.f32();
  }
  h->layer_count = r.i32();
  if (!r.ok()) return Error{"the project header ends early"};
  if (!r.finite()) return Error{"the project header holds a number that is not finite"};
  if (h->canvas_preset > 2) return Error{"canvas preset " + std::to_string(h->canvas_preset) + " does not exist"};
  if (h->custom_canvas > 1) return Error{"the custom-canvas flag is " + std::to_string(h->custom_canvas)};
  // A larger count than the file holds is a file cut short, which keeps what
  // it holds; the GPU's limit bounds the count.
  if (h->layer_count < 1) return Error{"the project holds " + std::to_string(h->layer_count) + " layers"};
  return {};
}

// Whether the stored band inflates to exactly `expected` bytes.
bool band_holds(std::span<const uint8_t> packed, std::size_t expected) {
  Result<Bytes> block = unpack_bank(packed, expected);
  return block && block->size() == expected;
}

}  // namespace

int band_rows(int height, int i) {
  const int h = height / project_bands;
  return i < project_bands - 1 ? h : height - (project_bands - 1) * h;
}

int band_first_row(int height, int i) {
  return (height / project_bands) * i;
}

Bytes encode_header(const ProjectHeader& h) {
  ByteWriter w;
  w.raw(project_magic, magic_size);
  w.u8(project_version);
  write_opening_fields(w, h);
  w.i32(int32_t(h.swatches.size()));
  for (const auto& column : h.swatches) {
    w.i32(int32_t(column.size()));
    for (const SwatchCell& c : column) {
      w.f32(c.r), w.f32(c.g), w.f32(c.b), w.f32(c.a);
      w.i32(c.xi), w.i32(c.yi);
      w.f32(c.x), w.f32(c.y);
    }
  }
  w.f32(h.brush_size);
  write_preset_to_guide_fields(w, h);
  w.u8(h.canvas_show);
  w.i32(3);
  w.u8(h.canvas_preset);
  for (const CanvasPreset& p : h.canvas_presets) {
    w.u8(p.mode);
    w.u8(p.inverted);
    w.f32(p.strength);
    w.f32(p.size);
    w.f32(p.bias);
    w.f32(p.density);
    w.f32(p.stretch);
  }
  w.u8(h.custom_canvas);
  w.i32(h.layer_count);
  return std::move(w.bytes);
}

Bytes encode_layer_settings(const LayerSettings& s) {
  ByteWriter w;
  write_layer_settings(w, s);
  return std::move(w.bytes);
}

Result<StoredProject> read_project(std::span<const uint8_t> bytes, const ReadLimits& limits) {
  if (bytes.size() >= magic_size && std::memcmp(bytes.data(), project_magic, magic_size) == 0)
    return Error{"this project is in an old single-block format that this program cannot read"};
  SegmentReader reader(bytes);
  Result<Segment> first = reader.read_segment(max_header_size);
  if (!first || first->status != SegmentStatus::ok) return Error{"this is not an Ollan project"};
  Result<Bytes> header_block = unpack_bank(first->block, max_header_size);
  if (!header_block || header_block->size() < magic_size ||
      std::memcmp(header_block->data(), project_magic, magic_size) != 0)
    return Error{"this is not an Ollan project"};

  StoredProject p;
  ByteReader r(std::span<const uint8_t>(*header_block).subspan(magic_size));
  ProjectHeader& h = p.header;
  TRY(read_header_fields(r, &h));
  if (h.version < oldest_version || h.version > project_version)
    return Error{"project version " + std::to_string(h.version) + " cannot be read (versions " +
                 std::to_string(oldest_version) + " to " + std::to_string(project_version) + " can)"};
  if (!(h.width >= 1 && h.height >= 1 && h.width < float(limits.max_side) + 1 && h.height < float(limits.max_side) + 1))
    return Error{"the canvas size " + std::to_string(h.width) + " x " + std::to_string(h.height) +
                 " is not one this program can hold (up to " + std::to_string(limits.max_side) + ")"};
  p.width = int(h.width);
  p.height = int(h.height);
  const int W = p.width, H = p.height;
  if (double(W) * H * h.layer_count > limits.max_layer_pixels)
    return Error{std::to_string(h.layer_count) + " layers of " + std::to_string(W) + " x " + std::to_string(H) +
                 " are more than the GPU can hold"};

  // Every stored band with the bytes it must inflate to.
  std::vector<std::pair<std::span<const uint8_t>, std::size_t>> checks;
  // Whether the band was there whole; an error for a damaged segment.
  auto read_band = [&](std::span<const uint8_t>* band, std::size_t expected) -> Result<bool> {
    TRY_ASSIGN(const Segment s, reader.read_packed());
    if (s.status != SegmentStatus::ok || s.short_payload) return false;
    *band = s.packed;
    checks.emplace_back(*band, expected);
    return true;
  };

  bool complete = true;
  if (h.custom_canvas) {
    for (int i = 0; i < project_bands && complete; ++i) {
      TRY_ASSIGN(complete, read_band(&p.canvas_bands[i], std::size_t(W) * band_rows(H, i) * sizeof(float)));
    }
  }
  for (int l = 0; l < h.layer_count && complete; ++l) {
    StoredLayer layer;
    Result<Segment> settings = reader.read_segment(layer_settings_size);
    if (!settings) return Error{"layer " + std::to_string(l + 1) + ": " + settings.error().message};
    const Segment& s = *settings;
    if (s.status != SegmentStatus::ok) break;
    if (s.block.size() != layer_settings_size)
      return Error{"layer " + std::to_string(l + 1) + " settings are " + std::to_string(s.block.size()) +
                   " bytes, expected " + std::to_string(layer_settings_size)};
    ByteReader lr(s.block);
    LayerSettings& ls = layer.settings;
    ls.hidden = lr.u8();
    ls.bump = lr.f32(), ls.glossiness = lr.f32(), ls.diffusion = lr.f32(), ls.metallic = lr.f32();
    ls.opacity = lr.f32(), ls.visibility = lr.f32();
    lr.floats(ls.color, 3);
    ls.style = lr.u8();
    if (!lr.finite() || ls.hidden > 1 || ls.style > 2)
      return Error{"layer " + std::to_string(l + 1) + " has settings out of range"};
    layer.bands_read = 0;
    for (int i = 0; i < project_bands && complete; ++i) {
      Result<bool> got = read_band(&layer.bands[i], layer_band_bytes(W, band_rows(H, i)));
      if (!got) return Error{"layer " + std::to_string(l + 1) + ": " + got.error().message};
      complete = *got;
      if (complete) ++layer.bands_read;
    }
    // A layer the file ends in keeps the bands before the end.
    if (layer.bands_read > 0) p.layers.push_back(layer);
  }
  if (p.layers.empty()) return Error{"the file ends before the first band of its first layer"};
  p.truncated = int(p.layers.size()) < h.layer_count || p.layers.back().bands_read < project_bands;

  std::atomic<int> bad{-1};
  parallel_for(int(checks.size()), thread_count(0), [&](int i) {
    if (bad.load() < 0 && !band_holds(checks[std::size_t(i)].first, checks[std::size_t(i)].second)) bad = i;
  });
  if (bad.load() >= 0) {
    int i = bad.load() - (h.custom_canvas ? project_bands : 0);
    return Error{i < 0 ? "canvas band " + std::to_string(i + project_bands) + " is damaged"
                       : "layer " + std::to_string(i / project_bands + 1) + " band " +
                             std::to_string(i % project_bands) + " is damaged"};
  }
  return p;
}

BandPixels unpack_layer_band(std::span<const uint8_t> packed, int width, int rows) {
  const std::size_t n = std::size_t(width) * rows;
  Result<Bytes> block = unpack_bank(packed, layer_band_bytes(width, rows));
  BandPixels px;
  px.col.assign(n * 4, 0.0f);
  px.mat.assign(n, 0.0f);
  if (block && block->size() == layer_band_bytes(width, rows)) {
    std::memcpy(px.col.data(), block->data(), n * 4 * sizeof(float));
    std::memcpy(px.mat.data(), block->data() + n * 4 * sizeof(float), n * sizeof(float));
  }
  return px;
}

void unpack_layer_bands(const StoredLayer& layer, int width, int height, unsigned threads,
                        const std::function<void(int band, BandPixels& pixels)>& consume) {
  ordered_pipeline<BandPixels>(
      project_bands, thread_count(threads),
      [&](int i) { return unpack_layer_band(layer.bands[std::size_t(i)], width, band_rows(height, i)); }, consume);
}

std::vector<float> unpack_canvas_band(std::span<const uint8_t> packed, int width, int rows) {
  const std::size_t n = std::size_t(width) * rows;
  Result<Bytes> block = unpack_bank(packed, n * sizeof(float));
  std::vector<float> out(n, 0.0f);
  if (block && block->size() == n * sizeof(float)) std::memcpy(out.data(), block->data(), block->size());
  return out;
}

namespace {

// Packs `count` bands on worker threads and writes them in order as they
// become ready; progress runs on the calling thread after each band.
bool write_bands(Output& out, int count, const std::function<Bytes(int)>& make_block,
                 const std::function<void()>& progress, unsigned threads) {
  bool ok = true;
  ordered_pipeline<Bytes>(
      count, threads, [&](int i) { return pack_bank(make_block(i)); },
      [&](int, Bytes& packed) {
        ok = ok && !packed.empty() && write_packed_segment(out, packed);
        if (progress) progress();
      });
  return ok;
}

}  // namespace

bool write_project(Output& out, const ProjectHeader& header, std::span<const float> canvas,
                   const std::function<LayerPixels(int)>& next_layer, const std::function<void()>& progress,
                   unsigned threads) {
  const unsigned n = thread_count(threads);
  const int W = int(header.width), H = int(header.height);
  const std::size_t pixels = std::size_t(W) * H;
  ProjectHeader h = header;
  if (canvas.size() != pixels) h.custom_canvas = 0;
  Bytes head = pack_bank(encode_header(h));
  if (head.empty() || !write_segment(out, head)) return false;
  if (h.custom_canvas) {
    auto block = [&](int i) {
      const std::size_t first = std::size_t(band_first_row(H, i)) * W, count = std::size_t(band_rows(H, i)) * W;
      Bytes b(count * sizeof(float));
      std::memcpy(b.data(), canvas.data() + first, b.size());
      return b;
    };
    if (!write_bands(out, project_bands, block, progress, n)) return false;
  }
  for (int l = 0; l < h.layer_count; ++l) {
    LayerPixels layer = next_layer(l);
    if (layer.col.size() != pixels * 4 || layer.mat.size() != pixels) return false;
    if (!write_segment(out, encode_layer_settings(layer.settings))) return false;
    auto block = [&](int i) {
      const std::size_t first = std::size_t(band_first_row(H, i)) * W, count = std::size_t(band_rows(H, i)) * W;
      Bytes b(count * 5 * sizeof(float));
      std::memcpy(b.data(), layer.col.data() + first * 4, count * 4 * sizeof(float));
      std::memcpy(b.data() + count * 4 * sizeof(float), layer.mat.data() + first, count * sizeof(float));
      return b;
    };
    if (!write_bands(out, project_bands, block, progress, n)) return false;
  }
  return true;
}

}  // namespace io
