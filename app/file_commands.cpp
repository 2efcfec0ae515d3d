#include "app/file_commands.h"

#include <filesystem>
#include <vector>

#include "app/app_state.h"
#include "document/frame_settings.h"
#include "document/image_export.h"
#include "document/image_import.h"
#include "document/ora_file.h"
#include "document/palette_export.h"
#include "document/palette_import.h"
#include "document/project.h"
#include "document/small_files.h"
#include "gpu/geometry.h"
#include "io/file_kind.h"

using io::FileKind;

FileCommandState file_commands;

namespace {

// The window's title names the painting's file from now on, also after the
// questions that show their caption there for a moment.
void set_file_title(FileCommandContext& ctx, const std::string& name) {
  app.title = ctx.base_title + "   " + name;
  ctx.window.set_title(app.title);
}

// Whether a file of this kind holds the painting (or a picture of it). The
// others hold settings, brushes or colours: loading or saving one leaves the
// name S saves the painting under as it was.
bool holds_painting(FileKind kind) {
  return kind == FileKind::olp || kind == FileKind::ora || kind == FileKind::png || kind == FileKind::jpg;
}

// The files a save under `name` writes: the colour/height pair for the
// Ctrl+Shift PNG export, else the name itself.
std::vector<std::string> written_files(const std::string& name, unsigned char modifier_keys) {
  if (io::file_kind(name) == FileKind::png && document::png_export_for(modifier_keys) == document::PngExport::col_mat)
    return {document::png_pair_name(name, "_col.png"), document::png_pair_name(name, "_mat.png")};
  return {name};
}

// "File Replacement" before `files` are overwritten; true when the save goes
// on. A file that was loaded only in part says so, since the painting now
// holds less than the file.
bool confirm_replacement(FileCommandContext& ctx, const std::vector<std::string>& files) {
  std::string text = "Overwrite ";
  for (std::size_t i = 0; i < files.size(); ++i) text += (i ? " and " : "") + files[i];
  text += "?";
  const FileCommandState& f = file_commands;
  if (files.size() == 1 && files[0] == f.current_name && !f.loaded_in_part.empty())
    text = files[0] + " was loaded only in part (" + f.loaded_in_part +
           "): the painting holds less than the file. Overwrite it with the painting?";
  ctx.window.set_title("File Replacement");
  const platform::Answer a = ctx.dialogs.confirm("File Replacement", text);
  ctx.window.set_title(app.title);
  return a == platform::Answer::ok || a == platform::Answer::yes;
}

// Those of `files` that exist.
std::vector<std::string> existing(const std::vector<std::string>& files) {
  std::vector<std::string> out;
  for (const std::string& f : files) {
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(f, ignored))) out.push_back(f);
  }
  return out;
}

void screen_size(FileCommandContext& ctx, int* w, int* h) {
  ctx.window.client_size(w, h);
  if (*w <= 0 || *h <= 0) *w = gpu::geometry.width, *h = gpu::geometry.height;
}

void show_progress(FileCommandContext& ctx, std::string_view caption, float done) {
  ctx.progress.show(caption, done);
}

void show_failure(FileCommandContext& ctx, std::string_view caption, std::string_view reason) {
  ctx.progress.show_failure(caption, reason);
}

FileOutcome failed(FileCommandContext& ctx, const char* caption, std::string error) {
  show_failure(ctx, caption, error);
  FileOutcome o;
  o.result = FileResult::failed;
  o.error = std::move(error);
  return o;
}

FileOutcome done(bool canvas_changed = false) {
  FileOutcome o;
  o.result = FileResult::done;
  o.canvas_changed = canvas_changed;
  return o;
}

// The settings, brush-image and swatch files.
FileOutcome save_small_file(FileCommandContext& ctx, FileKind kind, const std::string& name) {
  const char* caption = kind == FileKind::ols   ? "Saving settings..."
                        : kind == FileKind::oli ? "Saving brush images..."
                                                : "Saving color swatches...";
  show_progress(ctx, caption, 0);
  Result<void> r =
      kind == FileKind::ols ? document::save_settings(name)
      : kind == FileKind::olc
          ? document::save_swatches(name)
          : document::save_brush_images(name, [&](float f) { show_progress(ctx, "Saving brush images...", f); });
  if (!r) return failed(ctx, caption, name + ": " + r.error().message);
  return done();
}

