#pragma once
// A layer of the painting: colour (`col`, RGBA16F: paint colour with coverage
// in alpha) and paint amount (`mat`, R32F: 0 none, 1 a flat film, above 1
// relief), each with a one-step undo copy, plus its blend and material settings.
#include <memory>
#include <vector>

#include "base/vec.h"
#include "gpu/buffer.h"

// Bits of layer::UNDO_GET.
enum : unsigned char {
  undo_snapshot_taken = 1,  // a snapshot was taken for the stroke in progress
  undo_showing = 2,         // the undo copy is shown instead of the live buffers
};

class layer {
 public:
  unsigned char UNDO_GET = 0;
  unsigned char hidden = 0;
  unsigned char style = 0;  // 0 normal [=], 1 additive [+], 2 multiply [*]
  gpu::Buffer col, mat, undo_col_buffer, undo_mat_buffer;
  float bump = 0.1f;
  float glossiness = 0.5f;
  float diffusion = 0.1f;
  float metallic = 0.0f;
  float opacity = 1.0f;
  float visibility = 1.0f;
  float color[3] = {1, 1, 1};
  float posx = 0, posy = 0;
  float width = 0, height = 0;

  // The GL names, as the passes address them.
  GLuint fbo_colID() const { return col.framebuffer(); }
  GLuint fbo_col() const { return col.texture(); }
  GLuint fbo_matID() const { return mat.framebuffer(); }
  GLuint fbo_mat() const { return mat.texture(); }
  GLuint undo_colID() const { return undo_col_buffer.framebuffer(); }
  GLuint undo_col() const { return undo_col_buffer.texture(); }
  GLuint undo_matID() const { return undo_mat_buffer.framebuffer(); }
  GLuint undo_mat() const { return undo_mat_buffer.texture(); }

  // New layer inserted directly above `after`, or on top when `after` is null.
  static layer* Create(layer* after, unsigned char style);

  // A canvas-size buffer with linear filtering and mirrored-repeat wrap,
  // cleared to transparent; its framebuffer is left bound.
  static gpu::Buffer fbo_create(GLenum internal_format, GLenum format);

  // Redraws the content into the rectangle at `p` with size `s` (canvas
  // pixels), scaling it.
  void transform(vec2d p, vec2d s);
  void store_undo();
  void get_undo();
  // Blend state for compositing this layer onto what lies below, and the
  // `premul` of paint_display when that program is current.
  void blendmode() const;
  // blendmode(), then amount on unit 0 and colour on unit 1 (the undo copies
  // when `show_undo`). The caller draws the quad.
  void display(bool show_undo) const;
  // The blend factors of blendmode() and the amount on units 0 and 1.
  void display_mat(bool show_undo) const;
  // True while the undo copy is shown instead of the live buffers.
  bool showing_undo() const { return (UNDO_GET & undo_showing) != 0; }
  // A shown undo state becomes the live state (UNDO_GET 0).
  void make_undo_live();
  // Moves the layer onto a canvas of w x h (already the current canvas size),
  // keeping the content at its pixel scale shifted by (ox, oy); the undo copy
  // equals the new content.
  void resample(int w, int h, float ox, float oy);
  // Releases the GPU objects and removes the layer from the list (the layer is
  // destroyed: do not use it afterwards).
  void remove();
};

struct LayerState {
  std::vector<std::unique_ptr<layer>> list;  // first is the bottom of the stack
  layer* active = nullptr;                   // never null while a canvas exists
  int active_number = 1;                     // 1-based, counted from the bottom
  // Set when the active layer or the stack changed: the layer panel re-binds
  // its dials to the active layer and the frame redraws fully; they clear it.
  bool changed = false;
};

// Owned by the layer model.
extern LayerState layers;

// Removes every layer.
void delete_all_layers();

// Copies the whole of one canvas-size buffer into another.
void blit(const gpu::Buffer& from, const gpu::Buffer& to);
