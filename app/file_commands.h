#pragma once
// The save and load commands every file kind shares: the file dialogs, the
// overwrite question, the dispatch by the name's extension, the current file
// name and the captions shown while a file is written or read.
#include <optional>
#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/input.h"
#include "platform/window.h"
#include "ui/progress_panel.h"

// What one command works with; its progress panel shows in `window`.
struct FileCommandContext {
  platform::Window& window;
  platform::Dialogs& dialogs;
  platform::Input& input;
  std::string base_title;
  ui::ProgressPanel progress;
};

// The name of the painting's file: the project, OpenRaster file or picture
// last loaded or saved (settings, brush-image, swatch and palette files leave
// it alone). It lasts until the program ends (a new project clears it).
struct FileCommandState {
  std::string current_name;
  // When that file was loaded only in part (a project cut short), what was
  // read, as "the file ends after layer 2 of 5"; S then says so before it
  // overwrites the file.
  std::string loaded_in_part;
};
extern FileCommandState file_commands;

enum class FileResult { cancelled, done, failed };

struct FileOutcome {
  FileResult result = FileResult::cancelled;
  bool canvas_changed = false;  // a new canvas was made: the caller centres the view
  std::string error;            // why it failed (also shown to the user and on standard error)
  std::string loaded_in_part;   // a load that read only part of its file: what it read
};

// The save command. `modifier_keys` are those held when it started (Shift 1,
// Ctrl 2): exactly Ctrl or Ctrl+Shift choose the PNG export mode and open the
// dialog; so do an unknown file name and `from_menu`. Otherwise the current
// name is overwritten after the "File Replacement" question. A name chosen in
// the dialog whose file (or, for the colour/height pair, either file) exists
// gets the same question, unless `replace_allowed` (the script's `save`
// names the file it means to write).
FileOutcome save_command(FileCommandContext& ctx, unsigned char modifier_keys, bool from_menu,
                         bool replace_allowed = false);

// The load command; `name` given (the command line) skips the open dialog.
FileOutcome load_command(FileCommandContext& ctx, const std::optional<std::string>& name);

// The frame's file requests: the load request (O or the menu) right after the
// display, the save request (S or the menu) after it. The menu request bytes
// are cleared here. Keys pressed meanwhile are discarded.
FileOutcome serve_load_request(FileCommandContext& ctx, bool key);
FileOutcome serve_save_request(FileCommandContext& ctx, bool key, unsigned char modifier_keys);

// The dialog texts and filters (platform::Dialogs: "Description|*.ext;..."
// lines; the dialogs match the extensions in any case).
inline constexpr const char* save_dialog_title = "Save Image (*.png;*.jpg;*.olp;*.ols;*.oli;*.olc)";
inline constexpr const char* open_dialog_title = "Open Project(*.png;*.jpg;*.olp;*.ols;*.oli;*.olc;*.pal)";
inline constexpr const char* save_dialog_filters =
    "project(*.olp)|*.olp\nexport 16bit PNG(*.png)|*.png\nexport JPEG(*.jpg)|*.jpg;*.jpeg\n"
    "OpenRaster(*.ora)|*.ora\nsettings(*.ols)|*.ols\nbrush images(*.oli)|*.oli\ncolor swatches(*.olc)|*.olc\n"
    "GIMP palette, current swatch column(*.gpl)|*.gpl\nAll Files|*";
inline constexpr const char* png_dialog_filters = "export 16bit PNG(*.png)|*.png\nAll Files|*";
inline constexpr const char* open_dialog_filters =
    "All Files|*.jpg;*.jpeg;*.olp;*.ols;*.png;*.oli;*.olc;*.pal;*.gpl;*.ora\nOllan Projects|*.olp\n"
    "Ollan Settings|*.ols\nOpenRaster|*.ora\nJpeg Images|*.jpg;*.jpeg\nPng Images|*.png\nbrush images|*.oli\n"
    "color swatches|*.olc\nriff pallet|*.pal\nGIMP palette|*.gpl\nAll files (*)|*";