FileOutcome load_small_file(FileCommandContext& ctx, FileKind kind, const std::string& name) {
  const char* caption = kind == FileKind::ols   ? "Loading settings..."
                        : kind == FileKind::oli ? "Loading brush images..."
                                                : "Loading color swatches...";
  show_progress(ctx, caption, 0);
  if (kind == FileKind::oli) {
    Result<std::string> note = document::load_brush_images(name);
    if (!note) return failed(ctx, caption, name + ": " + note.error().message);
    if (!note->empty()) show_failure(ctx, caption, *note);
    return done();
  }
  Result<void> r = kind == FileKind::ols ? document::load_settings(name) : document::load_swatches(name);
  if (!r) return failed(ctx, caption, name + ": " + r.error().message);
  return done();
}

FileOutcome save_as(FileCommandContext& ctx, const std::string& name, unsigned char modifiers) {
  const FileKind kind = io::file_kind(name);
  if (kind == FileKind::png) {
    show_progress(ctx, "Saving png(16bit)...", 0);
    Result<void> r = document::export_png(name, document::png_export_for(modifiers));
    if (!r) return failed(ctx, "Saving png(16bit)...", r.error().message);
    return done();
  }
  if (kind == FileKind::jpg) {
    show_progress(ctx, "Saving Jpeg...", 0);
    if (Result<void> r = document::export_jpeg(name); !r) return failed(ctx, "Saving Jpeg...", r.error().message);
    return done();
  }
  if (kind == FileKind::olp) {
    show_progress(ctx, "Saving project...", 0);
    Result<void> r =
        document::save_project(name, [&](const char* caption, float f) { show_progress(ctx, caption, f); });
    if (!r) return failed(ctx, "Saving project...", r.error().message);
    set_file_title(ctx, name);
    return done();
  }
  if (kind == FileKind::ora) {
    show_progress(ctx, "Saving OpenRaster...", 0);
    if (Result<void> r = document::save_ora(name); !r) return failed(ctx, "Saving OpenRaster...", r.error().message);
    set_file_title(ctx, name);
    return done();
  }
  if (kind == FileKind::gpl) {
    if (Result<void> r = document::export_palette(name); !r) return failed(ctx, "Saving palette...", r.error().message);
    return done();
  }
  if (kind == FileKind::ols || kind == FileKind::olc || kind == FileKind::oli) return save_small_file(ctx, kind, name);
  return failed(ctx, "Saving...", name + ": the name does not say which kind of file to write");
}

FileOutcome import(FileCommandContext& ctx, const std::string& name) {
  Result<io::Pixmap> picture = document::load_picture(name);
  if (!picture) return failed(ctx, "Loading picture...", picture.error().message);
  const platform::Answer a =
      ctx.dialogs.confirm("Change Resolution...",
                          "Change the canvas to the picture's size, " + std::to_string(picture->width) + " x " +
                              std::to_string(picture->height) + "?",
                          platform::BoxButtons::yes_no_cancel);
  if (a == platform::Answer::cancel) return {};
  const bool resize = a == platform::Answer::yes || a == platform::Answer::ok;
  int w = 0, h = 0;
  screen_size(ctx, &w, &h);
  if (Result<void> r = document::import_picture(*picture, resize, w, h); !r)
    return failed(ctx, "Loading picture...", r.error().message);
  set_file_title(ctx, name);
  return done(resize);
}

