#pragma once
// The project file ("olp") as bytes: the header block, the layer settings and
// the pixel bands, independent of the GPU and of the program's state. A
// version-17 project is a sequence of segments: the header (packed twice),
// 16 canvas bands when the custom-canvas flag is 1, then per layer one
// settings segment and 16 pixel bands (W x h x 4 colour floats, then W x h
// paint-amount floats, rows in buffer order). All numbers little-endian.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"
#include "io/atomic_file.h"
#include "io/segment.h"

namespace io {

inline constexpr char project_magic[] = "Ollan Rizazuv version";  // 21 bytes, stored without terminator
inline constexpr uint8_t project_version = 17;
inline constexpr int project_bands = 16;
inline constexpr int stored_presets = 9;  // entries 0..8 of each preset table; entry 9 is not stored
inline constexpr int layer_settings_size = 38;

struct SwatchCell {
  float r = 0, g = 0, b = 0, a = 0;
  int32_t xi = 0, yi = 0;
  float x = 0, y = 0;
};

struct CanvasPreset {
  uint8_t mode = 0, inverted = 0;
  float strength = 0, size = 0, bias = 0, density = 0, stretch = 0;
};

struct ProjectHeader {
  uint8_t version = project_version;
  float width = 0, height = 0;
  float color[4] = {};
  float display_gamma = 0;
  float midpoint = 1;
  float light_col[3] = {}, light_pos[3] = {}, ambient_col[3] = {};
  float light_setting = 0.5f;
  float paper[4] = {};
  float new_layer_bump = 0.2f;
  std::vector<std::vector<SwatchCell>> swatches;  // columns of cells; from version 16
  float brush_size = 0;
  float preset_bristle_size[stored_presets] = {}, preset_bristles[stored_presets] = {},
        preset_bias[stored_presets] = {};  // from version 12
  float mouse_speed = 1;
  uint8_t mirror_mode = 0;
  uint8_t high_quality = 1;  // from version 12
  float smudge_chroma = 0, fluidity = 0, fluid_sharpness = 0, fluid_smudge = 0, drying_speed = 0;
  float guide_fov = 90, guide_distortion = 0.75f, guide_alpha = -0.5f;
  int32_t guide_subdivisions = 2;
  float guide_offset[3] = {}, guide_camera[3] = {0, 0, -300}, guide_rotation[3] = {};
  uint8_t canvas_show = 1;
  // Version 17: the three canvas presets; versions 12 to 16 store only the
  // five canvas dials, read into the current preset.
  uint8_t canvas_preset = 1;
  CanvasPreset canvas_presets[3];
  uint8_t custom_canvas = 0;
  int32_t layer_count = 0;
};

struct LayerSettings {
  uint8_t hidden = 0;
  float bump = 0.1f, glossiness = 0.5f, diffusion = 0.1f, metallic = 0, opacity = 1, visibility = 1;
  float color[3] = {1, 1, 1};
  uint8_t style = 0;
};

// Rows of band `i` of a canvas `height` rows tall: Int(H / 16) for bands 0 to
// 14, the rest in band 15.
int band_rows(int height, int i);
int band_first_row(int height, int i);

// The header block before packing (version 17).
Bytes encode_header(const ProjectHeader& h);
Bytes encode_layer_settings(const LayerSettings& s);

// Limits a reader checks the file against.
struct ReadLimits {
  int max_side = 16384;  // largest canvas side the GPU can hold
  // Most layer pixels (layers x W x H) the GPU is asked to hold: each costs
  // 24 bytes with its undo copy.
  double max_layer_pixels = double(1 << 29);
};

// One layer as a file holds it: its settings and its 16 bands, still packed
// (views of the file's bytes). In a file cut short the last layer may hold
// only its first `bands_read` bands; the others are empty.
struct StoredLayer {
  LayerSettings settings;
  std::array<std::span<const uint8_t>, project_bands> bands;
  int bands_read = project_bands;
};

struct StoredProject {
  ProjectHeader header;
  int width = 0, height = 0;                                         // the canvas size in whole pixels
  std::array<std::span<const uint8_t>, project_bands> canvas_bands;  // when custom_canvas is 1
  std::vector<StoredLayer> layers;                                   // the layers read, the last one perhaps in part
  bool truncated = false;                                            // the file ended before all layers were read
};

// Reads and checks a whole project held in `bytes` (which must outlive the
// result): every segment's framing, every block's length and every band's
// inflation. An error when the file is not a project this program can read; a
// file that merely ends early keeps what it holds whole: the layers before the
// end and the complete bands of the layer it ends in (and fails only when not
// one band of a layer is there).
Result<StoredProject> read_project(std::span<const uint8_t> bytes, const ReadLimits& limits);

// Floats of a stored band: W x rows x 4 colour values, then W x rows paint
// amounts. The band was checked by read_project.
struct BandPixels {
  std::vector<float> col, mat;
};
BandPixels unpack_layer_band(std::span<const uint8_t> packed, int width, int rows);
// Unpacks the 16 bands of `layer` on `threads` threads (0: every core) and
// hands them to `consume` in band order on the calling thread.
void unpack_layer_bands(const StoredLayer& layer, int width, int height, unsigned threads,
                        const std::function<void(int band, BandPixels& pixels)>& consume);
std::vector<float> unpack_canvas_band(std::span<const uint8_t> packed, int width, int rows);

// Supplies a layer's pixels for writing: `col` W x H x 4 floats and `mat`
// W x H floats, rows in buffer order.
struct LayerPixels {
  LayerSettings settings;
  std::span<const float> col, mat;
};

// Writes a project: the header, the canvas bands when `canvas` is given (W x H
// floats), then every layer that `next_layer` supplies (it is asked for layer
// 0, 1, ... up to header.layer_count - 1; the spans it returns stay valid
// until the next call). Bands are packed on `threads` threads (0: every core);
// the bytes do not depend on the number of threads. `progress` is called
// after each band written. False when the output failed.
bool write_project(Output& out, const ProjectHeader& header, std::span<const float> canvas,
                   const std::function<LayerPixels(int)>& next_layer, const std::function<void()>& progress,
                   unsigned threads = 0);

}  // namespace io
