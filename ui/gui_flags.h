#pragma once
// Who owns the pointer this frame: the bits of the application's gui_flags.
// The GUI's pointer pass (ui/gui.h) writes the bits in `gui_owned`; the frame
// writes the others.
namespace gui_flag {
inline constexpr int navigation = 0x1;          // a view-navigation drag
inline constexpr int over_panel = 0x10;         // the pointer is over a panel
inline constexpr int control_active = 0x20;     // a control is being operated
inline constexpr int guide_editing = 0x40;      // the perspective guide takes the wheel, Home and Alt
inline constexpr int panel_drag = 0x80;         // a panel is dragged: no Alt navigation either
inline constexpr int painting_blocked = 0x100;  // a press that began on the GUI is held
inline constexpr int crop_kept = 0x200;         // the one bit kept while Alt is held in crop mode
inline constexpr int control_pressed = 0x800;   // a control or panel was pressed this frame

// Everything the GUI can own; any of it keeps paint off the canvas.
inline constexpr int gui_owned = over_panel | control_active | painting_blocked | control_pressed;
// The bits that hand the pointer to something other than the GUI.
inline constexpr int others_own = navigation | guide_editing | panel_drag;
}  // namespace gui_flag

// Painting input is refused while the GUI owns any part of the pointer.
inline bool gui_blocks_painting(int flags) {
  return (flags & gui_flag::gui_owned) != 0;
}
