#pragma once
// The settings the display and the canvas texture read: lighting, the display
// switches and the procedural canvas. Plain values; the parameter model binds
// its rows to the fields named by a label and writes their start values (their
// initialisers here are placeholders); the other fields start as written.

namespace gpu {

struct DisplaySettings {
  // Lighting, application-wide.
  float light_pos[3] = {0.5f, 0.5f, 1.5f};  // canvas-width units, z above the paper
  float light_col[3] = {0.5f, 0.5f, 0.5f};
  float ambient_col[3] = {0.5f, 0.5f, 0.5f};
  float background[3] = {0.18f, 0.18f, 0.2f};   // around and behind the canvas
  float paper[4] = {0.7f, 0.68f, 0.65f, 0.4f};  // bare canvas colour, lighting weight
  float light_setting = 0.5f;                   // kept with projects and settings files
  float new_layer_bump = 0.2f;                  // bump given to new layers; kept with projects

  float glowing = 0;               // "GLOWING": 0 switches the glow off
  float desaturate = 0;            // "DESATURATE"
  float perception = 0;            // "PERCEPTION"
  float drp_gamma = 0;             // "COLOR:DRP GAMMA": display gamma / 5.7; 0 = no mapping
  unsigned char dither = 0;        // "DITHER"
  unsigned char high_quality = 0;  // "HIGH QUALITY"
  unsigned char mirror_mode = 0;   // bit 4 mirrors left-right, bit 8 top-bottom; 1..3 half mirrors

  float display_gamma() const { return drp_gamma * 5.7f; }
};

// The procedural canvas (paper) under the paint. The values a new record
// holds are its own, not the program's start: the parameter model writes
// those into canvas_settings.
struct canvas {
  unsigned char mode = 0;  // 0 noise, 1 weave, 2 loaded picture (canvas_source)
  unsigned char inv = 0;   // 1 inverts the relief
  float strength = 0.5f;   // "CANVAS:STRENGTH": relief amplitude, 0 = no canvas
  float strength_sav = 0;  // strength kept while the canvas is switched off
  float size = 0.5f;       // "CANVAS:SIZE": grain scale
  float bias = 0.75f;      // "CANVAS:BIAS": balance of the noise layers, weave irregularity
  float density = 0.1f;    // "CANVAS:DENSITY": noise threshold, weave jitter
  float stretch = 0;       // "CANVAS:STRETCH": noise anisotropy, weave thread count
  unsigned char show = 1;  // "CANVAS:SHOW": the canvas takes part in flow, deposit and display
};

// The canvas the program starts with: the weave, the current canvas preset's
// values.
inline constexpr canvas start_canvas{1};

// Owned here; read by the display and the canvas-texture build, edited by the
// control panel, saved with projects and settings files.
extern DisplaySettings display_settings;
extern canvas canvas_settings;

}  // namespace gpu
