#include "platform/live/gtk_dialogs.h"

#include <gtk/gtk.h>

#include <cstdio>

#include "platform/file_filters.h"

namespace platform {

namespace {

bool gtk_ready() {
  static const bool ready = gtk_init_check(nullptr, nullptr);
  if (!ready) std::fprintf(stderr, "ollan: GTK cannot open a window: no file dialog\n");
  return ready;
}

// Lets GTK finish closing the dialog: the window disappears before the
// program goes on with long work such as saving.
void settle() {
  while (gtk_events_pending()) gtk_main_iteration();
}

void add_filters(GtkFileChooser* chooser, const std::string& filters) {
  for (GtkFileFilter* f : gtk_filters(filters)) gtk_file_chooser_add_filter(chooser, f);
}

std::optional<std::string> run(GtkWidget* dialog) {
  std::optional<std::string> chosen;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    if (gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog))) {
      chosen = name;
      g_free(name);
    }
  }
  gtk_widget_destroy(dialog);
  settle();
  return chosen;
}

}  // namespace

std::vector<GtkFileFilter*> gtk_filters(const std::string& filters) {
  std::vector<GtkFileFilter*> out;
  for (const FileFilter& entry : file_filters(filters)) {
    GtkFileFilter* f = gtk_file_filter_new();
    gtk_file_filter_set_name(f, entry.name.c_str());
    for (const std::string& p : entry.patterns) gtk_file_filter_add_pattern(f, p.c_str());
    out.push_back(f);
  }
  return out;
}

std::optional<std::string> gtk_open_file(const std::string& title, const std::string& filters) {
  if (!gtk_ready()) return std::nullopt;
  GtkWidget* dialog = gtk_file_chooser_dialog_new(title.c_str(), nullptr, GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
                                                  GTK_RESPONSE_CANCEL, "_Open", GTK_RESPONSE_ACCEPT, nullptr);
  add_filters(GTK_FILE_CHOOSER(dialog), filters);
  return run(dialog);
}

std::optional<std::string> gtk_save_file(const std::string& title, const std::string& filters,
                                         const std::string& suggested) {
  if (!gtk_ready()) return std::nullopt;
  GtkWidget* dialog = gtk_file_chooser_dialog_new(title.c_str(), nullptr, GTK_FILE_CHOOSER_ACTION_SAVE, "_Cancel",
                                                  GTK_RESPONSE_CANCEL, "_Save", GTK_RESPONSE_ACCEPT, nullptr);
  // The program asks its own "File Replacement" question afterwards.
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  add_filters(chooser, filters);
  if (!suggested.empty()) {
    gchar* folder = g_path_get_dirname(suggested.c_str());
    gchar* base = g_path_get_basename(suggested.c_str());
    if (g_path_is_absolute(suggested.c_str())) gtk_file_chooser_set_current_folder(chooser, folder);
    gtk_file_chooser_set_current_name(chooser, base);
    g_free(folder);
    g_free(base);
  }
  return run(dialog);
}

std::optional<Answer> gtk_confirm(const std::string& caption, const std::string& text, bool yes_no_cancel) {
  if (!gtk_ready()) return std::nullopt;
  GtkWidget* dialog =
      gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE, "%s", text.c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
  if (yes_no_cancel) {
    gtk_dialog_add_buttons(GTK_DIALOG(dialog), "_Yes", GTK_RESPONSE_YES, "_No", GTK_RESPONSE_NO, "_Cancel",
                           GTK_RESPONSE_CANCEL, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_YES);
  } else {
    gtk_dialog_add_buttons(GTK_DIALOG(dialog), "_OK", GTK_RESPONSE_OK, "_Cancel", GTK_RESPONSE_CANCEL, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  }
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  settle();
  switch (response) {
    case GTK_RESPONSE_OK: return Answer::ok;
    case GTK_RESPONSE_YES: return Answer::yes;
    case GTK_RESPONSE_NO: return Answer::no;
    default: return Answer::cancel;
  }
}

}  // namespace platform