FileOutcome load_as(FileCommandContext& ctx, const std::string& name) {
  const FileKind kind = io::file_kind(name);
  if (kind == FileKind::pal || kind == FileKind::gpl) {
    if (Result<void> r = document::import_palette(name); !r)
      return failed(ctx, "Loading...", name + ": " + r.error().message);
    return done();
  }
  if (kind == FileKind::png || kind == FileKind::jpg) return import(ctx, name);
  if (kind == FileKind::olp) {
    int w = 0, h = 0;
    screen_size(ctx, &w, &h);
    show_progress(ctx, "Loading project...", 0);
    Result<std::string> note =
        document::load_project(name, w, h, [&](const char* caption, float f) { show_progress(ctx, caption, f); });
    if (!note) return failed(ctx, "Loading project...", note.error().message);
    set_file_title(ctx, name);
    FileOutcome o = done(true);
    if (!note->empty()) {
      show_failure(ctx, "Loading project...", name + ": " + *note);
      o.loaded_in_part = *note;
    }
    return o;
  }
  if (kind == FileKind::ora) {
    int w = 0, h = 0;
    screen_size(ctx, &w, &h);
    show_progress(ctx, "Loading OpenRaster...", 0);
    if (Result<void> r = document::load_ora(name, w, h); !r)
      return failed(ctx, "Loading OpenRaster...", r.error().message);
    set_file_title(ctx, name);
    return done(true);
  }
  if (kind == FileKind::ols || kind == FileKind::olc || kind == FileKind::oli) return load_small_file(ctx, kind, name);
  return failed(ctx, "Loading...", name + ": the name does not say which kind of file it is");
}

}  // namespace

FileOutcome save_command(FileCommandContext& ctx, unsigned char modifier_keys, bool from_menu, bool replace_allowed) {
  const bool png_modes = modifier_keys == 2 || modifier_keys == 3;
  // The current name changes only once the file is written.
  std::string name = file_commands.current_name;
  if (name.empty() || modifier_keys != 0 || from_menu) {
    std::optional<std::string> chosen =
        ctx.dialogs.save_file(save_dialog_title, png_modes ? png_dialog_filters : save_dialog_filters, name);
    ctx.input.flush_keys();
    if (!chosen || chosen->empty()) return {};
    name = *chosen;
    // The dialog itself does not ask before a file is replaced: this does, once.
    const std::vector<std::string> replaced = existing(written_files(name, modifier_keys));
    if (!replace_allowed && !replaced.empty() && !confirm_replacement(ctx, replaced)) return {};
  } else if (!confirm_replacement(ctx, {name})) {
    return {};
  }
  frame_settings.save_request = 0;
  FileOutcome o = save_as(ctx, name, modifier_keys);
  if (o.result == FileResult::done && holds_painting(io::file_kind(name))) {
    file_commands.current_name = name;
    file_commands.loaded_in_part.clear();
  }
  return o;
}

FileOutcome load_command(FileCommandContext& ctx, const std::optional<std::string>& given) {
  std::string name;
  if (given) {
    name = *given;
  } else {
    std::optional<std::string> chosen = ctx.dialogs.open_file(open_dialog_title, open_dialog_filters);
    ctx.input.flush_keys();
    if (!chosen || chosen->empty()) return {};
    name = *chosen;
  }
  if (name.empty()) return {};
  // A file that could not be read must not become the name S overwrites.
  FileOutcome o = load_as(ctx, name);
  if (o.result == FileResult::done && holds_painting(io::file_kind(name))) {
    file_commands.current_name = name;
    file_commands.loaded_in_part = o.loaded_in_part;
  }
  return o;
}

FileOutcome serve_load_request(FileCommandContext& ctx, bool key) {
  if (!key && !frame_settings.load_request) return {};
  frame_settings.load_request = 0;
  FileOutcome o = load_command(ctx, std::nullopt);
  ctx.input.flush_keys();
  return o;
}

FileOutcome serve_save_request(FileCommandContext& ctx, bool key, unsigned char modifier_keys) {
  const bool menu = frame_settings.save_request != 0;
  if (!key && !menu) return {};
  FileOutcome o = save_command(ctx, modifier_keys, menu);
  frame_settings.save_request = 0;
  ctx.input.flush_keys();
  return o;
}
