#pragma once
// The brush images: small pairs of textures, colour `col` and paint amount
// `mat`, that the brushes deposit instead of plain paint. They are captured
// from the active layer through a four-cornered quad or loaded from
// brush-image files, and kept in one ordered list with the options of the
// "BRUSH IMAGE" panel. The list owns the images; removing one deletes its
// textures at once, and the current image is an index into the list, so
// nothing else holds a removed image's textures.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "base/result.h"
#include "base/vec.h"
#include "gpu/buffer.h"

namespace document {

inline constexpr int max_image_side = 2048;  // within every GL's texture limit
inline constexpr int thumbnail_side = 80;

struct BrushImage {
  gpu::Buffer col;        // RGBA16F: the paint colour with its coverage in alpha
  gpu::Buffer mat;        // R32F: the paint amount
  gpu::Buffer thumbnail;  // RGBA8, thumbnail_side square: the strip's picture
  int width = 0, height = 0;
  std::array<vec2d, 4> huv;  // canvas positions of the quad's corners A..D when made
  unsigned char perspective = 0;
  std::string name;  // "snap" for captured images, the file's name for loaded ones
};

// The options of the "BRUSH IMAGE" panel (bytes 0 or 1).
struct BrushImageOptions {
  unsigned char use = 0;          // "use": the brushes deposit through the current image
  unsigned char colour = 1;       // "col": the image's colour, else its paint amount stands in for it
  unsigned char perspective = 0;  // "p": captures foreshorten towards the quad's shorter edges
  unsigned char grain = 0;        // the unnamed selector: the image lands through the canvas grain even
                                  // while the canvas is hidden
};

struct BrushImageState {
  std::vector<std::unique_ptr<BrushImage>> list;  // in the order made or loaded
  int current = -1;                               // the image strokes deposit; -1 while the list is empty
  BrushImageOptions options;
  int revision = 0;  // grows with every change of the list, for the strip
};

extern BrushImageState brush_images;

// Appends an image made of the two textures (of width x height), with
// `quad` as its corners, and makes its thumbnail. Returns its index.
int add_brush_image(std::string name, gpu::Buffer col, gpu::Buffer mat, int width, int height,
                    const std::array<vec2d, 4>& quad, unsigned char perspective);

// Removes image `i` with its textures; the current image stays the same
// picture where it is kept, else moves to a neighbour.
void remove_brush_image(int i);
// Removes every image.
void clear_brush_images();

// The size of the image a capture of the quad A, B, C, D makes: the mean
// lengths of the opposite edges, each clamped to 1..max_image_side. An error
// for a quad that encloses (next to) no area or has a corner that is not
// finite.
Result<std::array<int, 2>> capture_size(const std::array<vec2d, 4>& quad);

// Captures the active layer inside the quad (canvas pixels; A lower left, B
// upper left, C upper right, D lower right as the quad starts) as a new image
// named "snap", rectified to capture_size(quad): the picture's left edge is
// A-B, its top edge B-C. `perspective` foreshortens. Returns the new index.
Result<int> capture_brush_image(const std::array<vec2d, 4>& quad, bool perspective);

// Lays image `i` back onto the active layer inside the quad (its picture's
// left edge on A-B, its top on B-C, as a capture takes it), replacing the
// paint there; the paint as it was stays in the layer's undo copy. An error
// for a quad a capture would refuse or an image that is not in the list.
Result<void> apply_brush_image(int i, const std::array<vec2d, 4>& quad);

// What apply_brush_image would lay, drawn instead into the canvas's overlay
// buffers for the display to show on the active layer while the image is
// being placed: overlay_col the layer's colour with the image's inside the
// quad, overlay_mat the image's amount there and 0 elsewhere.
Result<void> preview_brush_image(int i, const std::array<vec2d, 4>& quad);

// The starting corners of the capture quad on a canvas of w x h.
std::array<vec2d, 4> default_capture_quad(int w, int h);

// Reads an image's textures back: RGBA floats and amounts, bottom row first.
std::vector<float> read_image_col(const BrushImage& image);
std::vector<float> read_image_mat(const BrushImage& image);

// New image textures of w x h holding the given pixels (bottom row first).
gpu::Buffer image_col_buffer(int w, int h, const float* rgba);
gpu::Buffer image_mat_buffer(int w, int h, const float* amounts);

// Back to no images and the options' start values.
void reset_brush_images();

}  // namespace document
