#pragma once
// The toolkit of the floating panels: panels (`gui_master`) holding controls
// (`gui_gadget`), hit tests, and the value arithmetic of the controls. Pure
// logic: nothing here touches GL, so the behaviour is testable on its own;
// ui/gui_draw.h draws what this holds.
//
// Coordinates are window pixels, origin top-left, y down.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/vec.h"
#include "document/parameters.h"

namespace ui {

enum class GadgetKind : unsigned char {
  plain = 0,      // a panel or a plain element: no action
  button = 1,     // target := trigger, once per press
  toggle = 2,     // target ^= trigger, once per press
  dial = 3,       // dragged: right and up raise the value
  slider = 4,     // dragged along its track, or jumps to the pointer on the track
  selector = 10,  // target := trigger, once per press; lit while the reference equals the trigger
  container = 11,
  item = 12,
  cycler = 13,     // target += 1 once per press, wrapping from max to min
  mover = 14,      // a title bar: drags its panel
  close_box = 15,  // hides its panel
};

// The pointer shape an element asks for while the pointer is over it.
enum class PointerShape : unsigned char {
  arrow = 0,
  hand = 1,            // a control, or a slider's track
  panel = 2,           // a panel's background
  move = 4,            // a title bar
  slide_sideways = 5,  // a horizontal slider's handle
  slide_upright = 6,   // a vertical slider's handle
};

// Alignment bits of `gui::align`, applied in this order to `pos`.
namespace align {
inline constexpr unsigned char right = 1;       // x += screen width - size.x
inline constexpr unsigned char bottom = 2;      // y += screen height - size.y
inline constexpr unsigned char x_fraction = 4;  // x = pos.x * screen width
inline constexpr unsigned char y_fraction = 8;  // y = pos.y * screen height
}  // namespace align

// What a control reads and writes. Settings go through the parameter model
// (`param_target`); the frame's request bytes, which are no settings, are
// bound directly (`byte_target`).
struct GadgetTarget {
  std::function<float()> read;
  std::function<void(float)> write;
  explicit operator bool() const { return bool(read); }
};
GadgetTarget param_target(document::ParamId id);
GadgetTarget byte_target(unsigned char* byte);

// A decorative image stamped into a panel's relief.
struct gui_shape {
  vec2d pos, size;  // relative to the panel
  unsigned image = 0;
};

struct gui {
  bool show = true;  // drawn and hit-tested
  std::string name;  // label
  float text_size = 1;
  vec2d text_offset;  // label position; also the inset of the display image
  GadgetKind gadget = GadgetKind::plain;
  PointerShape cursor = PointerShape::arrow;
  float hover = 0;                // highlight 0..1: 1 while hovered or operated, fades when drawn
  unsigned char slider_type = 0;  // 0 horizontal, 1 vertical
  bool docked = true;             // false: follows the pointer while pressed
  vec2d pos;                      // top-left before alignment (controls: on screen, set by the panel)
  vec2d relative_pos;             // controls: position inside the panel
  vec2d handle_pos;               // slider: the handle's offset inside the slider
  unsigned char align = 0;        // align:: bits
  vec2d size;
  float radius = 0;  // hit radius of round elements
  vec2d default_pos, default_size;
  unsigned char draw_mode = 0;  // 1 rounded quad
  float value_float = 0;        // normalised value of dials and sliders
  unsigned char shape = 0;      // 1 round: hit by radius
  unsigned source_image = 0, image = 0, display_image = 0;
  unsigned char blur = 0;  // relief blur: 1 kernel blur, otherwise diffusion
  float blur_strength = 4.5f;
  bool show_name = false;
  float col[4] = {0, 0, 0, 0};
  float transparency = 0.45f, specularity = 0.1f;

  // Where the element stands on a screen of w x h, after alignment.
  vec2d aligned_pos(float screen_w, float screen_h) const;
  // True when p hits the element (strict edges). A slider's hit also
  // publishes whether p is on its handle through `cursor`.
  bool mouse(const vec2d& p, float screen_w, float screen_h);
  void set_color(float r, float g, float b, float a);
  void set_text_param(float size, float x, float y);
};

struct gui_master;

struct gui_gadget : gui {
  float value_min = 0, value_max = 1;
  float trigger_value = 0;  // what a button or selector writes; a toggle's XOR mask
  GadgetTarget target;
  std::function<float()> reference;       // decides the "on" highlight
  std::vector<std::string> list_names;    // a cycler's label per value
  const gui_gadget* connected = nullptr;  // a cycler is lit while this is fully hovered
  unsigned char triggered = 0;            // 0 idle, 1 operated this press, 2 cancelled
  unsigned char value_treatment = 0;      // how value_float maps to the target (process_dial)
  float value_mult = 1;                   // treatments 2 and 3
  bool on_handle = false;                 // a slider's press began on its handle
  bool value_display_post = false;        // the value box shows the target's value, not value_float
  unsigned char display_type = 0;         // 4: the value box shows three decimals, otherwise a whole number
  bool special_display = false;           // hovered, it shows the brush's size as a ring of the target's diameter
  gui_master* panel = nullptr;

  static std::unique_ptr<gui_gadget> Create(std::string name, GadgetKind kind, vec2d pos, vec2d size,
                                            PointerShape cursor);
  void set_minmax(float min, float max) {
    value_min = min;
    value_max = max;
  }
  // Splits a cycler's labels at ",".
  void set_list_names(const std::string& csv);
  // A vertical slider's handle follows its value.
  void place_handle();

  // Value arithmetic, one step each; dx, dy is this frame's pointer movement
  // (y down), `fine` the Ctrl key.
  void process_dial(float dx, float dy, bool fine);
  void process_slider(const vec2d& p, float dx, float dy, bool fine);
  // The target's current value back into value_float (and a slider's handle),
  // so that changes made elsewhere show.
  void read_back();
  // Whether the control is drawn lit.
  bool lit() const;
  // The label drawn: a cycler names its current value.
  std::string label() const;

 private:
  void write_treated();
};

struct gui_master : gui {
  std::vector<std::unique_ptr<gui_gadget>> childrenlist;  // in insertion order
  std::vector<gui_shape> shapelist;
  vec2d screen_pos;  // aligned top-left of the last layout

  static std::unique_ptr<gui_master> Create(std::string name, vec2d pos, vec2d size, PointerShape cursor);
  // Takes the control, placing it at its relative position in the panel.
  gui_gadget& add(std::unique_ptr<gui_gadget> child);
  // The panel's on-screen place, and each control's at panel + relative_pos.
  void layout(float screen_w, float screen_h);
  // Keeps the panel inside the window; a panel larger than the window sits at 0.
  void clamp_to_screen(float screen_w, float screen_h);
};

// A strip panel's entries side by side at the container's height: each entry
// keeps its aspect (narrower when taller than wide) and a 1-pixel gap. Entries
// that would pass `max_width` are left out, so the strip's texture is bounded.
struct StripLayout {
  std::vector<float> x, w;  // per entry that fits
  float width = 0;
};
StripLayout layout_strip(const std::vector<vec2d>& image_sizes, float height, float max_width);

}  // namespace ui
